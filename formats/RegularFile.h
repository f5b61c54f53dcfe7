#pragma once
// Reading a whole file that somebody else may have made: only a regular file
// (a pipe or a device could block or never end), and only up to a limit
// checked before anything is read, and again while reading in case the file
// grows meanwhile. Every program reads its input files through here; each
// words its own message from the code.

#include <cstdint>
#include <string>
#include <vector>

#include "formats/Result.h"

namespace skedlin {

enum class FileReadError {
    None,
    CannotOpen,      // no such file, no permission: the message is the system's reason
    NotRegularFile,  // a folder, a device, a pipe
    TooLarge,        // larger than the limit
    Unreadable,      // a read failed: the message is the system's reason
};

struct FileReadFacts {
    std::uint64_t size = 0;  // the size the file had when it was measured
};

// Reads the whole file into contents. On failure the message is the reason in
// words, without the path; facts (when not null) gets the measured size.
Result<FileReadError> readRegularFile(const std::string& path, std::uint64_t maxBytes,
                                      std::vector<std::uint8_t>& contents, FileReadFacts* facts = nullptr);
Result<FileReadError> readRegularFile(const std::string& path, std::uint64_t maxBytes, std::string& contents,
                                      FileReadFacts* facts = nullptr);

}  // namespace skedlin
