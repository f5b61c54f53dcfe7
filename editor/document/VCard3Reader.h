#pragma once
// Contacts from vCard 3.0 and 4.0 cards, and the reading of a whole ".vcf"
// file whose cards may be of any version: cards that say VERSION:3.0 or 4.0
// are read here, all others (2.1 and cards without a version) by the 2.1
// reader, in the order of the file.
//
// Unlike 2.1 lines, 3.0 and 4.0 lines are unfolded, their values unescaped
// (\n \, \; \\), parameters may be written TYPE=a,b or TYPE=a;TYPE=b or as bare
// types, and names may carry a group prefix ("item1.TEL").

#include <QList>
#include <QStringList>

#include "editor/document/PackageEntries.h"

namespace skedlin {

// One card's lines from BEGIN:VCARD to END:VCARD (either may be missing).
ContactEntry readVCard3(const QStringList& cardLines);

// Every card of a file, each read by the reader of its version.
QList<ContactEntry> readVCardFile(const QStringList& lines);

}  // namespace skedlin
