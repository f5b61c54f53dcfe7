#include "editor/document/BuilderErrorFile.h"

#include <QFile>

#include <cstdint>
#include <vector>

#include "formats/RegularFile.h"

namespace skedlin {

namespace {

// The builder writes one message; anything this large is not its error file.
constexpr std::uint64_t kMaxErrorFileBytes = 16u * 1024u * 1024u;

}  // namespace

QByteArray readErrorFileBytes(const QString& path) {
    std::vector<std::uint8_t> contents;
    if (!readRegularFile(QFile::encodeName(path).toStdString(), kMaxErrorFileBytes, contents)) return QByteArray();
    QByteArray bytes(reinterpret_cast<const char*>(contents.data()), static_cast<qsizetype>(contents.size()));
    const qsizetype zero = bytes.indexOf('\0');
    if (zero >= 0) bytes.truncate(zero);
    return bytes;
}

}  // namespace skedlin
