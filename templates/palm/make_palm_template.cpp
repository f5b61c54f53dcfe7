// make_palm_template OUT.cpp OUT.prc BUNDLE...
//
// Builds the Palm viewer template: a Palm OS resource database (.prc) of type
// "appl", creator SKL0, name "Skedlin", holding the resources of the given
// bundles (the viewer's program and its user interface, made in viewer/palm),
// the launcher name (tAIN 1000), the launcher icon family (tAIB 1000, 22 x 22),
// the small icon (tAIB 1001) and a version (tver 1). It writes the image as a
// C++ source that embeds it as a 32-bit little-endian byte count followed by
// the bytes, and as a plain .prc for inspection and for running it.
//
// The builder replaces tAIN 1000 and tAIB 1000 and adds the package's own
// resources, which the viewer reads.

#include <cstdint>
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "formats/Bytes.h"
#include "formats/prc/PalmResource.h"
#include "formats/RegularFile.h"
#include "formats/prc/PrcFile.h"
#include "formats/palm/PalmBitmapLayout.h"
#include "formats/palm/ResourceBundle.h"
#include "model/AtomicFile.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using skedlin::palm::fourCharCode;

// Palm OS numbers are big-endian.

// ---- Database header ------------------------------------------------------

constexpr std::string_view kDatabaseName = "Skedlin";
constexpr std::uint16_t kDatabaseVersion = 1;
// Creation and modification date: the time the template was made, in seconds
// since 1 January 1904 (the Palm OS epoch). Fixed, so that builds are reproducible:
// 7 December 2026 00:00:00 = 3,879,446,400 seconds after the epoch.
constexpr std::uint32_t kTemplateDate = 3879446400u;
constexpr std::uint32_t kTypeApplication = fourCharCode("appl");
constexpr std::uint32_t kCreator = fourCharCode("SKL0");

// ---- Icons ----------------------------------------------------------------
//
// A Palm OS bitmap (BitmapType version 1): width, height, row bytes, flags,
// pixel size, version, next depth offset (in 4-byte words, 0 = last), two
// reserved words; then the rows, each padded to a 16-bit boundary. 1 bit per
// pixel, 1 = black.

constexpr std::uint8_t kOneBitPerPixel = 1;

