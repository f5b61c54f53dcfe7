#pragma once
// Reading an import file: its bytes, bounded, and then its text, decoded and
// split into lines.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "formats/Result.h"

namespace skedlin {

// Files larger than this are refused before they are read.
inline constexpr qint64 kMaxImportFileBytes = 64 * 1024 * 1024;
// A longer line is refused: no calendar or contact property needs it.
inline constexpr int kMaxImportLineLength = 4 * 1024 * 1024;
// A file with more lines is refused: each line is held as its own string, so a
// file of nothing but line ends would otherwise take some 24 bytes of memory
// per byte. Far more than an export of every event a package can hold needs.
inline constexpr int kMaxImportLines = 2 * 1000 * 1000;

// Why an import file was refused; the message is the text the user reads.
enum class ImportFileError { None, CannotOpen, TooLarge, LineTooLong, TooManyLines };
using ImportFileResult = Result<ImportFileError, QString>;

struct ImportTextFile {
    ImportFileResult result;
    QStringList lines;  // without their line ends ("\r\n" or "\n"); empty when refused
};

// The whole file into bytes: a regular file of at most kMaxImportFileBytes.
// Fails with CannotOpen or TooLarge.
ImportFileResult readImportBytes(const QString& path, QByteArray& bytes);
// Text that is valid UTF-8 is read as UTF-8 (a leading byte-order mark is
// dropped); any other text as Windows-1252, so no byte is ever lost. Fails
// with LineTooLong or TooManyLines.
ImportTextFile parseImportText(const QByteArray& bytes);
// Both of the above.
ImportTextFile readImportTextFile(const QString& path);
QString decodeImportText(const QByteArray& bytes);

}  // namespace skedlin
