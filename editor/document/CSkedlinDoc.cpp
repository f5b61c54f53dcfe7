#include "editor/document/CSkedlinDoc.h"

#include <QHash>
#include <QSet>
#include <QSaveFile>

#include <algorithm>
#include <limits>

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

}  // namespace

CSkedlinDoc::CSkedlinDoc(QObject* parent) : QObject(parent) {}
CSkedlinDoc::~CSkedlinDoc() = default;

void CSkedlinDoc::clear() {
    lastError_.clear();
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
    lastError_ = other.lastError_;
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

void CSkedlinDoc::newDocument(NewPackageWizard* wizard) {
    clear();
    pathName_.clear();
    appFileName_ = QString::fromLatin1(messages::kDefaultAppFileName);
    title_ = QString::fromLatin1(messages::kDefaultTitle);
    launcherName_ = QString::fromLatin1(messages::kDefaultLauncherName);
    welcomeText_ = QString::fromLatin1(messages::kDefaultWelcomeText);
    infoText_ = QString::fromLatin1(messages::kDefaultInfoText);
    groups_.append(GroupEntry{QString::fromLatin1(messages::kDefaultGroupName), QString(), QString()});
    if (wizard) wizard->runWizard(*this);
    setModified(true);
    updateAllViews();
    if (wizard) wizard->showInformation(QString::fromLatin1(messages::kWizardCompleted));
}

OpenResult CSkedlinDoc::openDocument(const QString& path) {
    CSkedlinDoc fresh;
    fresh.pathName_ = path;
    OpenResult result;
    result.code = readPackage(path, fresh);
    result.lastError = fresh.lastError_;
    if (!result.ok()) return result;
    assignFrom(fresh);
    pathName_ = path;
    setModified(false);
    updateAllViews();
    return result;
}

SaveResult CSkedlinDoc::saveDocument(const QString& path) {
    SaveResult result;
    // The document folder decides which bitmap paths are written relative,
    // so the text is made for the path being saved to.
    const QString previousPath = pathName_;
    sort();
    pathName_ = path;
    const QByteArray text = writePackage(*this, packagePrefix());
    pathName_ = previousPath;

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        result.errorMessage = QString::fromLatin1(messages::kCannotSave).arg(path, file.errorString());
        file.cancelWriting();
        modified_ = true;
        emit modifiedChanged(true);
        updateAllViews();  // the sort may have moved entries
        return result;
    }
    pathName_ = path;
    result.ok = true;
    setModified(false);
    updateAllViews();
    return result;
}

void CSkedlinDoc::setModified(bool modified) {
    if (modified_ == modified) return;
    modified_ = modified;
    emit modifiedChanged(modified);
}

void CSkedlinDoc::updateAllViews() { emit updated(); }

// --- Setters ---------------------------------------------------------------------

namespace {
template <typename T>
bool storeIfDifferent(T& field, const T& value) {
    if (field == value) return false;
    field = value;
    return true;
}
}  // namespace

void CSkedlinDoc::setAppFileName(const QString& value) { if (storeIfDifferent(appFileName_, value)) setModified(); }
void CSkedlinDoc::setTitle(const QString& value) { if (storeIfDifferent(title_, value)) setModified(); }
void CSkedlinDoc::setLauncherName(const QString& value) { if (storeIfDifferent(launcherName_, value)) setModified(); }
void CSkedlinDoc::setWelcomeText(const QString& value) { if (storeIfDifferent(welcomeText_, value)) setModified(); }
void CSkedlinDoc::setInfoText(const QString& value) { if (storeIfDifferent(infoText_, value)) setModified(); }
void CSkedlinDoc::setNavigationLevel(std::int32_t value) { if (storeIfDifferent(navigationLevel_, value)) setModified(); }
void CSkedlinDoc::setLauncherIcons(const ImageList& value) { if (storeIfDifferent(launcherIcons_, value)) setModified(); }
void CSkedlinDoc::setLogoImages(const ImageList& value) { if (storeIfDifferent(logoImages_, value)) setModified(); }

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

void CSkedlinDoc::addEvent(const EventEntry& event) {
    events_.append(event);
    ensureGroup(event.groupName);
    setModified();
}

// An import brings thousands of entries at once: the batch operations keep
// the group names and contact ids in sets, so that each entry costs a look-up
// instead of a pass over the lists.
void CSkedlinDoc::addEvents(const QList<EventEntry>& events) {
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
    setModified();
    updateAllViews();
}

void CSkedlinDoc::addContactNoNotice(const ContactEntry& contact) {
    ContactEntry added = contact;
    if (contactIdInUse(added.id)) added.id = nextFreeContactId();
    contacts_.append(added);
    for (const QString& group : added.memberGroups) ensureGroup(group);
    setModified();
}

void CSkedlinDoc::addContact(const ContactEntry& contact) { addContactNoNotice(contact); }

void CSkedlinDoc::addContacts(const QList<ContactEntry>& contacts) {
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
    setModified();
    updateAllViews();
}

void CSkedlinDoc::removeEvents(const QList<int>& indexes) {
    const QList<int> valid = validIndexes(indexes, events_.size());
    for (auto it = valid.crbegin(); it != valid.crend(); ++it) events_.removeAt(*it);
    setModified();
    updateAllViews();
}

