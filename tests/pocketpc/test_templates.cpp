#include "test_templates.h"

#include <fstream>
#include <random>

#include <gtest/gtest.h>
#include <unistd.h>

#include "formats/Bytes.h"
#include "templates/pocketpc/PocketPcTemplate.h"

namespace skedlin::test {

std::vector<std::uint8_t> templateBytes() {
    auto image = templates::pocketPcTemplateImage();
    return {image.begin(), image.end()};
}

std::unique_ptr<PocketPcExecutable> loadImage(const std::vector<std::uint8_t>& image) {
    std::unique_ptr<PocketPcExecutable> exe;
    const auto loaded = PocketPcExecutable::load(image, exe);
    EXPECT_TRUE(loaded.ok()) << loaded.message();
    return exe;
}

std::unique_ptr<PocketPcExecutable> loadTemplate() { return loadImage(templateBytes()); }

PeFile built(PocketPcExecutable& exe, std::vector<std::uint8_t>* bytes) {
    std::vector<std::uint8_t> image;
    const auto result = exe.buildImage(image);
    EXPECT_TRUE(result.ok()) << result.message();
    PeFile pe = readPe(image);
    EXPECT_TRUE(pe.faults.empty()) << pe.faults.front();
    if (bytes) *bytes = image;
    return pe;
}

std::vector<std::uint8_t> templateWithSection(const std::function<void(std::vector<std::uint8_t>&)>& edit) {
    std::vector<std::uint8_t> image = templateBytes();
    const PeFile pe = readPe(image);
    const PeSection& rsrc = pe.sections.back();
    std::vector<std::uint8_t> section(image.begin() + rsrc.rawOffset,
                                      image.begin() + rsrc.rawOffset + rsrc.virtualSize);
    edit(section);
    const std::uint32_t raw = (static_cast<std::uint32_t>(section.size()) + 0x1FF) / 0x200 * 0x200;
    image.resize(rsrc.rawOffset);
    image.insert(image.end(), section.begin(), section.end());
    image.resize(rsrc.rawOffset + raw, 0);
    const std::uint32_t nt = get32(image, 0x3C);
    const std::uint32_t header = nt + 248 + 40 * (pe.sectionCount - 1u);
    bytes::ByteWriter(image).patch32le(header + 8, static_cast<std::uint32_t>(section.size()));
    bytes::ByteWriter(image).patch32le(header + 16, raw);
    bytes::ByteWriter(image).patch32le(nt + 24 + 96 + 20, static_cast<std::uint32_t>(section.size()));
    return image;
}

std::vector<std::uint8_t> makeBmp(int width, int height, int bitCount,
                                  const std::function<std::uint32_t(int, int)>& pixel) {
    const int paletteCount = bitCount == 8 ? 256 : 0;
    const std::size_t rowSize = static_cast<std::size_t>((bitCount * width + 31) / 32 * 4);
    const std::uint32_t dataOffset = 14 + 40 + 4 * paletteCount;
    std::vector<std::uint8_t> f(dataOffset + rowSize * height, 0);
    f[0] = 'B';
    f[1] = 'M';
    bytes::ByteWriter(f).patch32le(2, static_cast<std::uint32_t>(f.size()));
    bytes::ByteWriter(f).patch32le(10, dataOffset);
    bytes::ByteWriter(f).patch32le(14, 40);
    bytes::ByteWriter(f).patch32le(18, static_cast<std::uint32_t>(width));
    bytes::ByteWriter(f).patch32le(22, static_cast<std::uint32_t>(height));
    bytes::ByteWriter(f).patch16le(26, 1);
    bytes::ByteWriter(f).patch16le(28, static_cast<std::uint16_t>(bitCount));
    bytes::ByteWriter(f).patch32le(46, static_cast<std::uint32_t>(paletteCount));
    for (int v = 0; v < paletteCount; ++v)
        for (int c = 0; c < 3; ++c) f[54 + 4 * v + c] = static_cast<std::uint8_t>(v);
    for (int stored = 0; stored < height; ++stored) {
        const int y = height - 1 - stored;
        std::uint8_t* row = f.data() + dataOffset + rowSize * stored;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = pixel(x, y);
            if (bitCount == 8) {
                row[x] = static_cast<std::uint8_t>(p);
            } else {
                row[3 * x] = static_cast<std::uint8_t>(p);
                row[3 * x + 1] = static_cast<std::uint8_t>(p >> 8);
                row[3 * x + 2] = static_cast<std::uint8_t>(p >> 16);
            }
        }
    }
    return f;
}

ScratchFolder::ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "skedlin-pocketpc-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string ScratchFolder::write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
    const std::string path = file(name);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

}  // namespace skedlin::test
