#pragma once
// The find box's matching: an entry matches when one of its texts contains
// what was typed, ignoring case and accents ("resume" finds "Résumé").

#include <QString>

#include "editor/document/PackageEntries.h"

namespace skedlin {

// Case-folded, decomposed, without combining marks.
QString foldForSearch(const QString& text);

// Every text of an entry that the find box searches, folded and joined by
// line feeds (a typed text cannot hold one, so no match spans two fields).
QString eventSearchText(const EventEntry& event);
QString contactSearchText(const ContactEntry& contact);

}  // namespace skedlin
