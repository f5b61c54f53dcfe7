#pragma once
// Helpers shared by the Pocket PC tests: the embedded template, variants of
// it, bitmap files written on the fly and a scratch folder.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "builder/pocketpc/PocketPcExecutable.h"
#include "pe_test_reader.h"

namespace skedlin::test {

std::vector<std::uint8_t> templateBytes();
std::unique_ptr<PocketPcExecutable> loadTemplate();
std::unique_ptr<PocketPcExecutable> loadImage(const std::vector<std::uint8_t>& image);
// The executable's bytes as written, read back by the test reader; fails the
// test when the executable cannot be built.
PeFile built(PocketPcExecutable& exe, std::vector<std::uint8_t>* bytes = nullptr);

// The template with its resource section replaced by `edit` applied to it
// (the section's used bytes; the sizes in the headers follow).
std::vector<std::uint8_t> templateWithSection(const std::function<void(std::vector<std::uint8_t>&)>& edit);

// A bottom-up .bmp file. 8 bits: a grey palette (entry v = v, v, v) and
// pixel(x, yFromTop) as the index. 24 bits: pixel gives 0xRRGGBB.
std::vector<std::uint8_t> makeBmp(int width, int height, int bitCount,
                                  const std::function<std::uint32_t(int, int)>& pixel);

class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace skedlin::test
