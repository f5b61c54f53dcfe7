#include "editor/document/CSkedlinDoc.h"

#include <QHash>
#include <QSet>
#include <QSaveFile>

#include <algorithm>
#include <limits>
#include <numeric>

#include "editor/document/DocumentMessages.h"
#include "editor/document/PackageReader.h"
#include "editor/document/PackageWriter.h"
#include "editor/document/ProgramDirectory.h"

namespace skedlin {
namespace {

// Sorted, unique indexes inside [0, size).
QList<int> validIndexes(const QList<int>& indexes, qsizetype size) {
    QList<int> result;
    for (int index : indexes) {
        if (index >= 0 && index < size) result.append(index);
    }
    std::sort(result.begin(), result.end());
    result.erase(std::unique(result.begin(), result.end()), result.end());
    return result;
}

const QString& contactSortKey(const ContactEntry& contact) {
    if (!contact.lastName.isEmpty()) return contact.lastName;
    if (!contact.company.isEmpty()) return contact.company;
    return contact.firstName;
}

// Step names, shown after "Undo" and "Redo".
constexpr const char* kStepAdd = "Add";
constexpr const char* kStepDelete = "Delete";
constexpr const char* kStepEdit = "Edit";
constexpr const char* kStepGroup = "Group";
constexpr const char* kStepProperties = "Properties";
constexpr const char* kStepSort = "Sort";

QString stepName(const char* name) { return QString::fromLatin1(name); }

}  // namespace

// Opens a step for one operation unless a caller already opened one.
class StepScope {
public:
    StepScope(CSkedlinDoc& document, const char* name) : document_(document) { document_.beginStep(stepName(name)); }
    ~StepScope() { document_.endStep(); }
    StepScope(const StepScope&) = delete;
    StepScope& operator=(const StepScope&) = delete;

private:
    CSkedlinDoc& document_;
};

CSkedlinDoc::CSkedlinDoc(QObject* parent) : QObject(parent) {}
CSkedlinDoc::~CSkedlinDoc() = default;

void CSkedlinDoc::clear() {
    appFileName_.clear();
    title_.clear();
    launcherName_.clear();
    welcomeText_.clear();
    infoText_.clear();
    launcherIcons_.clear();
    logoImages_.clear();
    events_.clear();
    contacts_.clear();
    groups_.clear();
    navigationLevel_ = kNavigationEvents;
}

void CSkedlinDoc::assignFrom(const CSkedlinDoc& other) {
    navigationLevel_ = other.navigationLevel_;
    appFileName_ = other.appFileName_;
    title_ = other.title_;
    launcherName_ = other.launcherName_;
    launcherIcons_ = other.launcherIcons_;
    welcomeText_ = other.welcomeText_;
    infoText_ = other.infoText_;
    logoImages_ = other.logoImages_;
    events_ = other.events_;
    contacts_ = other.contacts_;
    groups_ = other.groups_;
}

void CSkedlinDoc::setDefaults() {
    clear();
    appFileName_ = QString::fromLatin1(messages::kDefaultAppFileName);
    title_ = QString::fromLatin1(messages::kDefaultTitle);
    launcherName_ = QString::fromLatin1(messages::kDefaultLauncherName);
    welcomeText_ = QString::fromLatin1(messages::kDefaultWelcomeText);
    infoText_ = QString::fromLatin1(messages::kDefaultInfoText);
    groups_.append(GroupEntry{QString::fromLatin1(messages::kDefaultGroupName), QString(), QString()});
}

bool CSkedlinDoc::newDocument(NewPackageWizard* wizard) {
    // The wizard works on a package of its own, so that Cancel leaves the
    // package the user had open untouched.
    CSkedlinDoc fresh;
    fresh.setDefaults();
    if (wizard && !wizard->runWizard(fresh)) return false;
    assignFrom(fresh);
    pathName_.clear();
    clearHistory();
    cleanStep_ = -1;
    setModified(true);
    updateAllViews();
    if (wizard) wizard->showInformation(QString::fromLatin1(messages::kWizardCompleted));
    return true;
}

OpenResult CSkedlinDoc::openDocument(const QString& path) {
    CSkedlinDoc fresh;
    fresh.pathName_ = path;
    const OpenResult result = readPackage(path, fresh);
    if (!result) return result;
    assignFrom(fresh);
    pathName_ = path;
    clearHistory();
    setModified(false);
    updateAllViews();
    return result;
}

SaveResult CSkedlinDoc::saveDocument(const QString& path) {
    // The document folder decides which bitmap paths are written relative,
    // so the text is made for the path being saved to.
    const QString previousPath = pathName_;
    sort();
    pathName_ = path;
    const QByteArray text = writePackage(*this, packagePrefix());
    pathName_ = previousPath;

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        SaveResult failed(SaveError::CannotWrite,
                          QString::fromLatin1(messages::kCannotSave).arg(path, file.errorString()));
        file.cancelWriting();
        modified_ = true;
        emit modifiedChanged(true);
        updateAllViews();  // the sort may have moved entries
        return failed;
    }
    pathName_ = path;
    cleanStep_ = std::ptrdiff_t(doneSteps_);
    setModified(false);
    updateAllViews();
    return SaveResult::success();
}

