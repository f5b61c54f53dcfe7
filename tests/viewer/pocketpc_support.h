#pragma once
// Pocket PC packages for the core: the executable the builder writes
// (template plus the package's resources), its resource section read back
// and every resource served to the core by type number and id.

#include "builder/PackageBuilder.h"
#include "builder/pocketpc/PocketPcExecutable.h"
#include "formats/pe/ResourceTree.h"
#include "viewer_test_support.h"

#include <fstream>
#include <span>

namespace skedlin::testing {

constexpr std::uint32_t kPpcBitmap = SKV_TYPE_PPC_BITMAP, kPpcStrings = SKV_TYPE_PPC_STRINGS,
                        kPpcData = SKV_TYPE_PPC_DATA;

inline std::uint32_t le32(const Bytes& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t{b[at + 3]} << 24;
}

// The resources of a Windows CE executable's resource section.
inline ViewerPackage resourcesOfExecutable(const Bytes& image) {
    ViewerPackage package;
    const std::uint32_t nt = le32(image, 0x3C);
    const std::uint16_t sections = static_cast<std::uint16_t>(image[nt + 6] | image[nt + 7] << 8);
    for (std::uint16_t i = 0; i < sections; ++i) {
        const std::size_t header = nt + 248 + 40u * i;
        if (std::string(reinterpret_cast<const char*>(&image[header])) != ".rsrc") continue;
        const std::uint32_t used = le32(image, header + 8), rva = le32(image, header + 12),
                            offset = le32(image, header + 20);
        ResourceTree tree;
        const auto parsed = tree.parse(std::span<const std::uint8_t>(image.data() + offset, used), rva);
        EXPECT_TRUE(parsed.ok()) << parsed.message();
        for (const auto& [type, entries] : tree.types)
            for (const auto& [id, item] : entries.items) package.addNumbered(type, id, item.body);
    }
    return package;
}

// The package `path` as the builder's Pocket PC target writes it.
inline ViewerPackage pocketPcPackage(const std::string& path) {
    builder::BuildOptions options;
    options.inputPath = path;
    options.outputBase = scratchDirectory() + "/out";
    options.pocketPcTarget = true;
    options.builderDirectory = std::string(SKEDLIN_BIN_DIR) + "/";
    builder::PackageBuilder build(options);
    const builder::BuildResult read = build.read();
    EXPECT_TRUE(read.ok()) << read.message();
    auto* exe = dynamic_cast<PocketPcExecutable*>(build.pocketPc());
    EXPECT_NE(exe, nullptr);
    Bytes image;
    if (!exe) return {};
    if (const auto built = exe->buildImage(image); !built.ok()) {
        ADD_FAILURE() << built.message();
        return {};
    }
    return resourcesOfExecutable(image);
}

inline ViewerPackage pocketPcPackageText(const std::string& xml) {
    const std::string path = scratchDirectory() + "/package.xml";
    std::ofstream(path, std::ios::binary) << xml;
    return pocketPcPackage(path);
}

inline std::string examplePath() { return std::string(SKEDLIN_SOURCE_DIR) + "/examples/conference/Conference.xml"; }

}  // namespace skedlin::testing
