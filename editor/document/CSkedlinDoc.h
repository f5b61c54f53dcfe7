#pragma once
// The editor's single document: the calendar package being edited, with its
// properties, events, contacts and groups, the editing operations that views,
// dialogs and importers call, the modified flag and an update notice.
// Qt Core only: it shows nothing itself; the windowed editor answers the
// NewPackageWizard interface and shows the results of open, save and build.

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

#include "editor/document/DocumentChanges.h"
#include "editor/document/PackageEntries.h"
#include "editor/document/PackageReader.h"
#include "formats/Result.h"

namespace skedlin {

class CSkedlinDoc;

// What the new-package step needs from the user interface. The console front
// end passes none: the package then keeps the defaults.
class NewPackageWizard {
public:
    virtual ~NewPackageWizard() = default;
    // Runs the "New Calendar Package Wizard" on the document (which already holds
    // the defaults); the wizard writes its pages back through the setters.
    // False when the user cancelled it.
    virtual bool runWizard(CSkedlinDoc& document) = 0;
    // Shows an information message (the text that follows the wizard).
    virtual void showInformation(const QString& message) = 0;
};

// Saving fails only when the file cannot be written; the message says which
// file and why.
enum class SaveError { None, CannotWrite };
using SaveResult = Result<SaveError, QString>;

class CSkedlinDoc : public QObject {
    Q_OBJECT

public:
    explicit CSkedlinDoc(QObject* parent = nullptr);
    ~CSkedlinDoc() override;

    // --- Document lifecycle ---------------------------------------------------
    // Makes a package with the defaults and runs the wizard on it when one is
    // given. When the wizard ends with Finish (or without a wizard) the new
    // package replaces this one: modified, no path, an empty undo history.
    // A cancelled wizard leaves this document exactly as it was: false.
    bool newDocument(NewPackageWizard* wizard);
    // Reads the package at path into a fresh document; only on success does it
    // replace this one (path set, unmodified, update notice). On failure this
    // document is left exactly as it was, and the result says why.
    OpenResult openDocument(const QString& path);
    // Sorts, writes the file whole or not at all, then (on success) takes path
    // as its path, clears the modified flag and sends the update notice. On
    // failure the document stays modified and its path is unchanged.
    SaveResult saveDocument(const QString& path);
    // Empties everything; navigation level becomes 2. Sends no notice.
    void clear();
    // Takes over every field of another document (used to adopt a package read
    // into a fresh document). Sends no notice.
    void assignFrom(const CSkedlinDoc& other);

    QString pathName() const { return pathName_; }
    void setPathName(const QString& path) { pathName_ = path; }
    bool isModified() const { return modified_; }
    void setModified(bool modified = true);
    // Sends the update notice (signal updated()).
    void updateAllViews();

    // --- Package properties ----------------------------------------------------
    std::int32_t navigationLevel() const { return navigationLevel_; }
    QString appFileName() const { return appFileName_; }
    QString title() const { return title_; }
    QString launcherName() const { return launcherName_; }
    const ImageList& launcherIcons() const { return launcherIcons_; }
    QString welcomeText() const { return welcomeText_; }
    QString infoText() const { return infoText_; }
    const ImageList& logoImages() const { return logoImages_; }

    // Each setter stores and sets the modified flag only when the value differs.
    // They send no update notice.
    void setAppFileName(const QString& value);
    void setTitle(const QString& value);
    void setLauncherName(const QString& value);
    void setWelcomeText(const QString& value);
    void setInfoText(const QString& value);
    void setNavigationLevel(std::int32_t value);
    void setLauncherIcons(const ImageList& value);
    void setLogoImages(const ImageList& value);

    // --- Entries -----------------------------------------------------------------
    const QList<EventEntry>& events() const { return events_; }
    const QList<ContactEntry>& contacts() const { return contacts_; }
    const QList<GroupEntry>& groups() const { return groups_; }

    // --- Queries -------------------------------------------------------------------
    int groupIndex(const QString& name) const;  // first exact match, or -1
    bool groupExists(const QString& name) const { return groupIndex(name) != -1; }
    QStringList groupNames() const;
    const ContactEntry* findContact(std::int32_t id) const;  // nullptr when none
    bool contactIdInUse(std::int32_t id) const { return findContact(id) != nullptr; }
    std::int32_t nextFreeContactId() const;
    int contactCountInGroup(const QString& groupName) const;
    // Whether every contact at the given indexes is a member of group number g.
    bool allContactsInGroup(const QList<int>& contactIndexes, int groupIndex) const;
    // CalendarPackage.dtd in the program directory.
    QString dtdPath() const;
    // The path up to and including its last separator ("/" or "\"); empty without a path.
    QString documentFolder() const;