void CSkedlinDoc::setModified(bool modified) {
    if (modified_ == modified) return;
    modified_ = modified;
    emit modifiedChanged(modified);
}

void CSkedlinDoc::updateAllViews() { emit updated(); }

// --- Setters ---------------------------------------------------------------------

PackageProperties CSkedlinDoc::properties() const {
    return PackageProperties{navigationLevel_, appFileName_, title_,    launcherName_,
                             launcherIcons_,   welcomeText_, infoText_, logoImages_};
}

void CSkedlinDoc::applyProperties(const PackageProperties& properties) {
    navigationLevel_ = properties.navigationLevel;
    appFileName_ = properties.appFileName;
    title_ = properties.title;
    launcherName_ = properties.launcherName;
    launcherIcons_ = properties.launcherIcons;
    welcomeText_ = properties.welcomeText;
    infoText_ = properties.infoText;
    logoImages_ = properties.logoImages;
}

void CSkedlinDoc::recordPropertiesChange(const PackageProperties& before) {
    StepScope step(*this, kStepProperties);
    record(std::make_unique<PropertiesChange>(before, properties()));
    setModified();
}

#define SKEDLIN_SETTER(Name, field, Type)              \
    void CSkedlinDoc::Name(const Type& value) {        \
        if (field == value) return;                    \
        const PackageProperties before = properties(); \
        field = value;                                 \
        recordPropertiesChange(before);                \
    }
SKEDLIN_SETTER(setAppFileName, appFileName_, QString)
SKEDLIN_SETTER(setTitle, title_, QString)
SKEDLIN_SETTER(setLauncherName, launcherName_, QString)
SKEDLIN_SETTER(setWelcomeText, welcomeText_, QString)
SKEDLIN_SETTER(setInfoText, infoText_, QString)
SKEDLIN_SETTER(setLauncherIcons, launcherIcons_, ImageList)
SKEDLIN_SETTER(setLogoImages, logoImages_, ImageList)
#undef SKEDLIN_SETTER

void CSkedlinDoc::setNavigationLevel(std::int32_t value) {
    if (navigationLevel_ == value) return;
    const PackageProperties before = properties();
    navigationLevel_ = value;
    recordPropertiesChange(before);
}

// --- Undo history -------------------------------------------------------------------

void CSkedlinDoc::beginStep(const QString& name, bool countsWhenEmpty) {
    if (openSteps_++ > 0) {
        pending_.countsWhenEmpty = pending_.countsWhenEmpty || countsWhenEmpty;
        return;
    }
    pending_ = UndoStep{};
    pending_.name = name;
    pending_.countsWhenEmpty = countsWhenEmpty;
}

void CSkedlinDoc::endStep() {
    if (openSteps_ <= 0 || --openSteps_ > 0) return;
    commitPendingStep();
}

void CSkedlinDoc::record(std::unique_ptr<DocumentChange> change) {
    if (openSteps_ > 0) {
        pending_.changes.push_back(std::move(change));
        return;
    }
    // Outside any step (a private helper called directly): a step of its own.
    pending_ = UndoStep{};
    pending_.name = stepName(kStepEdit);
    pending_.changes.push_back(std::move(change));
    commitPendingStep();
}

