#pragma once
// Events from a Date Book Archive (".dba"), the binary archive a desktop
// organiser writes for its date book. All numbers are little-endian.

#include <QByteArray>
#include <QList>
#include <QString>

#include "editor/document/PackageEntries.h"

namespace skedlin {

class DateBookArchiveReader {
public:
    enum Result {
        kReadOk = 0,
        kWrongVersionTag = 1,
        kHasCategories = 2,
        kDamaged = 3,  // ends early, or holds values no archive can hold
        kCannotOpen = 4,
        kTooLarge = 5,
    };

    explicit DateBookArchiveReader(QString defaultGroupName) : defaultGroup_(std::move(defaultGroupName)) {}

    Result read(const QString& path);
    Result readBytes(const QByteArray& bytes);
    // The events read, in file order; empty after a failed read.
    const QList<EventEntry>& events() const { return events_; }

private:
    QString defaultGroup_;
    QList<EventEntry> events_;
};

}  // namespace skedlin
