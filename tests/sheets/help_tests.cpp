#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include "sheet_test_support.h"
#include "editor/document/ProgramDirectory.h"
#include "editor/ui/SheetHelp.h"

using namespace skedlin;
using test::MessageLog;

namespace {

// Every help context the windows ask for: the program's own, then the pages
// and dialogs.
const QList<int> kHelpContexts = {1, 130, 131, 132, 133, 134, 135, 136, 137, 142, 143, 146, 148, 150};

const QString kManualFolder = QStringLiteral(SKEDLIN_SOURCE_DIR "/docs/help");

QString readText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

QSet<QString> anchorsOf(const QString& html) {
    QSet<QString> anchors;
    static const QRegularExpression id(QString::fromLatin1("\\bid=\"([^\"]+)\""));
    for (const auto& match : id.globalMatch(html)) anchors.insert(match.captured(1));
    return anchors;
}

}  // namespace

TEST(Help, EveryContextOpensAPageOfTheInstalledManual) {
    const QString savedDirectory = programDirectory();
    setProgramDirectory(QStringLiteral(SKEDLIN_BIN_DIR "/"));
    QSet<QString> pages;
    for (int context : kHelpContexts) {
        const QString path = helpPagePath(context);
        EXPECT_TRUE(QFileInfo(path).isFile()) << context << " " << path.toStdString();
        pages.insert(QFileInfo(path).fileName());
    }
    EXPECT_EQ(pages.size(), kHelpContexts.size()) << "each dialog has a page of its own";
    EXPECT_EQ(QFileInfo(helpPagePath(1)).fileName(), "index.html");
    EXPECT_EQ(QFileInfo(helpPagePath(144)).fileName(), "index.html") << "the Launcher page has no page of its own";
    setProgramDirectory(savedDirectory);
}

TEST(Help, EveryLinkAndPictureOfTheManualResolves) {
    const QStringList files = QDir(kManualFolder).entryList({QStringLiteral("*.html")}, QDir::Files);
    ASSERT_GE(files.size(), 13);
    static const QRegularExpression reference(QString::fromLatin1("\\b(?:href|src)=\"([^\"]+)\""));
    for (const QString& name : files) {
        const QString html = readText(kManualFolder + '/' + name);
        for (const auto& match : reference.globalMatch(html)) {
            const QString target = match.captured(1);
            if (target.startsWith(QLatin1String("http:")) || target.startsWith(QLatin1String("https:"))) {
                ADD_FAILURE() << name.toStdString() << " links outside the manual: " << target.toStdString();
                continue;
            }
            const QString file = target.section('#', 0, 0);
            const QString anchor = target.section('#', 1);
            const QString targetPath = file.isEmpty() ? kManualFolder + '/' + name : kManualFolder + '/' + file;
            ASSERT_TRUE(QFileInfo(targetPath).isFile()) << name.toStdString() << " -> " << target.toStdString();
            if (!anchor.isEmpty()) {
                EXPECT_TRUE(anchorsOf(readText(targetPath)).contains(anchor))
                    << name.toStdString() << " -> " << target.toStdString();
            }
        }
    }
}

TEST(Help, AMissingManualIsReportedInsteadOfIgnored) {
    const QString savedDirectory = programDirectory();
    QTemporaryDir empty;
    setProgramDirectory(empty.path() + '/');
    MessageLog messages;
    openHelpContext(134);
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_EQ(messages.kinds.first(), MessageKind::Exclamation);
    EXPECT_TRUE(messages.last().contains(QDir::toNativeSeparators(empty.path() + "/help/package-groups.html")))
        << messages.last().toStdString();
    setProgramDirectory(savedDirectory);
}
