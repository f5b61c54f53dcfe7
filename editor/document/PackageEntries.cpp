#include "editor/document/PackageEntries.h"

namespace skedlin {
namespace {

const char* const kRepeatTypeNames[] = {"", "daily", "weekly", "month-by-day", "month-by-date", "yearly"};
const char* const kPhoneTypeNames[] = {"work", "home", "fax", "other", "email", "main", "pager", "mobile"};

}  // namespace

QString repeatTypeName(int repeatType) {
    if (repeatType <= kRepeatNone || repeatType > kRepeatYearly) return QString();
    return QLatin1String(kRepeatTypeNames[repeatType]);
}

int repeatTypeFromName(const QString& name) {
    for (int type = kRepeatDaily; type <= kRepeatYearly; ++type) {
        if (name == QLatin1String(kRepeatTypeNames[type])) return type;
    }
    return kRepeatNone;
}

QString phoneTypeName(int phoneType) {
    if (phoneType < kPhoneWork || phoneType > kPhoneMobile) return QLatin1String(kPhoneTypeNames[kPhoneWork]);
    return QLatin1String(kPhoneTypeNames[phoneType]);
}

int phoneTypeFromName(const QString& name) {
    for (int type = kPhoneWork; type <= kPhoneMobile; ++type) {
        if (name == QLatin1String(kPhoneTypeNames[type])) return type;
    }
    return -1;
}

}  // namespace skedlin