void CSkedlinDoc::commitPendingStep() {
    UndoStep step = std::move(pending_);
    pending_ = UndoStep{};
    if (step.changes.empty() && !step.countsWhenEmpty) return;
    // A new command ends the redo branch; a saved state in it is gone for good.
    steps_.erase(steps_.begin() + std::ptrdiff_t(doneSteps_), steps_.end());
    if (cleanStep_ > std::ptrdiff_t(doneSteps_)) cleanStep_ = -1;
    steps_.push_back(std::move(step));
    ++doneSteps_;
    if (steps_.size() > kMaxUndoSteps) {
        steps_.erase(steps_.begin());
        --doneSteps_;
        cleanStep_ = cleanStep_ > 0 ? cleanStep_ - 1 : -1;
    }
    if (steps_.back().countsWhenEmpty) setModified(true);
    emit historyChanged();
}

QString CSkedlinDoc::undoName() const {
    // A step that follows another is undone with it: the earlier one names both.
    std::size_t at = doneSteps_;
    while (at > 1 && steps_[at - 1].followsPrevious) --at;
    return at > 0 ? steps_[at - 1].name : QString();
}

QString CSkedlinDoc::redoName() const { return canRedo() ? steps_[doneSteps_].name : QString(); }

void CSkedlinDoc::undo() {
    if (!canUndo() || openSteps_ > 0) return;
    for (;;) {
        UndoStep& step = steps_[--doneSteps_];
        for (auto it = step.changes.rbegin(); it != step.changes.rend(); ++it) (*it)->undo(*this);
        if (!step.followsPrevious || doneSteps_ == 0) break;
    }
    setModified(std::ptrdiff_t(doneSteps_) != cleanStep_);
    updateAllViews();
    emit historyChanged();
}

void CSkedlinDoc::redo() {
    if (!canRedo() || openSteps_ > 0) return;
    do {
        for (auto& change : steps_[doneSteps_].changes) change->redo(*this);
        ++doneSteps_;
    } while (doneSteps_ < steps_.size() && steps_[doneSteps_].followsPrevious);
    setModified(std::ptrdiff_t(doneSteps_) != cleanStep_);
    updateAllViews();
    emit historyChanged();
}

void CSkedlinDoc::clearHistory() {
    steps_.clear();
    doneSteps_ = 0;
    cleanStep_ = 0;
    openSteps_ = 0;
    pending_ = UndoStep{};
    emit historyChanged();
}

void CSkedlinDoc::recordGroupsIfChanged(const QList<GroupEntry>& before) {
    // GroupEntry equality leaves out previousName, so the sizes are compared too.
    if (before.size() == groups_.size() && before == groups_) return;
    record(std::make_unique<GroupsChange>(before, groups_));
}

template <typename Entry>
void CSkedlinDoc::recordEntries(typename EntriesChange<Entry>::Kind kind, QList<int> positions, QList<Entry> before,
                                QList<Entry> after) {
    if (positions.isEmpty()) return;
    record(std::make_unique<EntriesChange<Entry>>(kind, std::move(positions), std::move(before), std::move(after)));
}

// --- Queries ----------------------------------------------------------------------

int CSkedlinDoc::groupIndex(const QString& name) const {
    for (qsizetype i = 0; i < groups_.size(); ++i) {
        if (groups_[i].name == name) return static_cast<int>(i);
    }
    return -1;
}

QStringList CSkedlinDoc::groupNames() const {
    QStringList names;
    names.reserve(groups_.size());
    for (const GroupEntry& group : groups_) names.append(group.name);
    return names;
}

const ContactEntry* CSkedlinDoc::findContact(std::int32_t id) const {
    for (const ContactEntry& contact : contacts_) {
        if (contact.id == id) return &contact;
    }
    return nullptr;
}

ContactEntry* CSkedlinDoc::findContactForReading(std::int32_t id) {
    for (ContactEntry& contact : contacts_) {
        if (contact.id == id) return &contact;
    }
    return nullptr;
}

// Negative ids (only a hand-written file has them) are left out: the next id
// is one more than the largest non-negative id, 0 without one. Should that
// reach the largest 32-bit id, the smallest unused non-negative id is taken.
std::int32_t CSkedlinDoc::nextFreeContactId() const {
    std::int32_t largest = -1;
    for (const ContactEntry& contact : contacts_) largest = std::max(largest, contact.id);
    if (largest < std::numeric_limits<std::int32_t>::max()) return largest + 1;
    QList<std::int32_t> used;
    for (const ContactEntry& contact : contacts_) {
        if (contact.id >= 0) used.append(contact.id);
    }
    std::sort(used.begin(), used.end());
    std::int32_t candidate = 0;
    for (std::int32_t id : used) {
        if (id > candidate) break;
        if (id == candidate) ++candidate;
    }
    return candidate;
}

