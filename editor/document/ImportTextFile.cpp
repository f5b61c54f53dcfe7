#include "editor/document/ImportTextFile.h"

#include "formats/RegularFile.h"

#include <QFile>
#include <QStringDecoder>

#include <string>

#include "model/Windows1252.h"

namespace skedlin {

QString decodeImportText(const QByteArray& bytes) {
    QByteArray text = bytes;
    if (text.startsWith("\xEF\xBB\xBF")) text.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = utf8.decode(text);
    if (!utf8.hasError()) return decoded;
    const std::string converted = windows1252ToUtf8(std::string_view(text.constData(), text.size()));
    return QString::fromStdString(converted);
}

ImportTextFile parseImportText(const QByteArray& bytes) {
    ImportTextFile result;
    result.size = bytes.size();
    const QString text = decodeImportText(bytes);
    const qsizetype lineCount = text.count(u'\n') + (text.isEmpty() || text.endsWith(u'\n') ? 0 : 1);
    if (lineCount > kMaxImportLines) {
        result.status = ImportTextFile::Status::TooManyLines;
        return result;
    }
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0) end = text.size();
        qsizetype lineEnd = end;
        if (lineEnd > start && text[lineEnd - 1] == u'\r') --lineEnd;
        if (lineEnd - start > kMaxImportLineLength) {
            result.status = ImportTextFile::Status::LineTooLong;
            result.longLine = static_cast<int>(result.lines.size()) + 1;
            result.lines.clear();
            return result;
        }
        result.lines.append(text.mid(start, lineEnd - start));
        start = end + 1;
    }
    return result;
}

ImportTextFile readImportTextFile(const QString& path) {
    ImportTextFile result;
    std::string bytes;
    FileReadFacts facts;
    const skedlin::Result<FileReadError> read =
        readRegularFile(QFile::encodeName(path).toStdString(), kMaxImportFileBytes, bytes, &facts);
    if (read.code() == FileReadError::TooLarge) {
        result.status = ImportTextFile::Status::TooLarge;
        result.size = static_cast<qint64>(facts.size);
        return result;
    }
    if (!read) {
        result.status = ImportTextFile::Status::CannotOpen;
        return result;
    }
    result = parseImportText(QByteArray::fromStdString(bytes));
    result.size = static_cast<qint64>(bytes.size());
    return result;
}

}  // namespace skedlin
