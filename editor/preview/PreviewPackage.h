#pragma once
// A built calendar package (.prc) held in memory for the preview: the file's
// bytes and an index of its resources, so the viewer core can read any
// resource in place by type and id.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "formats/prc/PalmResource.h"

namespace skedlin::preview {

class PreviewPackage {
public:
    // Reads a resource database image. Null with a message in *error when the
    // bytes are not a well-formed resource database (the viewer core finds out
    // later whether it holds a calendar package).
    static std::shared_ptr<const PreviewPackage> fromBytes(QByteArray image, QString* error);
    // Reads the file first; a missing or unreadable file is reported the same way.
    static std::shared_ptr<const PreviewPackage> fromFile(const QString& path, QString* error);

    // The bytes of resource (type, id) and their number, or nullptr.
    const std::uint8_t* resource(std::uint32_t type, std::uint16_t id, std::uint32_t* size) const;
    int resourceCount() const { return static_cast<int>(index_.size()); }
    // The database name from the file's header.
    QString databaseName() const { return name_; }

private:
    static std::uint64_t key(std::uint32_t type, std::uint16_t id) { return (std::uint64_t{type} << 16) | id; }

    QString name_;
    std::vector<palm::PalmResource> resources_;
    std::unordered_map<std::uint64_t, std::size_t> index_;  // into resources_
};

}  // namespace skedlin::preview