int CSkedlinDoc::contactCountInGroup(const QString& groupName) const {
    int count = 0;
    for (const ContactEntry& contact : contacts_) {
        if (contact.isMemberOf(groupName)) ++count;
    }
    return count;
}

bool CSkedlinDoc::allContactsInGroup(const QList<int>& contactIndexes, int groupIndex) const {
    if (groupIndex < 0 || groupIndex >= groups_.size()) return false;
    const QString& name = groups_[groupIndex].name;
    for (int index : contactIndexes) {
        if (index < 0 || index >= contacts_.size()) continue;
        if (!contacts_[index].isMemberOf(name)) return false;
    }
    return true;
}

QString CSkedlinDoc::dtdPath() const { return programDirectory() + QLatin1String(kDtdFileName); }

QString CSkedlinDoc::documentFolder() const {
    const qsizetype slash = std::max(pathName_.lastIndexOf(QLatin1Char('/')), pathName_.lastIndexOf(QLatin1Char('\\')));
    if (slash < 0) return QString();
    return pathName_.left(slash + 1);
}

// --- Editing operations -------------------------------------------------------------

void CSkedlinDoc::ensureGroup(const QString& name) {
    if (!groupExists(name)) groups_.append(GroupEntry{name, QString(), QString()});
}

using EventsChange = EntriesChange<EventEntry>;
using ContactsChange = EntriesChange<ContactEntry>;

namespace {
QList<int> positionRange(qsizetype first, qsizetype count) {
    QList<int> positions(count);
    for (qsizetype i = 0; i < count; ++i) positions[i] = int(first + i);
    return positions;
}
}  // namespace

void CSkedlinDoc::addEvent(const EventEntry& event) {
    StepScope step(*this, kStepAdd);
    const QList<GroupEntry> groupsBefore = groups_;
    events_.append(event);
    ensureGroup(event.groupName);
    recordEntries<EventEntry>(EventsChange::Kind::Inserted, {int(events_.size() - 1)}, {}, {event});
    recordGroupsIfChanged(groupsBefore);
    setModified();
}

// An import brings thousands of entries at once: the batch operations keep
// the group names and contact ids in sets, so that each entry costs a look-up
// instead of a pass over the lists.
void CSkedlinDoc::addEvents(const QList<EventEntry>& events) {
    StepScope step(*this, kStepAdd);
    const QList<GroupEntry> groupsBefore = groups_;
    const qsizetype first = events_.size();
    QSet<QString> groupNames;
    for (const GroupEntry& group : groups_) groupNames.insert(group.name);
    events_.reserve(events_.size() + events.size());
    for (const EventEntry& event : events) {
        events_.append(event);
        if (!groupNames.contains(event.groupName)) {
            groupNames.insert(event.groupName);
            groups_.append(GroupEntry{event.groupName, QString(), QString()});
        }
    }
    recordEntries<EventEntry>(EventsChange::Kind::Inserted, positionRange(first, events.size()), {}, events);
    recordGroupsIfChanged(groupsBefore);
    setModified();
    updateAllViews();
}

void CSkedlinDoc::addContactNoNotice(const ContactEntry& contact) {
    StepScope step(*this, kStepAdd);
    const QList<GroupEntry> groupsBefore = groups_;
    ContactEntry added = contact;
    if (contactIdInUse(added.id)) added.id = nextFreeContactId();
    contacts_.append(added);
    for (const QString& group : added.memberGroups) ensureGroup(group);
    recordEntries<ContactEntry>(ContactsChange::Kind::Inserted, {int(contacts_.size() - 1)}, {}, {added});
    recordGroupsIfChanged(groupsBefore);
    setModified();
}

void CSkedlinDoc::addContact(const ContactEntry& contact) { addContactNoNotice(contact); }

