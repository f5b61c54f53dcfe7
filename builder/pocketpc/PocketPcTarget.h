#pragma once
// What the package reader puts into the Pocket PC executable. The reader calls
// these beside the Palm resource database so that one value reaches both
// handheld targets under one id. PocketPcExecutable implements it; tests may
// record the calls instead.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "formats/Result.h"
#include "formats/bmp/BmpImage.h"

namespace skedlin {

enum class ExecutableError {
    None,
    TemplateUnusable,  // the template is not an executable the package can go into
    Content,           // some content cannot be encoded into the executable
    CannotWrite,       // the file cannot be written
    NotWritable,       // this target only records what it is given
};

using ExecutableResult = Result<ExecutableError>;

class PocketPcTarget {
public:
    virtual ~PocketPcTarget() = default;

    // text is Windows-1252; line feeds are expanded to CR LF by the target.
    virtual void addString(std::uint16_t id, std::string_view text) = 0;
    virtual void addNumber(std::uint16_t id, long value) = 0;
    virtual void addWordList(std::uint16_t id, std::span<const std::uint16_t> values) = 0;
    virtual void addRecord(std::uint16_t id, std::span<const std::uint8_t> bytes) = 0;
    // A bitmap as the bytes of a .bmp file after its file header (the
    // information header, palette and rows as the file holds them).
    virtual void addBitmap(std::uint16_t id, std::span<const std::uint8_t> packedBitmap) = 0;
    // A 32 x 32 or 16 x 16 image; updates the group icon's entry of that width.
    virtual void addIcon(std::uint16_t groupId, const BmpImage& image) = 0;

    // Writes the executable to exePath whole or not at all (a temporary file
    // beside it, then a rename). On failure the message is the reason in
    // words, without a full stop ("Permission denied", "string 4000 is longer
    // than ..."). Targets that only record calls keep this default.
    virtual ExecutableResult write(const std::string& exePath) {
        (void)exePath;
        return {ExecutableError::NotWritable, "this Pocket PC target does not write an executable"};
    }
};

}  // namespace skedlin
