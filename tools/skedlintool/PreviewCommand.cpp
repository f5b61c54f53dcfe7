#include "tools/skedlintool/PreviewCommand.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <vector>

#include "editor/document/BuildCommand.h"
#include "editor/document/ProgramDirectory.h"
#include "editor/preview/PreviewSession.h"
#include "editor/preview/ScreenTour.h"

namespace skedlin {

const char* const kPreviewUsage =
    "  preview INPUT [--screen SCREEN] [--density 1|2] (--out FILE.png | --out-dir DIR)\n"
    "        [--tap X,Y]... [--key up|down]... [--texts FILE]\n"
    "                        Draw screens of a package as the Palm OS viewer shows\n"
    "                        them, at 160 x 160 (density 1, the default) or 320 x 320\n"
    "                        pixels. INPUT is a built .prc, or a package .xml that is\n"
    "                        first built with SkedlinBuilder (a temporary .prc). SCREEN:\n"
    "                        welcome (default), groups[:P], group:N[:events|:contacts][:P],\n"
    "                        events[:P], contacts[:P], event:ID, contact:ID (N counts\n"
    "                        groups from 1, P pages from 1, ID is the record's resource\n"
    "                        id). --out writes that screen; --out-dir writes every\n"
    "                        screen of the package. --tap (at X,Y of the 160 x 160\n"
    "                        screen, as the pen taps) and --key (page up or down) act\n"
    "                        on the screen, in the order given, before --out draws it.\n"
    "                        --texts also lists the title and each text drawn\n"
    "                        (x y font text). Exit status 0; 1 when a file cannot be\n"
    "                        written; 65 when INPUT is not a calendar package; 66 when\n"
    "                        the package is damaged; 67 when it has no such screen;\n"
    "                        the builder's status when an .xml cannot be built.\n";

namespace {

using preview::DrawnText;
using preview::PreviewPackage;
using preview::PreviewSession;

void printLine(FILE* stream, const QString& text) { std::fprintf(stream, "%s\n", text.toLocal8Bit().constData()); }

int fail(int status, const QString& message) {
    printLine(stderr, QStringLiteral("SkedlinTool preview: ") + message);
    return status;
}

struct PreviewOptions {
    QString input;
    QString screen = QStringLiteral("welcome");
    bool screenGiven = false;
    int density = 1;
    QString out;
    QString outDir;
    QString texts;
    struct Action {
        bool isTap;
        int x, y, key;
    };
    std::vector<Action> actions;
};

bool parseOptions(QStringList args, PreviewOptions& options, QString& problem) {
    while (!args.isEmpty()) {
        const QString word = args.takeFirst();
        auto value = [&](QString& target) {
            if (args.isEmpty()) {
                problem = QStringLiteral("%1 needs a value").arg(word);
                return false;
            }
            target = args.takeFirst();
            return true;
        };
        if (word == QLatin1String("--screen")) {
            if (!value(options.screen)) return false;
            options.screenGiven = true;
        } else if (word == QLatin1String("--density")) {
            QString density;
            if (!value(density)) return false;
            if (density != QLatin1String("1") && density != QLatin1String("2")) {
                problem = QStringLiteral("--density is 1 or 2");
                return false;
            }
            options.density = density.toInt();
        } else if (word == QLatin1String("--out")) {
            if (!value(options.out)) return false;
        } else if (word == QLatin1String("--out-dir")) {
            if (!value(options.outDir)) return false;
        } else if (word == QLatin1String("--tap")) {
            QString point;
            if (!value(point)) return false;
            const QStringList xy = point.split(QLatin1Char(','));
            bool xOk = false, yOk = false;
            const int x = xy.value(0).toInt(&xOk), y = xy.value(1).toInt(&yOk);
            if (xy.size() != 2 || !xOk || !yOk || x < 0 || y < 0 || x >= 160 || y >= 160) {
                problem = QStringLiteral("--tap takes X,Y within the 160 x 160 screen");
                return false;
            }
            options.actions.push_back({true, x, y, 0});
        } else if (word == QLatin1String("--key")) {
            QString key;
            if (!value(key)) return false;
            if (key != QLatin1String("up") && key != QLatin1String("down")) {
                problem = QStringLiteral("--key is up or down");
                return false;
            }
            options.actions.push_back({false, 0, 0, key == QLatin1String("up") ? SKV_KEY_PAGE_UP : SKV_KEY_PAGE_DOWN});
        } else if (word == QLatin1String("--texts")) {
            if (!value(options.texts)) return false;
        } else if (word.startsWith(QLatin1String("--"))) {
            problem = QStringLiteral("unknown option \"%1\"").arg(word);
            return false;
        } else if (options.input.isEmpty()) {
            options.input = word;
        } else {
            problem = QStringLiteral("preview takes one INPUT");
            return false;
        }
    }
    if (options.input.isEmpty())
        problem = QStringLiteral("preview needs an INPUT (.prc or .xml)");
    else if (options.out.isEmpty() == options.outDir.isEmpty())
        problem = QStringLiteral("preview needs either --out FILE.png or --out-dir DIR");
    else if (!options.outDir.isEmpty() && (options.screenGiven || !options.actions.empty()))
        problem = QStringLiteral("--screen, --tap and --key go with --out, not with --out-dir");
    return problem.isEmpty();
}

// Writes a file whole or not at all.
bool writeFile(const QString& path, const QByteArray& bytes, QString& problem) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        problem = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

// The picture as PNG bytes. A screen of black and white only (most of them:
// colour comes with the logo) is stored with one bit per pixel, which keeps
// the files small and quick to compress.
QByteArray pngBytes(const QImage& image) {
    QImage mono(image.size(), QImage::Format_Mono);
    mono.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    bool blackAndWhite = true;
    const int width = image.width(), height = image.height();
    for (int y = 0; y < height && blackAndWhite; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        uchar* bits = mono.scanLine(y);
        std::memset(bits, 0, static_cast<std::size_t>(mono.bytesPerLine()));
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = line[x] & 0xFFFFFF;
            if (pixel == 0)
                bits[x >> 3] |= static_cast<uchar>(0x80 >> (x & 7));
            else if (pixel != 0xFFFFFF)
                blackAndWhite = false;
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    (blackAndWhite ? mono : image).save(&buffer, "PNG");
    return bytes;
}

bool writePng(const QString& path, const QImage& image, QString& problem) {
    return writeFile(path, pngBytes(image), problem);
}

// One of many new files in a folder of its own: written in place (a file that
// cannot be written whole is removed), which spares a rename per screen.
bool writeNewFile(const QString& path, const QByteArray& bytes, QString& problem) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() || !file.flush()) {
        problem = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        file.close();
        file.remove();
        return false;
    }
    file.close();
    return true;
}

// Bytes outside printable ASCII as <XX>.
QByteArray escaped(const QByteArray& text) {
    QByteArray out;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F)
            out += c;
        else
            out += '<' + QByteArray::number(byte, 16).toUpper().rightJustified(2, '0') + '>';
    }
    return out;
}