void CSkedlinDoc::addContacts(const QList<ContactEntry>& contacts) {
    StepScope step(*this, kStepAdd);
    const QList<GroupEntry> groupsBefore = groups_;
    const qsizetype first = contacts_.size();
    QSet<std::int32_t> usedIds;
    std::int32_t largestId = -1;  // as nextFreeContactId() counts: negative ids left out
    for (const ContactEntry& contact : contacts_) {
        usedIds.insert(contact.id);
        largestId = std::max(largestId, contact.id);
    }
    QSet<QString> groupNames;
    for (const GroupEntry& group : groups_) groupNames.insert(group.name);
    contacts_.reserve(contacts_.size() + contacts.size());
    for (const ContactEntry& contact : contacts) {
        ContactEntry added = contact;
        if (usedIds.contains(added.id)) {
            // The search for the smallest unused id is left for the rare
            // package that already uses the largest 32-bit id.
            added.id = largestId < std::numeric_limits<std::int32_t>::max() ? largestId + 1 : nextFreeContactId();
        }
        usedIds.insert(added.id);
        largestId = std::max(largestId, added.id);
        contacts_.append(added);
        for (const QString& group : added.memberGroups) {
            if (groupNames.contains(group)) continue;
            groupNames.insert(group);
            groups_.append(GroupEntry{group, QString(), QString()});
        }
    }
    recordEntries<ContactEntry>(ContactsChange::Kind::Inserted, positionRange(first, contacts.size()), {},
                                contacts_.mid(first));
    recordGroupsIfChanged(groupsBefore);
    setModified();
    updateAllViews();
}

void CSkedlinDoc::removeEvents(const QList<int>& indexes) {
    StepScope step(*this, kStepDelete);
    QList<int> valid = validIndexes(indexes, events_.size());
    QList<EventEntry> removed = takePositions(events_, valid);
    recordEntries<EventEntry>(EventsChange::Kind::Removed, std::move(valid), std::move(removed), {});
    setModified();
    updateAllViews();
}

void CSkedlinDoc::removeContacts(const QList<int>& indexes) {
    StepScope step(*this, kStepDelete);
    QList<int> valid = validIndexes(indexes, contacts_.size());
    QList<ContactEntry> removed = takePositions(contacts_, valid);
    recordEntries<ContactEntry>(ContactsChange::Kind::Removed, std::move(valid), std::move(removed), {});
    setModified();
    updateAllViews();
}

void CSkedlinDoc::replaceEvent(int index, const EventEntry& event) {
    if (index < 0 || index >= events_.size() || events_[index] == event) return;
    StepScope step(*this, kStepEdit);
    const QList<GroupEntry> groupsBefore = groups_;
    recordEntries<EventEntry>(EventsChange::Kind::Replaced, {index}, {events_[index]}, {event});
    events_[index] = event;
    ensureGroup(event.groupName);
    recordGroupsIfChanged(groupsBefore);
    setModified();
    updateAllViews();
}

void CSkedlinDoc::replaceContact(int index, const ContactEntry& contact) {
    if (index < 0 || index >= contacts_.size() || contacts_[index] == contact) return;
    StepScope step(*this, kStepEdit);
    const QList<GroupEntry> groupsBefore = groups_;
    ContactEntry replaced = contact;
    const ContactEntry* sameId = findContact(replaced.id);
    if (sameId && sameId != &contacts_[index]) replaced.id = nextFreeContactId();
    recordEntries<ContactEntry>(ContactsChange::Kind::Replaced, {index}, {contacts_[index]}, {replaced});
    contacts_[index] = replaced;
    for (const QString& group : replaced.memberGroups) ensureGroup(group);
    recordGroupsIfChanged(groupsBefore);
    setModified();
    updateAllViews();
}

namespace {
// Positions and old values of the entries an edit is about to change.
template <typename Entry>
struct Replacements {
    QList<int> positions;
    QList<Entry> before;
    QList<Entry> after;
    void note(int position, const Entry& old) {
        positions.append(position);
        before.append(old);
    }
    void collect(const QList<Entry>& list) {
        after.reserve(positions.size());
        for (int position : positions) after.append(list[position]);
    }
};
}  // namespace

void CSkedlinDoc::setGroupOfEvents(const QList<int>& eventIndexes, int groupIndex) {
    if (groupIndex < 0 || groupIndex >= groups_.size()) return;
    const QString name = groups_[groupIndex].name;
    Replacements<EventEntry> changed;
    for (int index : validIndexes(eventIndexes, events_.size())) {
        if (events_[index].groupName == name) continue;
        changed.note(index, events_[index]);
        events_[index].groupName = name;
    }
    if (changed.positions.isEmpty()) return;
    StepScope step(*this, kStepGroup);
    changed.collect(events_);
    recordEntries<EventEntry>(EventsChange::Kind::Replaced, changed.positions, changed.before, changed.after);
    setModified();
    updateAllViews();
}

