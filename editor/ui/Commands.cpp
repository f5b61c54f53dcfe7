#include "editor/ui/Commands.h"

#include <QString>

#include <array>

namespace skedlin {
namespace {

constexpr std::array kCommands = {
    CommandInfo{ID_FILE_NEW, "&New\tCtrl+N", "Create a new document\nNew", ":/icons/new.svg"},
    CommandInfo{ID_FILE_OPEN, "&Open...\tCtrl+O", "Open an existing document\nOpen", ":/icons/open.svg"},
    CommandInfo{ID_FILE_SAVE, "&Save\tCtrl+S", "Save the active document\nSave", ":/icons/save.svg"},
    CommandInfo{ID_FILE_SAVE_AS, "Save &As...\tShft+Ctrl+S", "Save the active document with a new name\nSave As",
                nullptr},
    CommandInfo{ID_BUILD, "&Build Calendar Package\tCtrl+B", "Build the calendar package for distribution.\nBuild",
                ":/icons/build.svg"},
    CommandInfo{ID_FILE_MRU_FILE1, "Recent File", "Open this document", nullptr},
    CommandInfo{ID_APP_EXIT, "E&xit\tAlt+F4", "Quit the application; prompts to save documents\nExit", nullptr},
    CommandInfo{ID_EDIT_CUT, "Cu&t\tCtrl+X", "Cut the selection and put it on the Clipboard\nCut", ":/icons/cut.svg"},
    CommandInfo{ID_EDIT_COPY, "&Copy\tCtrl+C", "Copy the selection and put it on the Clipboard\nCopy",
                ":/icons/copy.svg"},
    CommandInfo{ID_EDIT_PASTE, "&Paste\tCtrl+V", "Insert Clipboard contents\nPaste", ":/icons/paste.svg"},
    CommandInfo{ID_EDIT_DELETE, "&Delete\tDel, Ctrl+D", "Delete the selected items\nDelete", ":/icons/delete.svg"},
    CommandInfo{ID_EDIT_UNDO, "&Undo\tCtrl+Z", "Undo the last change\nUndo", ":/icons/undo.svg"},
    CommandInfo{ID_EDIT_REDO, "&Redo\tCtrl+Y", "Redo the change last undone\nRedo", ":/icons/redo.svg"},
    CommandInfo{ID_EDIT_FIND, "&Find\tCtrl+F", "Show only the items that contain a text\nFind", nullptr},
    CommandInfo{ID_EDIT_SELECT_ALL, "&Select All\tCtrl+A", "Select the entire document\nSelect All", nullptr},
    CommandInfo{ID_GROUP_PLACEHOLDER, "Group name", "", nullptr},
    CommandInfo{ID_NEW_ITEM, "&New...\tIns", "Insert a new event or contact.\nNew", ":/icons/newitem.svg"},
    CommandInfo{ID_VIEW_TOOLBAR, "&Toolbar", "Show or hide the toolbar\nToggle ToolBar", nullptr},
    CommandInfo{ID_VIEW_STATUS_BAR, "&Status Bar", "Show or hide the status bar\nToggle StatusBar", nullptr},
    CommandInfo{ID_VIEW_CONTACTS, "&Contacts\tCtrl+T", "Show the list of contacts\nContacts", ":/icons/contacts.svg"},
    CommandInfo{ID_VIEW_EVENTS, "&Events\tCtrl+E", "Show the list of events.\nEvents", ":/icons/events.svg"},
    CommandInfo{ID_VIEW_PREVIEW, "Handheld &Preview\tCtrl+Shift+P",
                "Show the package as the handheld shows it, updated after every change\nHandheld Preview",
                ":/icons/preview.svg"},
    CommandInfo{ID_DETAILS, "&Details...\tEnter", "Show details of the selected Event or Contact\nDetails",
                ":/icons/details.svg"},
    CommandInfo{ID_CALENDAR_PROPERTIES, "&Properties...\tCtrl+R",
                "Edit the Calendar Package properties.\nCalendar Properties", ":/icons/properties.svg"},
    CommandInfo{ID_IMPORT, "&Import...", "Import calendar information from another format.\nImport", nullptr},
    CommandInfo{ID_EXPORT, "Ex&port...",
                "Export the events to an iCalendar file or the contacts to a vCard file.\nExport", nullptr},
    CommandInfo{ID_HELP, "Skedlin Help\tF1", "Display the Skedlin User Manual\nHelp", nullptr},
    CommandInfo{ID_APP_ABOUT, "&About Skedlin...", "Display program information, version number and copyright\nAbout",
                nullptr},
    CommandInfo{ID_INDICATOR_COUNT, "", "", nullptr},
};

}  // namespace

const CommandInfo& commandInfo(CommandId id) {
    for (const CommandInfo& info : kCommands) {
        if (info.id == id) return info;
    }
    // Every CommandId has an entry; the count pane's entry is the harmless fallback.
    return kCommands.back();
}

QString commandStatusTip(CommandId id) {
    return QString::fromUtf8(commandInfo(id).prompt).section(QLatin1Char('\n'), 0, 0);
}

QString commandToolTip(CommandId id) {
    const QString prompt = QString::fromUtf8(commandInfo(id).prompt);
    return prompt.contains(QLatin1Char('\n')) ? prompt.section(QLatin1Char('\n'), 1) : QString();
}

QList<QKeySequence> commandKeys(CommandId id) {
    switch (id) {
    case ID_EDIT_SELECT_ALL: return {QKeySequence(QStringLiteral("Ctrl+A"))};
    case ID_BUILD: return {QKeySequence(QStringLiteral("Ctrl+B"))};
    case ID_EDIT_COPY: return {QKeySequence(QStringLiteral("Ctrl+C")), QKeySequence(QStringLiteral("Ctrl+Ins"))};
    case ID_VIEW_EVENTS: return {QKeySequence(QStringLiteral("Ctrl+E"))};
    case ID_FILE_NEW: return {QKeySequence(QStringLiteral("Ctrl+N"))};
    case ID_FILE_OPEN: return {QKeySequence(QStringLiteral("Ctrl+O"))};
    case ID_CALENDAR_PROPERTIES: return {QKeySequence(QStringLiteral("Ctrl+R"))};
    case ID_FILE_SAVE: return {QKeySequence(QStringLiteral("Ctrl+S"))};
    case ID_FILE_SAVE_AS: return {QKeySequence(QStringLiteral("Ctrl+Shift+S"))};
    case ID_VIEW_CONTACTS: return {QKeySequence(QStringLiteral("Ctrl+T"))};
    case ID_EDIT_PASTE: return {QKeySequence(QStringLiteral("Ctrl+V")), QKeySequence(QStringLiteral("Shift+Ins"))};
    case ID_EDIT_CUT: return {QKeySequence(QStringLiteral("Ctrl+X")), QKeySequence(QStringLiteral("Shift+Del"))};
    case ID_EDIT_DELETE: return {QKeySequence(QStringLiteral("Del")), QKeySequence(QStringLiteral("Ctrl+D"))};
    case ID_NEW_ITEM: return {QKeySequence(QStringLiteral("Ins"))};
    case ID_EDIT_UNDO: return {QKeySequence(QStringLiteral("Ctrl+Z"))};
    case ID_EDIT_REDO: return {QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))};
    case ID_EDIT_FIND: return {QKeySequence(QStringLiteral("Ctrl+F"))};
    case ID_DETAILS: return {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)};
    case ID_VIEW_PREVIEW: return {QKeySequence(QStringLiteral("Ctrl+Shift+P"))};
    case ID_HELP: return {QKeySequence(QStringLiteral("F1"))};
    case ID_APP_EXIT: return {QKeySequence(QStringLiteral("Alt+F4"))};
    default: return {};
    }
}

const QList<int>& toolbarLayout() {
    static const QList<int> layout = {ID_FILE_NEW,
                                      ID_FILE_OPEN,
                                      ID_FILE_SAVE,
                                      ID_BUILD,
                                      0,
                                      ID_EDIT_UNDO,
                                      ID_EDIT_REDO,
                                      0,
                                      ID_CALENDAR_PROPERTIES,
                                      ID_VIEW_EVENTS,
                                      ID_VIEW_CONTACTS,
                                      ID_DETAILS,
                                      ID_VIEW_PREVIEW,
                                      0,
                                      ID_NEW_ITEM,
                                      ID_EDIT_CUT,
                                      ID_EDIT_COPY,
                                      ID_EDIT_PASTE,
                                      ID_EDIT_DELETE};
    return layout;
}

}  // namespace skedlin
