#include "editor/document/PackageImport.h"

#include "editor/document/CSkedlinDoc.h"
#include "editor/document/CsvReader.h"
#include "editor/document/DateBookArchiveReader.h"
#include "editor/document/DocumentMessages.h"
#include "editor/document/ICalendarImport.h"
#include "editor/document/ImportTextFile.h"
#include "editor/document/VCalendarReader.h"
#include "editor/document/VCard3Reader.h"
#include "editor/document/VCardReader.h"

#include <limits>

namespace skedlin {
namespace {

void tell(ImportMessageSink& messages, const QString& text, ImportMessageIcon icon = ImportMessageIcon::None) {
    messages.showImportMessage(text, icon);
}

// Imported events go to the first group unless the file names one.
QString defaultGroupName(const CSkedlinDoc& document) {
    return document.groups().isEmpty() ? QString::fromLatin1(messages::kDefaultGroupName)
                                       : document.groups().front().name;
}

ImportOutcome importDateBookArchive(CSkedlinDoc& document, const QString& path, ImportMessageSink& messages) {
    DateBookArchiveReader reader(defaultGroupName(document));
    if (const DateBookArchiveResult read = reader.read(path); !read) {
        tell(messages, read.message());
        return ImportOutcome::Failed;
    }
    document.addEvents(reader.events());
    document.updateAllViews();
    return ImportOutcome::Imported;
}

// A reader's own reason (when it gives one), then the file type's failure text.
ImportOutcome refuse(ImportMessageSink& messages, const QString& reason, const char* failure) {
    if (!reason.isEmpty()) tell(messages, reason, ImportMessageIcon::Exclamation);
    tell(messages, QString::fromLatin1(failure));
    return ImportOutcome::Failed;
}

// A card carries no id of its own: each imported contact takes the next free
// contact id in turn. Should the ids run out at the largest 32-bit id, the
// contacts past it share that id and the add step finds each an unused one.
QList<ContactEntry> withFreshContactIds(const CSkedlinDoc& document, QList<ContactEntry> contacts) {
    std::int32_t next = document.nextFreeContactId();
    for (ContactEntry& contact : contacts) {
        contact.id = next;
        if (next < std::numeric_limits<std::int32_t>::max()) ++next;
    }
    return contacts;
}

}  // namespace

QString importExtension(const QString& path) {
    const qsizetype dot = path.lastIndexOf(u'.');
    return (dot < 0 ? path : path.mid(dot + 1)).toUpper();
}

ImportOutcome importPackageFile(CSkedlinDoc& document, const QString& path, ImportMessageSink& messages) {
    return importPackageFile(document, path, messages, ImportOptions());
}

ImportOutcome importPackageFile(CSkedlinDoc& document, const QString& path, ImportMessageSink& messages,
                                const ImportOptions& options) {
    const QString extension = importExtension(path);
    if (extension == QLatin1String("DBA")) return importDateBookArchive(document, path, messages);
    const bool known = extension == QLatin1String("VCF") || extension == QLatin1String("VCS") ||
                       extension == QLatin1String("CSV") || extension == QLatin1String("ICS");

    // Read once: the iCalendar reader takes the bytes, the others the lines.
    QByteArray bytes;
    ImportTextFile file;
    file.result = readImportBytes(path, bytes);
    if (file.result) file = parseImportText(bytes);
    if (!file.result) {
        tell(messages, file.result.message());
        return ImportOutcome::Failed;
    }
    if (!known) return ImportOutcome::UnknownExtension;

    if (extension == QLatin1String("ICS")) {
        // The file passed the size and line limits above; the iCalendar reader
        // decodes its bytes itself, after joining folded lines.
        file.lines.clear();
        if (!importICalendar(document, bytes, defaultGroupName(document), messages, options)) {
            return ImportOutcome::Failed;
        }
    } else if (extension == QLatin1String("VCF")) {
        // Cards of version 3.0 and 4.0 have their own reader; the others go to
        // the 2.1 reader.
        document.addContacts(withFreshContactIds(document, readVCardFile(file.lines)));
    } else if (extension == QLatin1String("VCS")) {
        VCalendarReader reader(defaultGroupName(document));
        if (const VCalendarResult read = reader.read(file.lines); !read)
            return refuse(messages, read.message(), messages::kImportVCalendarFailed);
        document.addEvents(reader.events());
    } else {
        CsvReader reader(defaultGroupName(document));
        if (const CsvResult read = reader.read(file.lines); !read)
            return refuse(messages, read.message(), messages::kImportCsvFailed);
        const QString note = reader.dateOrderNote();
        if (!note.isEmpty()) tell(messages, note);
        document.addEvents(reader.events());
    }
    document.updateAllViews();
    return ImportOutcome::Imported;
}

}  // namespace skedlin
