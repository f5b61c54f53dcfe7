#include "editor/preview/PreviewPackage.h"

#include <QFile>

#include <span>

#include "formats/Bytes.h"
#include "formats/prc/PrcFile.h"

namespace skedlin::preview {

namespace {

constexpr std::uint16_t kResourceDatabaseFlag = prc::kAttributeResourceDatabase;

}  // namespace

std::shared_ptr<const PreviewPackage> PreviewPackage::fromBytes(QByteArray image, QString* error) {
    auto fail = [error](const QString& message) {
        if (error) *error = message;
        return std::shared_ptr<const PreviewPackage>();
    };
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(image.constData()),
                                              static_cast<std::size_t>(image.size()));
    if (bytes.size() < prc::kHeaderBytes)
        return fail(QStringLiteral("The file is too short to be a Palm OS resource database."));
    const std::uint16_t attributes = bytes::ByteReader(bytes).read16be(prc::kOffsetAttributes);
    if (!(attributes & kResourceDatabaseFlag))
        return fail(QStringLiteral("The file is not a Palm OS resource database (.prc)."));

    auto package = std::make_shared<PreviewPackage>();
    prc::HeaderBytes header{};
    if (!prc::parseDatabase(bytes, header, package->resources_))
        return fail(QStringLiteral(
            "The resource list of the file is damaged: a resource lies outside the file or is cut off."));
    const std::string name = prc::headerName(header);
    package->name_ = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
    for (std::size_t i = 0; i < package->resources_.size(); ++i)
        package->index_.emplace(key(package->resources_[i].type, package->resources_[i].id), i);
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
    const std::vector<std::uint8_t>& bytes = resources_[found->second].bytes;
    if (size) *size = static_cast<std::uint32_t>(bytes.size());
    // An empty resource still gets a valid pointer: the core tells absence by a null one.
    static const std::uint8_t kNothing = 0;
    return bytes.empty() ? &kNothing : bytes.data();
}

}  // namespace skedlin::preview
