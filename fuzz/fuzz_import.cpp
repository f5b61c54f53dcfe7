// One importer, chosen by the kind this harness is built with (IMPORT_KIND:
// 0 Date Book Archive, 1 vCalendar, 2 vCard, 3 CSV), reading from memory the
// way the import by path reads a file.

#include <QByteArray>
#include <QLocale>
#include <QString>

#include <cstddef>
#include <cstdint>

#include "editor/document/CsvReader.h"
#include "editor/document/DateBookArchiveReader.h"
#include "editor/document/ImportTextFile.h"
#include "editor/document/VCalendarReader.h"
#include "editor/document/VCardReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace skedlin;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (IMPORT_KIND == 0) {
        DateBookArchiveReader reader(QStringLiteral("Events"));
        static_cast<void>(reader.readBytes(bytes));
        return 0;
    }
    const ImportTextFile text = parseImportText(bytes);
    if (!text.result) return 0;
    if (IMPORT_KIND == 1) {
        VCalendarReader reader(QStringLiteral("Events"));
        static_cast<void>(reader.read(text.lines));
    } else if (IMPORT_KIND == 2) {
        VCardReader reader;
        reader.read(text.lines);
    } else {
        static const QLocale locale(QLocale::English, QLocale::UnitedStates);
        CsvReader reader(QStringLiteral("Events"), locale);
        static_cast<void>(reader.read(text.lines));
    }
    return 0;
}
