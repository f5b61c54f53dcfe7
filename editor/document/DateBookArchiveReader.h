#pragma once
// Events from a Date Book Archive (".dba"), the binary archive a desktop
// organiser writes for its date book. All numbers are little-endian.

#include <QByteArray>
#include <QList>
#include <QString>

#include "editor/document/PackageEntries.h"
#include "formats/Result.h"

namespace skedlin {

// Why an archive was refused; the message is the text the user reads.
enum class DateBookArchiveError {
    None,
    WrongVersionTag,
    HasCategories,
    Damaged,  // ends early, or holds values no archive can hold
    CannotOpen,
    TooLarge,
};
using DateBookArchiveResult = Result<DateBookArchiveError, QString>;

class DateBookArchiveReader {
public:
    explicit DateBookArchiveReader(QString defaultGroupName) : defaultGroup_(std::move(defaultGroupName)) {}

    DateBookArchiveResult read(const QString& path);
    DateBookArchiveResult readBytes(const QByteArray& bytes);
    // The events read, in file order; empty after a failed read.
    const QList<EventEntry>& events() const { return events_; }

private:
    QString defaultGroup_;
    QList<EventEntry> events_;
};

}  // namespace skedlin
