#include "editor/ui/ListColumns.h"

#include "editor/ui/UiText.h"

namespace skedlin {

const QList<ListColumn>& listColumns(ListMode mode) {
    using namespace uitext;
    constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;
    constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
    static const QList<ListColumn> eventColumns = {
        {kHeadingDate, "Date", 100, kRight},      {kHeadingStartTime, "StartTime", 80, kRight},
        {kHeadingEndTime, "EndTime", 80, kRight}, {kHeadingEventTitle, "Title", 260, kLeft},
        {kHeadingGroup, "Group", 120, kLeft},
    };
    static const QList<ListColumn> contactColumns = {
        {kHeadingLastName, "LastName", 100, kLeft},
        {kHeadingFirstName, "FirstName", 100, kLeft},
        {kHeadingCompany, "Company", 160, kLeft},
        {kHeadingMemberOfGroups, "Groups", 200, kLeft},
    };
    return mode == ListMode::Events ? eventColumns : contactColumns;
}

}  // namespace skedlin
