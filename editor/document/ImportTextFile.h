#pragma once
// Reading an import file as text: the whole file, decoded, split into lines.

#include <QString>
#include <QStringList>

namespace skedlin {

// Files larger than this are refused before they are read.
inline constexpr qint64 kMaxImportFileBytes = 64 * 1024 * 1024;
// A longer line is refused: no calendar or contact property needs it.
inline constexpr int kMaxImportLineLength = 4 * 1024 * 1024;
// A file with more lines is refused: each line is held as its own string, so a
// file of nothing but line ends would otherwise take some 24 bytes of memory
// per byte. Far more than an export of every event a package can hold needs.
inline constexpr int kMaxImportLines = 2 * 1000 * 1000;

struct ImportTextFile {
    enum class Status { Ok, CannotOpen, TooLarge, LineTooLong, TooManyLines };
    Status status = Status::Ok;
    QStringList lines;  // without their line ends ("\r\n" or "\n")
    qint64 size = 0;
    int longLine = 0;  // 1-based number of the first line that was too long
};

// Text that is valid UTF-8 is read as UTF-8 (a leading byte-order mark is
// dropped); any other text as Windows-1252, so no byte is ever lost.
ImportTextFile readImportTextFile(const QString& path);
// The same for bytes already in memory.
ImportTextFile parseImportText(const QByteArray& bytes);
QString decodeImportText(const QByteArray& bytes);

}  // namespace skedlin
