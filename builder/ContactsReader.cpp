#include "builder/ContactsReader.h"

namespace skedlin::builder {

// Minimal body: contacts are read in a later issue (Part 2.3).
int readContacts(PackageBuilder&, const xml::Element&) {
    return kExitSuccess;
}

}  // namespace skedlin::builder
