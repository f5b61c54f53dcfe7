#include "editor/ui/SheetHelp.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include "editor/document/ProgramDirectory.h"
#include "editor/ui/DesktopOpener.h"
#include "editor/ui/SheetMessages.h"
#include "editor/ui/UiText.h"

namespace skedlin {

namespace {

struct HelpTopic {
    int context;
    const char* page;  // inside the manual folder "help" beside the program
};

// The manual page of each help context of the sheets and dialogs.
constexpr HelpTopic kHelpTopics[] = {
    {130, "package-name.html"},    {131, "package-title.html"},
    {132, "event-general.html"},   {133, "package-navigation.html"},
    {134, "package-groups.html"},  {135, "contact-general.html"},
    {136, "contact-groups.html"},  {137, "contact-notes.html"},
    {142, "group-details.html"},   {143, "event-note.html"},
    {146, "package-welcome.html"}, {148, "event-repeat.html"},
    {150, "import.html"},
};
constexpr const char* kManualFolder = "help";
constexpr const char* kManualIndex = "index.html";

std::function<void(int)>& handler() {
    static std::function<void(int)> current;
    return current;
}

}  // namespace

void setHelpContextHandler(std::function<void(int)> newHandler) { handler() = std::move(newHandler); }

QString helpPagePath(int context) {
    const char* page = kManualIndex;
    for (const HelpTopic& topic : kHelpTopics)
        if (topic.context == context) page = topic.page;
    return QDir(programDirectory()).filePath(QString::fromLatin1(kManualFolder) + '/' + page);
}

void openHelpContext(int context) {
    if (handler()) {
        handler()(context);
        return;
    }
    const QString path = helpPagePath(context);
    // Without the manual, or without a program to show it, the Help button
    // would otherwise do nothing at all.
    const QString failure = QString::fromUtf8(uitext::kHelpNotOpened);
    if (!QFileInfo(path).isFile()) {
        showExclamation(QApplication::activeWindow(), failure.arg(QDir::toNativeSeparators(path)));
        return;
    }
    openWithDesktop(path, QApplication::activeWindow(), failure);
}

}  // namespace skedlin
