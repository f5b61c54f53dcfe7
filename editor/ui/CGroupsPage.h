#pragma once
// Groups (dialog 134): the package's groups, added, renamed, described and
// removed on a working copy. The document takes the copy, with the names of the
// removed groups, when the sheet ends with OK or Finish.

#include <QList>
#include <QStringList>

#include "editor/document/PackageEntries.h"
#include "editor/ui/SheetPage.h"

class QListWidget;
class QPushButton;

namespace skedlin {

inline constexpr int kGroupsPageHelp = 134;

class CGroupsPage : public CSheetPage {
    Q_OBJECT
public:
    // groups: the document's groups, copied into the working list.
    CGroupsPage(const QList<GroupEntry>& groups, QWidget* parent = nullptr);

    const QList<GroupEntry>& groups() const { return groups_; }
    QStringList removedGroupNames() const;
    QListWidget* groupList() const { return list_; }

    // The Add..., Edit... and Remove buttons; each returns whether the list changed.
    bool addGroup();
    bool editSelectedGroup();
    bool removeSelectedGroup();

private:
    // Names a group may not take: those of the document's groups and of every
    // working group but the one at index (-1: all).
    QStringList namesExcept(int index) const;
    void dropRemoved(const QString& name);
    void refillList(int selectIndex);
    int selectedIndex() const;

    QStringList committedNames_;
    QList<GroupEntry> groups_;
    QList<GroupEntry> removed_;
    QListWidget* list_;
};

}  // namespace skedlin