void CSkedlinDoc::removeContacts(const QList<int>& indexes) {
    const QList<int> valid = validIndexes(indexes, contacts_.size());
    for (auto it = valid.crbegin(); it != valid.crend(); ++it) contacts_.removeAt(*it);
    setModified();
    updateAllViews();
}

void CSkedlinDoc::replaceEvent(int index, const EventEntry& event) {
    if (index < 0 || index >= events_.size() || events_[index] == event) return;
    events_[index] = event;
    ensureGroup(event.groupName);
    setModified();
    updateAllViews();
}

void CSkedlinDoc::replaceContact(int index, const ContactEntry& contact) {
    if (index < 0 || index >= contacts_.size() || contacts_[index] == contact) return;
    ContactEntry replaced = contact;
    const ContactEntry* sameId = findContact(replaced.id);
    if (sameId && sameId != &contacts_[index]) replaced.id = nextFreeContactId();
    contacts_[index] = replaced;
    for (const QString& group : replaced.memberGroups) ensureGroup(group);
    setModified();
    updateAllViews();
}

void CSkedlinDoc::setGroupOfEvents(const QList<int>& eventIndexes, int groupIndex) {
    if (groupIndex < 0 || groupIndex >= groups_.size()) return;
    const QString name = groups_[groupIndex].name;
    bool changed = false;
    for (int index : eventIndexes) {
        if (index < 0 || index >= events_.size() || events_[index].groupName == name) continue;
        events_[index].groupName = name;
        changed = true;
    }
    if (!changed) return;
    setModified();
    updateAllViews();
}

void CSkedlinDoc::addContactsToGroup(const QList<int>& contactIndexes, int groupIndex) {
    if (groupIndex < 0 || groupIndex >= groups_.size()) return;
    const QString name = groups_[groupIndex].name;
    bool changed = false;
    for (int index : validIndexes(contactIndexes, contacts_.size())) {
        if (contacts_[index].isMemberOf(name)) continue;
        contacts_[index].memberGroups.append(name);
        changed = true;
    }
    if (!changed) return;
    setModified();
    updateAllViews();
}

void CSkedlinDoc::removeContactsFromGroup(const QList<int>& contactIndexes, int groupIndex) {
    if (groupIndex < 0 || groupIndex >= groups_.size()) return;
    const QString name = groups_[groupIndex].name;
    bool changed = false;
    for (int index : validIndexes(contactIndexes, contacts_.size())) {
        if (contacts_[index].memberGroups.removeOne(name)) changed = true;
    }
    if (!changed) return;
    setModified();
    updateAllViews();
}

void CSkedlinDoc::renameGroup(const QString& oldName, const QString& newName, const QString& newMembershipName) {
    for (EventEntry& event : events_) {
        if (event.groupName == oldName) event.groupName = newName;
    }
    for (ContactEntry& contact : contacts_) {
        const qsizetype at = contact.memberGroups.indexOf(oldName);
        if (at < 0) continue;
        // A contact already in the target group keeps its one membership there.
        if (newMembershipName.isEmpty() || contact.memberGroups.contains(newMembershipName)) {
            contact.memberGroups.removeAt(at);
        } else {
            contact.memberGroups[at] = newMembershipName;
        }
    }
}

void CSkedlinDoc::setGroupList(const QList<GroupEntry>& newGroups, const QStringList& removedGroupNames) {
    if (newGroups == groups_) return;  // same count, each equal on name and description
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
        if (hasOrphans) groups_.append(GroupEntry{QString::fromLatin1(messages::kDefaultGroupName), QString(), QString()});
    }
    const QString firstGroup = groups_.isEmpty() ? QString() : groups_.first().name;
    for (const QString& removed : removedGroupNames) {
        // A group that now bears the removed name takes its entries over.
        if (targets.contains(removed) || groupExists(removed)) continue;
        targets.insert(removed, Target{firstGroup, QString()});
    }

    if (!targets.isEmpty()) {
        for (EventEntry& event : events_) {
            const auto target = targets.constFind(event.groupName);
            if (target != targets.cend()) event.groupName = target->eventGroup;
        }
        for (ContactEntry& contact : contacts_) {
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
            contact.memberGroups = memberships;
        }
    }
    setModified();
    updateAllViews();
}

void CSkedlinDoc::sort() {
    // Stable: entries that compare equal keep their list order.
    std::stable_sort(events_.begin(), events_.end(),
                     [](const EventEntry& a, const EventEntry& b) { return a.date.days() < b.date.days(); });
    std::stable_sort(contacts_.begin(), contacts_.end(), [](const ContactEntry& a, const ContactEntry& b) {
        const int byKey = QString::compare(contactSortKey(a), contactSortKey(b), Qt::CaseSensitive);
        if (byKey != 0) return byKey < 0;
        return QString::compare(a.firstName, b.firstName, Qt::CaseSensitive) < 0;
    });
    std::stable_sort(groups_.begin(), groups_.end(), [](const GroupEntry& a, const GroupEntry& b) {
        return QString::compare(a.name, b.name, Qt::CaseSensitive) < 0;
    });
}

void CSkedlinDoc::setPropertiesUnchecked(std::int32_t navigationLevel, const QString& appFileName,
                                         const QString& title, const QString& launcherName,
                                         const QString& welcomeText, const QString& infoText) {
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
