#include "editor/preview/PreviewPackage.h"

#include <QFile>

namespace skedlin::preview {

namespace {

// Resource database layout: a 78-byte header (name in the first 32 bytes,
// resource count as a big-endian word at 76), then one 10-byte entry per
// resource (type, id, offset of its bytes), all numbers big-endian. A
// resource runs to the next one's offset, the last one to the end.
constexpr int kNameBytes = 32;
constexpr int kAttributesOffset = 32;
constexpr int kCountOffset = 76;
constexpr int kHeaderBytes = 78;
constexpr int kEntryBytes = 10;
constexpr std::uint16_t kResourceDatabaseFlag = 0x0001;

std::uint32_t be16(const QByteArray& bytes, qsizetype at) {
    return static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at]) << 8 | static_cast<std::uint8_t>(bytes[at + 1]));
}

std::uint32_t be32(const QByteArray& bytes, qsizetype at) { return be16(bytes, at) << 16 | be16(bytes, at + 2); }

}  // namespace

std::shared_ptr<const PreviewPackage> PreviewPackage::fromBytes(QByteArray image, QString* error) {
    auto fail = [error](const QString& message) {
        if (error) *error = message;
        return std::shared_ptr<const PreviewPackage>();
    };
    if (image.size() < kHeaderBytes) return fail(QStringLiteral("The file is too short to be a Palm OS resource database."));
    if (!(be16(image, kAttributesOffset) & kResourceDatabaseFlag))
        return fail(QStringLiteral("The file is not a Palm OS resource database (.prc)."));
    const std::uint32_t count = be16(image, kCountOffset);
    const qsizetype listEnd = kHeaderBytes + qsizetype{kEntryBytes} * count;
    if (listEnd > image.size())
        return fail(QStringLiteral("The resource list of the file is cut off (%1 resources announced).").arg(count));

    auto package = std::make_shared<PreviewPackage>();
    const int nameLength = static_cast<int>(qstrnlen(image.constData(), kNameBytes));
    package->name_ = QString::fromLatin1(image.constData(), nameLength);
    std::uint32_t previousOffset = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const qsizetype entry = kHeaderBytes + qsizetype{kEntryBytes} * i;
        const std::uint32_t type = be32(image, entry);
        const auto id = static_cast<std::uint16_t>(be16(image, entry + 4));
        const std::uint32_t offset = be32(image, entry + 6);
        const std::uint32_t end = i + 1 < count ? be32(image, entry + kEntryBytes + 6) : static_cast<std::uint32_t>(image.size());
        if (offset < listEnd || offset < previousOffset || end < offset || end > static_cast<std::uint64_t>(image.size()))
            return fail(QStringLiteral("Resource %1 of the file lies outside the file or overlaps another one.").arg(i + 1));
        previousOffset = offset;
        package->index_.emplace(key(type, id), Span{offset, end - offset});
    }
    package->image_ = std::move(image);
    return package;
}

std::shared_ptr<const PreviewPackage> PreviewPackage::fromFile(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = QStringLiteral("Cannot open %1: %2").arg(path, file.errorString());
        return nullptr;
    }
    return fromBytes(file.readAll(), error);
}

const std::uint8_t* PreviewPackage::resource(std::uint32_t type, std::uint16_t id, std::uint32_t* size) const {
    const auto found = index_.find(key(type, id));
    if (found == index_.end()) {
        if (size) *size = 0;
        return nullptr;
    }
    if (size) *size = found->second.size;
    return reinterpret_cast<const std::uint8_t*>(image_.constData()) + found->second.offset;
}

}  // namespace skedlin::preview
