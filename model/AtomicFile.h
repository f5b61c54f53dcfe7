#pragma once
// Every file the programs write is written whole or not at all (design.md):
// the bytes go to a temporary file beside the target, which is then renamed
// into place. A failure leaves neither a half-written target nor the temporary.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "formats/Result.h"

namespace skedlin {

enum class FileWriteError {
    None,
    NoFileName,
    CannotCreate,   // the temporary file beside the target cannot be made
    CannotWrite,    // writing or closing the temporary file failed
    CannotReplace,  // the temporary file cannot be renamed onto the target
};

// On failure the message says why, in words and without a full stop
// (e.g. "Permission denied").
using FileWriteResult = Result<FileWriteError>;

FileWriteResult writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);
FileWriteResult writeFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace skedlin
