#include "editor/document/ImportTextFile.h"

#include "formats/RegularFile.h"

#include <QFile>
#include <QStringDecoder>

#include <string>

#include "editor/document/ImportMessages.h"
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
    const QString text = decodeImportText(bytes);
    const qsizetype lineCount = text.count(u'\n') + (text.isEmpty() || text.endsWith(u'\n') ? 0 : 1);
    if (lineCount > kMaxImportLines) {
        result.result = ImportFileResult(ImportFileError::TooManyLines,
                                         QString::fromLatin1(messages::kImportTooManyLines).arg(kMaxImportLines));
        return result;
    }
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0) end = text.size();
        qsizetype lineEnd = end;
        if (lineEnd > start && text[lineEnd - 1] == u'\r') --lineEnd;
        if (lineEnd - start > kMaxImportLineLength) {
            const qsizetype lineNumber = result.lines.size() + 1;
            result.result = ImportFileResult(
                ImportFileError::LineTooLong,
                QString::fromLatin1(messages::kImportLineTooLong).arg(lineNumber).arg(kMaxImportLineLength));
            result.lines.clear();
            return result;
        }
        result.lines.append(text.mid(start, lineEnd - start));
        start = end + 1;
    }
    return result;
}

ImportFileResult readImportBytes(const QString& path, QByteArray& bytes) {
    bytes.clear();
    std::string contents;
    FileReadFacts facts;
    const Result<FileReadError> read =
        readRegularFile(QFile::encodeName(path).toStdString(), kMaxImportFileBytes, contents, &facts);
    if (read.code() == FileReadError::TooLarge) {
        return ImportFileResult(ImportFileError::TooLarge, QString::fromLatin1(messages::kImportFileTooLarge)
                                                               .arg(static_cast<qint64>(facts.size))
                                                               .arg(kMaxImportFileBytes));
    }
    if (!read) return ImportFileResult(ImportFileError::CannotOpen, QString::fromLatin1(messages::kImportOpenFailed));
    bytes = QByteArray::fromStdString(contents);
    return ImportFileResult::success();
}

ImportTextFile readImportTextFile(const QString& path) {
    QByteArray bytes;
    ImportTextFile result;
    result.result = readImportBytes(path, bytes);
    if (!result.result) return result;
    return parseImportText(bytes);
}

}  // namespace skedlin
