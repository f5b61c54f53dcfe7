#include "editor/document/VCardReader.h"

#include "editor/document/PropertyLineReader.h"

namespace skedlin {
namespace {

// Puts a number into the next free slot; after five, further numbers are dropped.
void addPhoneNumber(ContactEntry& contact, const QString& number, std::int32_t type) {
    if (contact.phoneCount >= kPhoneSlotCount) return;
    contact.phoneNumbers[static_cast<std::size_t>(contact.phoneCount)] = number;
    contact.phoneTypes[static_cast<std::size_t>(contact.phoneCount)] = type;
    ++contact.phoneCount;
}

QString valueAt(const QStringList& values, qsizetype index) {
    return index < values.size() ? values[index] : QString();
}

void applyProperty(const PropertyLine& property, ContactEntry& contact) {
    const QString& name = property.name;
    const QStringList& values = property.values;
    if (name == QLatin1String("N")) {
        contact.lastName = values[0];
        if (values.size() > 1) contact.firstName = values[1];
    } else if (name == QLatin1String("ORG")) {
        contact.company = property.value;
    } else if (name == QLatin1String("TITLE")) {
        contact.title = property.value;
    } else if (name == QLatin1String("NOTE")) {
        contact.note = property.value;
    } else if (name == QLatin1String("TEL") && !property.parameters.isEmpty()) {
        const QString first = property.parameters[0];
        const QString second = valueAt(property.parameters, 1);
        if (first == QLatin1String("WORK") && second == QLatin1String("VOICE")) {
            addPhoneNumber(contact, property.value, kPhoneWork);
        } else if (first == QLatin1String("WORK") && second == QLatin1String("FAX")) {
            addPhoneNumber(contact, property.value, kPhoneFax);
        } else if (first == QLatin1String("HOME")) {
            addPhoneNumber(contact, property.value, kPhoneHome);
        } else if (first == QLatin1String("CELL")) {
            addPhoneNumber(contact, property.value, kPhoneMobile);
        }
    } else if (name == QLatin1String("ADR")) {
        if (values.size() > 2) contact.street = values[2];
        if (values.size() > 3) contact.city = values[3];
        if (values.size() > 4) contact.state = values[4];
        if (values.size() > 5) contact.zip = values[5];
        if (values.size() > 6) contact.country = values[6];
    } else if (name == QLatin1String("EMAIL")) {
        addPhoneNumber(contact, property.value, kPhoneEmail);
    }
}

}  // namespace

void VCardReader::read(const QStringList& lines) {
    qsizetype next = 0;
    while (next < lines.size()) {
        if (lines[next++] != QLatin1String("BEGIN:VCARD")) continue;
        // Slots the card leaves empty keep the types a new contact has.
        ContactEntry contact;
        while (next < lines.size()) {
            const QString& line = lines[next++];
            if (line == QLatin1String("END:VCARD")) break;
            applyProperty(parsePropertyLine(line), contact);
        }
        contacts_.append(contact);
    }
}

}  // namespace skedlin