// "title TEXT" when the screen has a title, then one line per text: x, y, font, text.
void appendTexts(QByteArray& out, const PreviewSession& session, const std::vector<DrawnText>& texts) {
    std::uint16_t count = 0;
    const skv_item* items = session.display(&count);
    for (std::uint16_t i = 0; i < count; ++i)
        if (items[i].kind == SKV_ITEM_TITLE)
            out += "title " + escaped(QByteArray(items[i].text, items[i].length)) + '\n';
    for (const DrawnText& text : texts)
        out += QByteArray::number(text.x) + ' ' + QByteArray::number(text.y) + ' ' + QByteArray::number(text.font) +
               ' ' + escaped(text.text) + '\n';
}

// Builds a package .xml into `folder` with the builder beside this program.
// Returns the .prc path, or an empty string after printing the builder's message.
QString buildPackage(const QString& xml, const QString& folder, int& status) {
    const QString base = folder + QStringLiteral("/preview");
    const BuildPlan plan =
        planPalmBuild(programDirectory(), QFileInfo(xml).absoluteFilePath(), base, base + QStringLiteral(".err"));
    const BuildOutcome outcome = runBuild(plan);
    if (outcome.succeeded() && QFileInfo::exists(plan.palmFile)) return plan.palmFile;
    printLine(stderr, QStringLiteral("SkedlinTool preview: %1 cannot be built:").arg(xml));
    if (!outcome.result.message().isEmpty()) printLine(stderr, outcome.result.message());
    if (!outcome.details.isEmpty()) printLine(stderr, outcome.details);
    status = outcome.result.code() <= 0 ? 255 : outcome.result.code();
    return QString();
}

