// The editor's package reader, into a fresh document; a document that reads
// must also survive a save and a second read with the same entries (what the
// editor saves, it must be able to open again).

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz_temp_file.h"
#include "editor/document/CSkedlinDoc.h"
#include "editor/document/PackageReader.h"
#include "editor/document/PackageWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace skedlin;
    const QString path = QString::fromStdString(fuzz::writeInput(data, size, "package.xml"));
    CSkedlinDoc document;
    document.setPathName(path);
    if (!readPackage(path, document)) return 0;

    static const QString kPrefix = QStringLiteral("<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>");
    const QByteArray saved = writePackage(document, kPrefix);
    const QString savedPath = QString::fromStdString(fuzz::writeInput(
        reinterpret_cast<const std::uint8_t*>(saved.constData()), static_cast<std::size_t>(saved.size()), "saved.xml"));
    CSkedlinDoc reread;
    reread.setPathName(savedPath);
    const int code = readPackage(savedPath, reread).code();
    if (code != 0 || reread.events().size() != document.events().size() ||
        reread.contacts().size() != document.contacts().size() || reread.groups().size() != document.groups().size()) {
        std::fprintf(stderr, "saved package does not read back the same (code %d):\n%s\n", code, saved.constData());
        std::abort();
    }
    return 0;
}
