#include "editor/document/DateBookArchiveReader.h"

#include <QDateTime>

#include <cstdint>
#include <span>
#include <string_view>

#include "editor/document/ImportMessages.h"
#include "editor/document/ImportTextFile.h"
#include "formats/Bytes.h"
#include "model/Windows1252.h"

namespace skedlin {
namespace {

constexpr std::uint32_t kVersionTag = 0x44420100;  // bytes 00 01 42 44
constexpr std::uint8_t kStringLength16 = 0xFF;     // a 16-bit length follows
constexpr std::uint16_t kStringLength32 = 0xFFFF;  // a 32-bit length follows
constexpr std::uint16_t kNoRepeat = 0x0000;
constexpr std::uint16_t kClassDefinition = 0xFFFF;  // schema, name length, name follow
constexpr int kMaxClassNameLength = 202;

enum RepeatKind : std::int32_t {
    kDaily = 1,
    kWeekly = 2,
    kMonthlyByDay = 3,
    kMonthlyByDate = 4,
    kYearly = 5,
};

// Reads little-endian values, failing (and staying failed) at the end.
class ArchiveStream {
public:
    explicit ArchiveStream(const QByteArray& bytes) : data_(bytes) {}

    bool failed() const { return failed_; }

    std::uint32_t u32() {
        if (!has(4)) return 0;
        const std::uint32_t v = reader_.read32le(static_cast<std::uint64_t>(pos_));
        pos_ += 4;
        return v;
    }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    std::uint16_t u16() {
        if (!has(2)) return 0;
        const std::uint16_t v = reader_.read16le(static_cast<std::uint64_t>(pos_));
        pos_ += 2;
        return v;
    }
    std::uint8_t u8() {
        if (!has(1)) return 0;
        return reader_.read8(static_cast<std::uint64_t>(pos_++));
    }
    void skip(qint64 count) {
        if (count < 0 || !has(count)) return;
        pos_ += count;
    }
    // The archive string: a length byte, widened to 16 and then 32 bits by
    // the markers 0xFF and 0xFFFF, then that many bytes of Windows-1252 text.
    QString string() {
        qint64 length = u8();
        if (length == kStringLength16) {
            length = u16();
            if (length == kStringLength32) length = u32();
        }
        if (failed_ || !has(length)) return {};
        const std::string_view bytes(data_.constData() + pos_, static_cast<std::size_t>(length));
        pos_ += length;
        return QString::fromStdString(windows1252ToUtf8(bytes));
    }
    void fail() { failed_ = true; }

private:
    bool has(qint64 count) {
        if (failed_ || count > data_.size() - pos_) {
            failed_ = true;
            return false;
        }
        return true;
    }
    const QByteArray& data_;
    bytes::ByteReader reader_{
        std::span(reinterpret_cast<const std::uint8_t*>(data_.constData()), static_cast<std::size_t>(data_.size()))};
    qint64 pos_ = 0;
    bool failed_ = false;
};

// The last day the handheld's dates can hold.
const QDate kLastHandheldDate(2031, 12, 31);
constexpr qint64 kHalfDaySeconds = 12 * 60 * 60;

DateTimeValue localDateTime(std::uint32_t secondsSince1970) {
    return DateTimeValue::fromDateTime(QDateTime::fromSecsSinceEpoch(static_cast<std::int32_t>(secondsSince1970)));
}

// An untimed appointment is stored as midnight of its day in the zone of the
// computer that wrote the archive, as a universal time. Twelve hours later is
// still that day in universal time for every zone from 12 hours behind to 12
// hours ahead, so the day does not depend on either computer's zone.
DateTimeValue untimedDate(std::uint32_t secondsSince1970) {
    const qint64 noon = static_cast<qint64>(static_cast<std::int32_t>(secondsSince1970)) + kHalfDaySeconds;
    return DateTimeValue::fromDate(QDateTime::fromSecsSinceEpoch(noon, Qt::UTC).date());
}

// A field of a record: its type (ignored), then its value.
std::int32_t longField(ArchiveStream& in) {
    in.u32();
    return in.i32();
}
QString stringField(ArchiveStream& in) {
    in.u32();
    in.u32();  // padding
    return in.string();
}

// The repeat block; false when it holds what no archive can hold.
bool readRepeat(ArchiveStream& in, EventEntry& event) {
    in.u32();  // field type
    const std::uint16_t exceptionCount = in.u16();
    in.skip(static_cast<qint64>(exceptionCount) * 4);  // exception dates are not kept
    const std::uint16_t classEntry = in.u16();
    if (classEntry == kNoRepeat) return true;
    if (classEntry == kClassDefinition) {
        in.u16();  // schema
        const std::uint16_t nameLength = in.u16();
        if (nameLength > kMaxClassNameLength) return false;
        in.skip(nameLength);
    }
    const std::int32_t kind = in.i32();
    const std::int32_t interval = in.i32();
    const std::uint32_t endDate = in.u32();
    in.u32();  // first day of week
    if (kind < kDaily || kind > kYearly) return false;
    if (kind <= kMonthlyByDay) in.u32();  // day index
    std::uint8_t daysMask = 0;
    if (kind == kWeekly) daysMask = in.u8();
    if (kind == kMonthlyByDay) in.u32();   // week index
    if (kind >= kMonthlyByDate) in.u32();  // day number
    if (kind == kYearly) in.u32();         // month index
    event.repeatType = static_cast<std::uint8_t>(kind & 0xFF);
    event.frequency = static_cast<std::uint8_t>(interval & 0xFF);
    // An end past the handheld's last date (archives write one there for "no
    // end") is read as no end date.
    const DateTimeValue end = localDateTime(endDate);
    if (end.date() <= kLastHandheldDate) event.repeatEndDate = end;
    if (kind == kWeekly) event.repeatOnMask = daysMask;
    return true;
}

DateBookArchiveResult refused(DateBookArchiveError code, const char* message) {
    return DateBookArchiveResult(code, QString::fromLatin1(message));
}

DateBookArchiveResult damaged() { return refused(DateBookArchiveError::Damaged, messages::kImportDateBookDamaged); }

}  // namespace

DateBookArchiveResult DateBookArchiveReader::read(const QString& path) {
    events_.clear();
    QByteArray bytes;
    const ImportFileResult file = readImportBytes(path, bytes);
    if (!file) {
        const auto code = file.code() == ImportFileError::TooLarge ? DateBookArchiveError::TooLarge
                                                                   : DateBookArchiveError::CannotOpen;
        return DateBookArchiveResult(code, file.message());
    }
    return readBytes(bytes);
}

DateBookArchiveResult DateBookArchiveReader::readBytes(const QByteArray& bytes) {
    events_.clear();
    ArchiveStream in(bytes);
    if (in.u32() != kVersionTag)
        return in.failed() ? damaged()
                           : refused(DateBookArchiveError::WrongVersionTag, messages::kImportNotDateBookArchive);
    in.string();  // file name
    in.string();  // table string
    in.u32();     // next free id
    if (in.u32() != 0)
        return in.failed() ? damaged()
                           : refused(DateBookArchiveError::HasCategories, messages::kImportDateBookCategories);
    for (int i = 0; i < 5; ++i) in.u32();  // resource id, fields per row, three positions
    const std::int16_t fieldCount = static_cast<std::int16_t>(in.u16());
    if (in.failed() || fieldCount <= 0) return damaged();
    in.skip(static_cast<qint64>(fieldCount) * 2);  // field types
    const std::int32_t entries = in.i32();
    if (in.failed() || entries < 0) return damaged();
    const std::int32_t recordCount = entries / fieldCount;

    QList<EventEntry> events;
    for (std::int32_t record = 0; record < recordCount; ++record) {
        EventEntry event;
        event.groupName = defaultGroup_;
        longField(in);  // record id
        longField(in);  // status
        longField(in);  // position
        const std::uint32_t start = static_cast<std::uint32_t>(longField(in));
        const std::uint32_t end = static_cast<std::uint32_t>(longField(in));
        event.title = stringField(in);
        longField(in);  // duration
        event.note = stringField(in);
        const bool untimed = longField(in) != 0;
        for (int i = 0; i < 5; ++i) longField(in);  // private, category, alarm set, advance, unit
        if (!readRepeat(in, event) || in.failed()) return damaged();
        event.date = untimed ? untimedDate(start) : localDateTime(start);
        event.allDay = untimed ? 1 : 0;
        if (!untimed) {
            event.startTime = localDateTime(start);
            event.endTime = localDateTime(end);
        }
        events.append(event);
    }
    events_ = events;
    return DateBookArchiveResult::success();
}

}  // namespace skedlin
