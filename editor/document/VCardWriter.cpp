#include "editor/document/VCardWriter.h"

#include "editor/document/ICalendarWriter.h"

namespace skedlin {
namespace {

// vCard 3.0 escapes text as iCalendar does.
QString escaped(const QString& text) { return escapeICalendarText(text); }

// The TYPE values of each phone type, chosen so that reading them back gives
// the same type.
QString telephoneTypes(std::int32_t type) {
    switch (type) {
    case kPhoneHome: return QStringLiteral("HOME,VOICE");
    case kPhoneFax: return QStringLiteral("WORK,FAX");
    case kPhoneOther: return QStringLiteral("VOICE");
    case kPhoneMain: return QStringLiteral("MAIN");
    case kPhonePager: return QStringLiteral("PAGER");
    case kPhoneMobile: return QStringLiteral("CELL,VOICE");
    default: return QStringLiteral("WORK,VOICE");
    }
}

QString formattedName(const ContactEntry& contact) {
    const QString name = (contact.firstName + u' ' + contact.lastName).trimmed();
    return name.isEmpty() ? contact.company : name;
}

}  // namespace

QByteArray writeVCards(const QList<ContactEntry>& contacts) {
    QByteArray out;
    auto line = [&out](const QString& text) { out += foldContentLine(text); };
    for (const ContactEntry& contact : contacts) {
        line(QStringLiteral("BEGIN:VCARD"));
        line(QStringLiteral("VERSION:3.0"));
        // N and FN are required; FN may be empty when the card has no name at all.
        line(QStringLiteral("N:%1;%2;;;").arg(escaped(contact.lastName), escaped(contact.firstName)));
        line(QStringLiteral("FN:") + escaped(formattedName(contact)));
        if (!contact.company.isEmpty()) line(QStringLiteral("ORG:") + escaped(contact.company));
        if (!contact.title.isEmpty()) line(QStringLiteral("TITLE:") + escaped(contact.title));
        // Numbers in slot order, e-mail addresses among them, so that reading
        // the card back fills the same slots.
        for (int slot = 0; slot < kPhoneSlotCount; ++slot) {
            const QString& number = contact.phoneNumbers[static_cast<std::size_t>(slot)];
            if (number.isEmpty()) continue;
            const std::int32_t type = contact.phoneTypes[static_cast<std::size_t>(slot)];
            if (type == kPhoneEmail) {
                line(QStringLiteral("EMAIL;TYPE=INTERNET:") + escaped(number));
            } else {
                line(QStringLiteral("TEL;TYPE=%1:%2").arg(telephoneTypes(type), escaped(number)));
            }
        }
        if (!(contact.street + contact.city + contact.state + contact.zip + contact.country).isEmpty()) {
            line(QStringLiteral("ADR:;;%1;%2;%3;%4;%5")
                     .arg(escaped(contact.street), escaped(contact.city), escaped(contact.state), escaped(contact.zip),
                          escaped(contact.country)));
        }
        if (!contact.note.isEmpty()) line(QStringLiteral("NOTE:") + escaped(contact.note));
        if (!contact.memberGroups.isEmpty()) {
            QStringList groups;
            for (const QString& group : contact.memberGroups) {
                if (!groups.contains(group)) groups.append(escaped(group));
            }
            line(QStringLiteral("CATEGORIES:") + groups.join(u','));
        }
        line(QStringLiteral("END:VCARD"));
    }
    return out;
}

}  // namespace skedlin
