#pragma once
// Writes a package's contacts as one vCard 3.0 file (RFC 2426).

#include <QByteArray>
#include <QList>

#include "editor/document/PackageEntries.h"

namespace skedlin {

QByteArray writeVCards(const QList<ContactEntry>& contacts);

}  // namespace skedlin
