#pragma once
// Contacts from a vCard file (".vcf"). Reading never fails: a file without
// cards gives no contacts.

#include <QList>
#include <QStringList>

#include "editor/document/PackageEntries.h"

namespace skedlin {

class VCardReader {
public:
    void read(const QStringList& lines);
    const QList<ContactEntry>& contacts() const { return contacts_; }

private:
    QList<ContactEntry> contacts_;
};

}  // namespace skedlin
