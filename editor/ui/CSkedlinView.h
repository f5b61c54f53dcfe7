#pragma once
// The list that fills the main window: the events or the contacts of the
// document, sorted by a column, with the editing commands that work on the
// selection (new item, details, delete, cut, copy, paste, select all, group
// assignment) and those that work on the package (calendar properties, import,
// build). Column widths, order and sort settings live in the "Columns" section
// of the profile.

#include <QDateTime>
#include <QList>
#include <QPointer>
#include <QTreeView>

#include <functional>

#include "editor/document/CSkedlinDoc.h"
#include "editor/ui/ListColumns.h"

#include <QMenu>

namespace skedlin {

class EntryListModel;

class CSkedlinView : public QTreeView {
    Q_OBJECT

public:
    explicit CSkedlinView(QWidget* parent = nullptr);
    ~CSkedlinView() override;

    void setDocument(CSkedlinDoc* document);
    CSkedlinDoc* document() const { return document_; }
    EntryListModel* listModel() const { return model_; }

    // A new or opened package: columns from the stored settings, then the list.
    void documentReplaced();

    ListMode mode() const;
    bool isEventMode() const { return mode() == ListMode::Events; }
    // Entry indexes of the selected items, ascending.
    QList<int> selectedEntries() const;
    int selectedCount() const;
    // The text of the status bar's count pane: "n Event(s)", "n Contact(s)", or empty.
    QString countText() const;

    // The entry the user works on: the current one when it is selected,
    // otherwise the first selected one; -1 when nothing is selected.
    int focusedEntry() const;

    bool canDetails() const { return selectedCount() == 1; }
    bool hasSelection() const { return selectedCount() > 0; }
    bool canPaste() const;

    // The menu shown on a right click (the main window's Edit menu).
    void setContextMenu(QMenu* menu) { contextMenu_ = menu; }

    // The date and start time proposed for the next new event.
    QDate rememberedDate() const { return rememberedDate_; }
    QTime rememberedStartTime() const { return rememberedStartTime_; }

    // Writes the current mode's column widths and order and its sort settings.
    void saveColumnSettings();

    // Saves the package for "Save and Build"; true when it was saved.
    void setSaveHandler(std::function<bool()> handler) { saveHandler_ = std::move(handler); }
    // Selects the given entries of the current mode (and nothing else).
    void selectEntries(const QList<int>& entries);

public slots:
    void showEvents();
    void showContacts();
    void newItem();
    void showDetails();
    void deleteSelection();
    void cut();
    void copy();
    void paste();
    void selectAllItems();
    // Assigns (events) or toggles (contacts) group number groupIndex on the selection.
    void applyGroup(int groupIndex);
    void calendarProperties();
    void importFile();
    // Imports one file into the package (Import command, dropped files).
    void importPath(const QString& path);
    void build();
    void sortByColumn(int column);
    // Refills the list from the document, keeping the selection where possible.
    void fillList();
    // Shows only the entries that contain the text (the find box).
    void setFilterText(const QString& text);

signals:
    // Selection, mode, copy buffers or document contents changed: menus and
    // the status bar must re-read the enabling state and the count.
    void commandStateChanged();
    // A message for the status bar (what an import added).
    void statusMessage(const QString& text);
    // The package properties sheet opened (true) or closed (false).
    void propertiesSheetShown(bool shown);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QList<int> selectedRowNumbers() const;
    void createColumns();
    void switchMode(ListMode mode);
    void openEntry(int entryIndex);
    void removeSelected();
    void applyColumnOrder(const QByteArray& order);
    QByteArray columnOrder() const;

    QPointer<CSkedlinDoc> document_;
    EntryListModel* model_ = nullptr;
    QPointer<QMenu> contextMenu_;
    bool columnsCreated_ = false;
    QList<EventEntry> eventBuffer_;
    QList<ContactEntry> contactBuffer_;
    std::function<bool()> saveHandler_;
    QDate rememberedDate_;
    QTime rememberedStartTime_;
};

}  // namespace skedlin
