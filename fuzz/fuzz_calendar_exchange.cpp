// The iCalendar import (EXCHANGE_KIND 0) or the vCard 3.0/4.0 import
// (EXCHANGE_KIND 1) from memory, followed by writing what was read in the same
// format and reading that again, as export and re-import do.

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>

#include <cstddef>
#include <cstdint>

#include "editor/document/ICalendarReader.h"
#include "editor/document/ICalendarWriter.h"
#include "editor/document/ImportTextFile.h"
#include "editor/document/VCard3Reader.h"
#include "editor/document/VCardWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace skedlin;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (EXCHANGE_KIND == 0) {
        ICalendarReader reader(QStringLiteral("Events"));
        if (!reader.read(bytes)) return 0;
        if (!reader.expand({QDate(2020, 1, 1), QDate(2021, 12, 31)})) return 0;
        const QByteArray written = writeICalendar(reader.events(), QStringLiteral("Fuzz"), QStringLiteral("fuzz"),
                                                  QDateTime(QDate(2024, 1, 1), QTime(0, 0), Qt::UTC));
        ICalendarReader again(QStringLiteral("Events"));
        if (again.read(written)) static_cast<void>(again.expand({QDate(2020, 1, 1), QDate(2021, 12, 31)}));
        return 0;
    }
    const ImportTextFile text = parseImportText(bytes);
    if (!text.result) return 0;
    const QList<ContactEntry> contacts = readVCardFile(text.lines);
    const ImportTextFile written = parseImportText(writeVCards(contacts));
    readVCardFile(written.lines);
    return 0;
}