void CSkedlinDoc::addContactsToGroup(const QList<int>& contactIndexes, int groupIndex) {
    if (groupIndex < 0 || groupIndex >= groups_.size()) return;
    const QString name = groups_[groupIndex].name;
    Replacements<ContactEntry> changed;
    for (int index : validIndexes(contactIndexes, contacts_.size())) {
        if (contacts_[index].isMemberOf(name)) continue;
        changed.note(index, contacts_[index]);
        contacts_[index].memberGroups.append(name);
    }
    if (changed.positions.isEmpty()) return;
    StepScope step(*this, kStepGroup);
    changed.collect(contacts_);
    recordEntries<ContactEntry>(ContactsChange::Kind::Replaced, changed.positions, changed.before, changed.after);
    setModified();
    updateAllViews();
}

void CSkedlinDoc::removeContactsFromGroup(const QList<int>& contactIndexes, int groupIndex) {
    if (groupIndex < 0 || groupIndex >= groups_.size()) return;
    const QString name = groups_[groupIndex].name;
    Replacements<ContactEntry> changed;
    for (int index : validIndexes(contactIndexes, contacts_.size())) {
        if (!contacts_[index].isMemberOf(name)) continue;
        changed.note(index, contacts_[index]);
        contacts_[index].memberGroups.removeOne(name);
    }
    if (changed.positions.isEmpty()) return;
    StepScope step(*this, kStepGroup);
    changed.collect(contacts_);
    recordEntries<ContactEntry>(ContactsChange::Kind::Replaced, changed.positions, changed.before, changed.after);
    setModified();
    updateAllViews();
}

void CSkedlinDoc::renameGroup(const QString& oldName, const QString& newName, const QString& newMembershipName) {
    StepScope step(*this, kStepGroup);
    Replacements<EventEntry> events;
    for (qsizetype i = 0; i < events_.size(); ++i) {
        if (events_[i].groupName != oldName) continue;
        events.note(int(i), events_[i]);
        events_[i].groupName = newName;
    }
    Replacements<ContactEntry> contacts;
    for (qsizetype i = 0; i < contacts_.size(); ++i) {
        ContactEntry& contact = contacts_[i];
        const qsizetype at = contact.memberGroups.indexOf(oldName);
        if (at < 0) continue;
        contacts.note(int(i), contact);
        // A contact already in the target group keeps its one membership there.
        if (newMembershipName.isEmpty() || contact.memberGroups.contains(newMembershipName)) {
            contact.memberGroups.removeAt(at);
        } else {
            contact.memberGroups[at] = newMembershipName;
        }
    }
    events.collect(events_);
    contacts.collect(contacts_);
    recordEntries<EventEntry>(EventsChange::Kind::Replaced, events.positions, events.before, events.after);
    recordEntries<ContactEntry>(ContactsChange::Kind::Replaced, contacts.positions, contacts.before, contacts.after);
}

