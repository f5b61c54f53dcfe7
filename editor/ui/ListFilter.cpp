#include "editor/ui/ListFilter.h"

#include <QStringList>

namespace skedlin {

QString foldForSearch(const QString& text) {
    // Plain ASCII, the usual case, has no accents to strip: case-folding alone
    // is much quicker than decomposing, and the find box folds every entry.
    bool ascii = true;
    for (const QChar c : text) {
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) return text.toCaseFolded();
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString folded;
    folded.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() == QChar::Mark_NonSpacing || c.category() == QChar::Mark_Enclosing) continue;
        folded.append(c);
    }
    return folded.toCaseFolded();
}

QString eventSearchText(const EventEntry& event) {
    return foldForSearch(QStringList{event.title, event.note, event.groupName}.join(QLatin1Char('\n')));
}

QString contactSearchText(const ContactEntry& contact) {
    QStringList texts{contact.firstName, contact.lastName, contact.title,   contact.company, contact.street,
                      contact.city,      contact.state,    contact.country, contact.zip,     contact.note};
    for (const QString& number : contact.phoneNumbers) texts.append(number);
    texts.append(contact.memberGroups);
    return foldForSearch(texts.join(QLatin1Char('\n')));
}

}  // namespace skedlin