Bytes monochromeBitmap(const std::vector<std::string_view>& rows) {
    namespace layout = skedlin::palm::bitmap;
    const auto height = static_cast<std::uint16_t>(rows.size());
    const auto width = static_cast<std::uint16_t>(rows.empty() ? 0 : rows.front().size());
    const auto rowBytes = static_cast<std::uint16_t>(((width + 15) / 16) * 2);
    Bytes bitmap;
    skedlin::bytes::ByteWriter out(bitmap);
    out.put16be(width);
    out.put16be(height);
    out.put16be(rowBytes);
    out.put16be(0);  // flags: not compressed, no colour table, no transparency
    out.put8(kOneBitPerPixel);
    out.put8(layout::kVersion1);
    out.put16be(0);  // next depth offset: the only bitmap of the family
    out.put16be(0);  // reserved
    out.put16be(0);  // reserved
    static_assert(layout::kOffsetVersion + 7 == layout::kHeaderV1Bytes);
    for (std::string_view row : rows) {
        Bytes packed(rowBytes, 0);
        for (std::size_t x = 0; x < row.size(); ++x) {
            if (row[x] == '#') packed[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
        bitmap.insert(bitmap.end(), packed.begin(), packed.end());
    }
    return bitmap;
}

// 22 x 22: a calendar page with rings and a grid of days.
const std::vector<std::string_view> kLauncherIcon = {
    "......................", "....##.........##.....", "....##.........##.....", ".##################...",
    ".#..##.........##.#...", ".#################....", ".#................#...", ".#..#..#..#..#..#.#...",
    ".#................#...", ".#..#..#..#..#..#.#...", ".#................#...", ".#..#..#..####..#.#...",
    ".#.........####...#...", ".#..#..#..####..#.#...", ".#................#...", ".#..#..#..#..#....#...",
    ".#................#...", ".##################...", "......................", "......................",
    "......................", "......................",
};

// 15 x 9: the list view's small icon.
const std::vector<std::string_view> kSmallIcon = {
    "..#.......#....", "#############..", "#...........#..", "#.#.#.#.#.#.#..", "#...........#..",
    "#.#.#.#.###.#..", "#...........#..", "#############..", "...............",
};

// ---- The database ---------------------------------------------------------

using Resource = skedlin::palm::PalmResource;

Bytes databaseImage(const std::vector<Resource>& resources) {
    skedlin::prc::DatabaseHeader header;
    header.name = std::string(kDatabaseName);
    header.attributes = skedlin::prc::kAttributeResourceDatabase;
    header.version = kDatabaseVersion;
    header.creationDate = kTemplateDate;
    header.modificationDate = kTemplateDate;
    header.type = kTypeApplication;
    header.creator = kCreator;
    return skedlin::prc::serializeDatabase(skedlin::prc::encodeHeader(header), resources);
}

Bytes text(std::string_view value) {
    Bytes bytes;
    skedlin::bytes::ByteWriter(bytes).putText(value);
    return bytes;
}

// The bundles' resources first (program, then user interface), then the
// launcher resources and the version.
bool templateResources(int bundleCount, char** bundlePaths, std::vector<Resource>& resources) {
    for (int i = 0; i < bundleCount; ++i) {
        skedlin::palm::Bytes data;
        std::vector<skedlin::palm::BundleResource> bundle;
        if (const auto read = skedlin::readRegularFile(bundlePaths[i], skedlin::palm::kMaxBundleInputBytes, data);
            !read.ok()) {
            std::cerr << "make_palm_template: cannot read the resource bundle " << bundlePaths[i] << ": "
                      << read.message() << "\n";
            return false;
        }
        if (const auto decoded = skedlin::palm::decodeBundle(data, bundle); !decoded.ok()) {
            std::cerr << "make_palm_template: " << bundlePaths[i] << ": " << decoded.message() << "\n";
            return false;
        }
        for (auto& resource : bundle) resources.push_back({resource.type, resource.id, std::move(resource.bytes)});
    }
    resources.push_back({fourCharCode("tver"), 1, text("1.6.2")});
    resources.push_back({fourCharCode("tAIN"), 1000, text("Skedlin")});
    resources.push_back({fourCharCode("tAIB"), 1000, monochromeBitmap(kLauncherIcon)});
    resources.push_back({fourCharCode("tAIB"), 1001, monochromeBitmap(kSmallIcon)});
    return true;
}

std::string embeddingSource(const Bytes& image) {
    // The image's size (32-bit little-endian), then the image.
    Bytes blob;
    skedlin::bytes::ByteWriter(blob).put32le(static_cast<std::uint32_t>(image.size()));
    skedlin::bytes::ByteWriter(blob).putBytes(image);
    std::string source =
        "// Generated by make_palm_template: do not edit.\n"
        "#include <cstddef>\n"
        "extern const unsigned char kSkedlinPalmTemplateBlob[];\n"
        "extern const std::size_t kSkedlinPalmTemplateBlobSize;\n"
        "alignas(4) const unsigned char kSkedlinPalmTemplateBlob[] = {";
    for (std::size_t i = 0; i < blob.size(); ++i) {
        if (i % 16 == 0) source += "\n  ";
        char number[8];
        std::snprintf(number, sizeof number, "0x%02X,", blob[i]);
        source += number;
    }
    source += "\n};\nconst std::size_t kSkedlinPalmTemplateBlobSize = sizeof kSkedlinPalmTemplateBlob;\n";
    return source;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "usage: make_palm_template OUT.cpp OUT.prc BUNDLE...\n";
        return 2;
    }
    std::vector<Resource> resources;
    if (!templateResources(argc - 3, argv + 3, resources)) return 1;
    const Bytes image = databaseImage(resources);
    if (const auto written = skedlin::writeFileAtomically(argv[1], embeddingSource(image)); !written.ok()) {
        std::cerr << "make_palm_template: cannot write " << argv[1] << ": " << written.message() << "\n";
        return 1;
    }
    if (const auto written = skedlin::writeFileAtomically(argv[2], image); !written.ok()) {
        std::cerr << "make_palm_template: cannot write " << argv[2] << ": " << written.message() << "\n";
        return 1;
    }
    return 0;
}