void CSkedlinDoc::setGroupList(const QList<GroupEntry>& newGroups, const QStringList& removedGroupNames) {
    if (newGroups == groups_) return;  // same count, each equal on name and description
    StepScope step(*this, kStepProperties);
    const QList<GroupEntry> groupsBefore = groups_;
    groups_ = newGroups;

    // Every name the events and contacts carry now is mapped to its final group
    // at once: carried one rename after the other, B->C followed by A->B would
    // send A's entries on into C.
    struct Target {
        QString eventGroup;
        QString membership;  // empty: the membership is dropped
    };
    QHash<QString, Target> targets;
    for (GroupEntry& group : groups_) {
        if (group.previousName.isEmpty()) continue;
        targets.insert(group.previousName, Target{group.name, group.name});
        group.previousName.clear();
    }
    // Events of a removed group move to the first group; a package always keeps
    // one group for them, so an emptied list gets the default group back.
    if (!removedGroupNames.isEmpty() && groups_.isEmpty()) {
        bool hasOrphans = false;
        for (const EventEntry& event : events_) {
            if (removedGroupNames.contains(event.groupName)) hasOrphans = true;
        }
        if (hasOrphans)
            groups_.append(GroupEntry{QString::fromLatin1(messages::kDefaultGroupName), QString(), QString()});
    }
    const QString firstGroup = groups_.isEmpty() ? QString() : groups_.first().name;
    for (const QString& removed : removedGroupNames) {
        // A group that now bears the removed name takes its entries over.
        if (targets.contains(removed) || groupExists(removed)) continue;
        targets.insert(removed, Target{firstGroup, QString()});
    }

    Replacements<EventEntry> events;
    Replacements<ContactEntry> contacts;
    if (!targets.isEmpty()) {
        for (qsizetype i = 0; i < events_.size(); ++i) {
            const auto target = targets.constFind(events_[i].groupName);
            if (target == targets.cend() || target->eventGroup == events_[i].groupName) continue;
            events.note(int(i), events_[i]);
            events_[i].groupName = target->eventGroup;
        }
        for (qsizetype i = 0; i < contacts_.size(); ++i) {
            ContactEntry& contact = contacts_[i];
            QStringList memberships;
            bool changed = false;
            for (const QString& name : contact.memberGroups) {
                const auto target = targets.constFind(name);
                if (target == targets.cend()) {
                    memberships.append(name);
                    continue;
                }
                changed = true;
                if (!target->membership.isEmpty()) memberships.append(target->membership);
            }
            if (!changed) continue;
            // Two old groups may have become one: a contact is listed once in it.
            memberships.removeDuplicates();
            if (memberships == contact.memberGroups) continue;
            contacts.note(int(i), contact);
            contact.memberGroups = memberships;
        }
    }
    events.collect(events_);
    contacts.collect(contacts_);
    record(std::make_unique<GroupsChange>(groupsBefore, groups_));
    recordEntries<EventEntry>(EventsChange::Kind::Replaced, events.positions, events.before, events.after);
    recordEntries<ContactEntry>(ContactsChange::Kind::Replaced, contacts.positions, contacts.before, contacts.after);
    setModified();
    updateAllViews();
}

namespace {
// The stable order of a list under a comparison; empty when it is already in order.
template <typename Entry, typename Less>
QList<int> sortOrder(const QList<Entry>& list, Less less) {
    QList<int> order(list.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return less(list[a], list[b]); });
    for (qsizetype i = 0; i < order.size(); ++i) {
        if (order[i] != i) return order;
    }
    return {};
}
}  // namespace

void CSkedlinDoc::sort() {
    // Stable: entries that compare equal keep their list order.
    QList<int> eventOrder =
        sortOrder(events_, [](const EventEntry& a, const EventEntry& b) { return a.date.days() < b.date.days(); });
    QList<int> contactOrder = sortOrder(contacts_, [](const ContactEntry& a, const ContactEntry& b) {
        const int byKey = QString::compare(contactSortKey(a), contactSortKey(b), Qt::CaseSensitive);
        if (byKey != 0) return byKey < 0;
        return QString::compare(a.firstName, b.firstName, Qt::CaseSensitive) < 0;
    });
    QList<int> groupOrder = sortOrder(groups_, [](const GroupEntry& a, const GroupEntry& b) {
        return QString::compare(a.name, b.name, Qt::CaseSensitive) < 0;
    });
    if (eventOrder.isEmpty() && contactOrder.isEmpty() && groupOrder.isEmpty()) return;
    auto change = std::make_unique<OrderChange>(eventOrder, contactOrder, groupOrder);
    change->redo(*this);
    if (openSteps_ == 0 && doneSteps_ == 0) {
        // Nothing before it to belong to: the order alone is no command worth
        // undoing, but steps left to redo were made for the old order.
        if (!steps_.empty()) {
            steps_.clear();
            emit historyChanged();
        }
        return;
    }
    if (openSteps_ > 0) {
        pending_.changes.push_back(std::move(change));
        return;
    }
    StepScope step(*this, kStepSort);
    pending_.followsPrevious = true;
    pending_.changes.push_back(std::move(change));
}

void CSkedlinDoc::setPropertiesUnchecked(std::int32_t navigationLevel, const QString& appFileName, const QString& title,
                                         const QString& launcherName, const QString& welcomeText,
                                         const QString& infoText) {
    navigationLevel_ = navigationLevel;
    appFileName_ = appFileName;
    title_ = title;
    launcherName_ = launcherName;
    welcomeText_ = welcomeText;
    infoText_ = infoText;
}

void CSkedlinDoc::setImagesUnchecked(const ImageList& launcherIcons, const ImageList& logoImages) {
    launcherIcons_ = launcherIcons;
    logoImages_ = logoImages;
}

}  // namespace skedlin