    // --- Editing operations -------------------------------------------------------
    // Each sets the modified flag; the plural ones also send the update notice.
    void addEvent(const EventEntry& event);
    void addEvents(const QList<EventEntry>& events);
    void addContact(const ContactEntry& contact);
    void addContacts(const QList<ContactEntry>& contacts);
    // Indexes in any order; out-of-range and repeated indexes are ignored.
    void removeEvents(const QList<int>& indexes);
    void removeContacts(const QList<int>& indexes);
    // Replace one entry (dialogs write their copy back); ignored when out of range.
    // Sets the flag and sends the notice when the entry changed. A replaced
    // event's group is created when missing, as addEvent does.
    void replaceEvent(int index, const EventEntry& event);
    void replaceContact(int index, const ContactEntry& contact);
    // Group number g given by index; flag and notice only when something changed.
    void setGroupOfEvents(const QList<int>& eventIndexes, int groupIndex);
    void addContactsToGroup(const QList<int>& contactIndexes, int groupIndex);
    void removeContactsFromGroup(const QList<int>& contactIndexes, int groupIndex);
    // Carries a group rename into events and contacts; an empty membership name
    // drops the membership, and a contact already in the new group keeps one
    // membership there. No flag, no notice.
    void renameGroup(const QString& oldName, const QString& newName, const QString& newMembershipName);
    // The properties sheet's groups page hands back its edited list and the
    // names it removed; renames recorded in previousName are carried over all
    // at once (names may be swapped or passed on), events of removed groups
    // move to the first group.
    void setGroupList(const QList<GroupEntry>& newGroups, const QStringList& removedGroupNames);
    // Stable sort: events by date, contacts by last name (else company, else
    // first name) then first name, groups by name; case-sensitive. A sort
    // that moved something is undone with the command before it.
    void sort();

    // --- Undo history ---------------------------------------------------------------
    // Every editing operation and setter above is recorded; undo and redo
    // replay it and send the update notice. Reaching the state of the last
    // open or save again clears the modified flag.
    bool canUndo() const { return doneSteps_ > 0; }
    bool canRedo() const { return doneSteps_ < steps_.size(); }
    // The name of the command that undo or redo would take back or make again.
    QString undoName() const;
    QString redoName() const;
    void undo();
    void redo();
    // Operations between beginStep and endStep form one step (nested pairs
    // join the outermost). countsWhenEmpty: the step is recorded, and the
    // document marked modified, even when no operation changed anything.
    void beginStep(const QString& name, bool countsWhenEmpty = false);
    void endStep();
    void clearHistory();
    // Steps kept; older ones are forgotten.
    static constexpr std::size_t kMaxUndoSteps = 100;

    // --- Direct access for the package reader (no flag, no id checks) -----------
    void appendEventUnchecked(const EventEntry& event) { events_.append(event); }
    void appendContactUnchecked(const ContactEntry& contact) { contacts_.append(contact); }
    void appendGroupUnchecked(const GroupEntry& group) { groups_.append(group); }
    ContactEntry* findContactForReading(std::int32_t id);
    void setPropertiesUnchecked(std::int32_t navigationLevel, const QString& appFileName, const QString& title,
                                const QString& launcherName, const QString& welcomeText, const QString& infoText);
    void setImagesUnchecked(const ImageList& launcherIcons, const ImageList& logoImages);

signals:
    // The update-all-views notice: entries or properties changed as a whole.
    void updated();
    void modifiedChanged(bool modified);
    // Undo or redo became possible or impossible, or their names changed.
    void historyChanged();

private:
    friend struct DocumentChangeAccess;
    friend class StepScope;

    void ensureGroup(const QString& name);
    void addContactNoNotice(const ContactEntry& contact);
    void setDefaults();
    PackageProperties properties() const;
    void applyProperties(const PackageProperties& properties);
    void recordPropertiesChange(const PackageProperties& before);
    void record(std::unique_ptr<DocumentChange> change);
    void recordGroupsIfChanged(const QList<GroupEntry>& before);
    template <typename Entry>
    void recordEntries(typename EntriesChange<Entry>::Kind kind, QList<int> positions, QList<Entry> before,
                       QList<Entry> after);
    void commitPendingStep();

    std::vector<UndoStep> steps_;
    std::size_t doneSteps_ = 0;
    // doneSteps_ when the document matched its file; -1 when no step count will again.
    std::ptrdiff_t cleanStep_ = 0;
    int openSteps_ = 0;
    UndoStep pending_;

    QString pathName_;
    bool modified_ = false;

    std::int32_t navigationLevel_ = kNavigationEvents;
    QString appFileName_;
    QString title_;
    QString launcherName_;
    ImageList launcherIcons_;
    QString welcomeText_;
    QString infoText_;
    ImageList logoImages_;
    QList<EventEntry> events_;
    QList<ContactEntry> contacts_;
    QList<GroupEntry> groups_;
};

}  // namespace skedlin
