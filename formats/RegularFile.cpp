#include "formats/RegularFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace skedlin {

namespace {

template <typename Buffer>
Result<FileReadError> readInto(const std::string& path, std::uint64_t maxBytes, Buffer& contents,
                               FileReadFacts* facts) {
    using Outcome = Result<FileReadError>;
    contents.clear();
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return Outcome(FileReadError::CannotOpen, std::strerror(errno));
    if (!S_ISREG(info.st_mode)) return Outcome(FileReadError::NotRegularFile, "not a regular file");
    const auto size = static_cast<std::uint64_t>(info.st_size);
    if (facts) facts->size = size;
    if (size > maxBytes) return Outcome(FileReadError::TooLarge, "the file is too large");

    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) return Outcome(FileReadError::CannotOpen, std::strerror(errno));
    // One read into a buffer of the measured size, plus one byte that shows a
    // file grown since it was measured.
    Buffer read(static_cast<std::size_t>(size) + 1, 0);
    std::size_t got = std::fread(read.data(), 1, read.size(), file.get());
    if (std::ferror(file.get())) return Outcome(FileReadError::Unreadable, std::strerror(errno));
    if (got == read.size()) {
        // Grown: read on in chunks, up to one byte past the limit.
        char chunk[65536];
        while (got <= maxBytes) {
            const std::size_t more = std::fread(chunk, 1, sizeof chunk, file.get());
            if (more == 0) break;
            read.insert(read.end(), chunk, chunk + more);
            got += more;
        }
        if (std::ferror(file.get())) return Outcome(FileReadError::Unreadable, std::strerror(errno));
    }
    if (got > maxBytes) {
        if (facts) facts->size = got;
        return Outcome(FileReadError::TooLarge, "the file is too large");
    }
    read.resize(got);
    contents = std::move(read);
    return Outcome::success();
}

}  // namespace

Result<FileReadError> readRegularFile(const std::string& path, std::uint64_t maxBytes,
                                      std::vector<std::uint8_t>& contents, FileReadFacts* facts) {
    return readInto(path, maxBytes, contents, facts);
}

Result<FileReadError> readRegularFile(const std::string& path, std::uint64_t maxBytes, std::string& contents,
                                      FileReadFacts* facts) {
    return readInto(path, maxBytes, contents, facts);
}

}  // namespace skedlin
