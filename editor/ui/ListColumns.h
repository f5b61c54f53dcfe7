#pragma once
// The columns of the event list and of the contact list: heading, the name
// under which the width is kept in the "Columns" settings section, the default
// width in pixels and the alignment of the cells.

#include <QList>
#include <Qt>

namespace skedlin {

enum class ListMode { Events, Contacts };

struct ListColumn {
    const char* heading;
    const char* widthSetting;
    int defaultWidth;
    Qt::Alignment alignment;
};

const QList<ListColumn>& listColumns(ListMode mode);

// Setting names of the "Columns" section besides the widths.
inline constexpr const char* kColumnsSection = "Columns";
inline constexpr const char* kEventSortSetting = "EventSort";
inline constexpr const char* kEventSortDescendingSetting = "EventSortDescending";
inline constexpr const char* kContactSortSetting = "ContactSort";
inline constexpr const char* kContactSortDescendingSetting = "ContactSortDescending";
// Display order of the event columns: five little-endian 32-bit indexes.
inline constexpr const char* kColumnOrderSetting = "ColumnOrder";
// Display order of the contact columns: four little-endian 32-bit indexes.
inline constexpr const char* kContactColumnOrderSetting = "ContactColumnOrder";

}  // namespace skedlin
