#pragma once
// The editor's commands: identifiers, menu texts (with the shortcut hint after
// the tab), status-bar prompts and tooltips (after the line break), toolbar
// icons and keys. The menu bar, the toolbar and the key bindings are all made
// from this one table.

#include <QKeySequence>
#include <QList>

namespace skedlin {

enum CommandId : int {
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_BUILD = 32786,
    ID_FILE_MRU_FILE1 = 57616,
    ID_APP_EXIT = 57665,
    ID_EDIT_CUT = 57635,
    ID_EDIT_COPY = 57634,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_DELETE = 32784,
    ID_EDIT_SELECT_ALL = 57642,
    ID_EDIT_UNDO = 57643,
    ID_EDIT_REDO = 57644,
    ID_EDIT_FIND = 57636,
    ID_GROUP_PLACEHOLDER = 32792,
    ID_NEW_ITEM = 32788,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
    ID_VIEW_CONTACTS = 32776,
    ID_VIEW_EVENTS = 32777,
    ID_VIEW_PREVIEW = 32800,
    ID_DETAILS = 59411,
    ID_CALENDAR_PROPERTIES = 32771,
    ID_IMPORT = 32790,
    ID_EXPORT = 32798,
    ID_HELP = 57670,
    ID_APP_ABOUT = 57664,
    ID_INDICATOR_COUNT = 57638,
};

// Group items of the Group submenu: the group with index id - first.
inline constexpr int kFirstGroupCommand = 4500;
inline constexpr int kLastGroupCommand = 4700;

struct CommandInfo {
    CommandId id;
    const char* menuText;
    const char* prompt;  // status-bar prompt, then "\n" and the tooltip
    const char* icon;    // resource path of the toolbar icon, or nullptr
};

// The entry of one command; every CommandId above has one.
const CommandInfo& commandInfo(CommandId id);
// The status-bar prompt (before the line break) and the tooltip (after it).
QString commandStatusTip(CommandId id);
QString commandToolTip(CommandId id);
// The keys bound to a command, first the one the menu shows.
QList<QKeySequence> commandKeys(CommandId id);

// Toolbar buttons from left to right; 0 stands for a separator.
const QList<int>& toolbarLayout();

}  // namespace skedlin