int previewOneScreen(PreviewSession& session, const PreviewOptions& options) {
    QString problem;
    if (!session.goTo(options.screen, &problem))
        return fail(session.ok() ? kPreviewExitNoScreen : kPreviewExitDamaged, problem);
    for (const PreviewOptions::Action& action : options.actions) {
        if (action.isTap)
            session.tap(action.x * session.density(), action.y * session.density());
        else
            session.key(action.key);
    }
    if (!session.ok()) return fail(kPreviewExitDamaged, session.errorText());
    std::vector<DrawnText> texts;
    const QImage image = session.render(&texts);
    if (!writePng(options.out, image, problem)) return fail(kPreviewExitOutput, problem);
    if (!options.texts.isEmpty()) {
        QByteArray lines;
        appendTexts(lines, session, texts);
        if (!writeFile(options.texts, lines, problem)) return fail(kPreviewExitOutput, problem);
    }
    return 0;
}

int previewEveryScreen(PreviewSession& session, const PreviewOptions& options) {
    QString problem;
    if (!QDir().mkpath(options.outDir))
        return fail(kPreviewExitOutput, QStringLiteral("cannot create the folder %1").arg(options.outDir));
    QByteArray lines;
    int written = 0;
    const bool toured = preview::tourPackage(
        session,
        [&](const preview::TourStop& stop) {
            std::vector<DrawnText> texts;
            const QImage image = session.render(options.texts.isEmpty() ? nullptr : &texts);
            if (!writeNewFile(QDir(options.outDir).filePath(stop.name + QStringLiteral(".png")), pngBytes(image),
                              problem))
                return false;
            if (!options.texts.isEmpty()) {
                lines += "# " + stop.name.toUtf8() + '\n';
                appendTexts(lines, session, texts);
            }
            ++written;
            return true;
        },
        &problem);
    if (!problem.isEmpty() && toured) return fail(kPreviewExitOutput, problem);
    if (!toured) return fail(kPreviewExitDamaged, problem);
    if (!options.texts.isEmpty() && !writeFile(options.texts, lines, problem)) return fail(kPreviewExitOutput, problem);
    printLine(stdout, QStringLiteral("%1 screens written to %2").arg(written).arg(options.outDir));
    return 0;
}

}  // namespace

int commandPreview(const QStringList& args) {
    PreviewOptions options;
    QString problem;
    if (!parseOptions(args, options, problem)) {
        printLine(stderr, QStringLiteral("SkedlinTool preview: ") + problem);
        std::fputs(kPreviewUsage, stderr);
        return kPreviewExitUsage;
    }
    if (!QFileInfo(options.input).isFile())
        return fail(kPreviewExitNotPackage, QStringLiteral("%1: no such file").arg(options.input));

    // A package .xml is built first, into a folder removed afterwards.
    QTemporaryDir buildFolder;
    QString prc = options.input;
    if (options.input.endsWith(QLatin1String(".xml"), Qt::CaseInsensitive)) {
        if (!buildFolder.isValid())
            return fail(kPreviewExitOutput, QStringLiteral("cannot create a temporary folder for the build"));
        int status = 0;
        prc = buildPackage(options.input, buildFolder.path(), status);
        if (prc.isEmpty()) return status;
    }

    const auto package = PreviewPackage::fromFile(prc, &problem);
    if (!package) return fail(kPreviewExitNotPackage, QStringLiteral("%1: %2").arg(options.input, problem));
    PreviewSession session(package, options.density);
    if (!session.ok()) {
        const bool notPackage = session.errorText().startsWith(QLatin1String("The file is not"));
        return fail(notPackage ? kPreviewExitNotPackage : kPreviewExitDamaged,
                    QStringLiteral("%1: %2").arg(options.input, session.errorText()));
    }
    return options.out.isEmpty() ? previewEveryScreen(session, options) : previewOneScreen(session, options);
}

}  // namespace skedlin
