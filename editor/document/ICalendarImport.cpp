#include "editor/document/ICalendarImport.h"

#include "editor/document/CSkedlinDoc.h"
#include "editor/document/CalendarExchangeMessages.h"
#include "editor/document/ICalendarReader.h"

namespace skedlin {

bool importICalendar(CSkedlinDoc& document, const QByteArray& bytes, const QString& defaultGroup,
                     ImportMessageSink& messages, const ImportOptions& options) {
    ICalendarReader reader(defaultGroup);
    if (const ICalendarResult read = reader.read(bytes); !read) {
        messages.showImportMessage(read.message(), ImportMessageIcon::Exclamation);
        return false;
    }
    if (const int rules = reader.rulesToExpand(); rules > 0) {
        ExpansionWindow window = options.window;
        if (options.chooser != nullptr && !options.chooser->chooseExpansionWindow(rules, window)) {
            messages.showImportMessage(QString::fromLatin1(messages::kICalendarCancelled), ImportMessageIcon::None);
            return false;
        }
        if (const ICalendarResult expanded = reader.expand(window); !expanded) {
            messages.showImportMessage(expanded.message(), ImportMessageIcon::Exclamation);
            return false;
        }
    }
    document.addEvents(reader.events());
    const QStringList report = reader.report();
    if (!report.isEmpty()) messages.showImportMessage(report.join(QStringLiteral("\n\n")), ImportMessageIcon::None);
    return true;
}

}  // namespace skedlin
