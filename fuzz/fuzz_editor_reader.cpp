// The editor's package reader, into a fresh document.

#include <QString>

#include <cstddef>
#include <cstdint>

#include "FuzzTempFile.h"
#include "editor/document/CSkedlinDoc.h"
#include "editor/document/PackageReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString path = QString::fromStdString(skedlin::fuzz::writeInput(data, size, "package.xml"));
    skedlin::CSkedlinDoc document;
    document.setPathName(path);
    skedlin::readPackage(path, document);
    return 0;
}
