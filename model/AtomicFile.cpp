#include "model/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace skedlin {
namespace {

mode_t defaultFileMode() {
    // Read the process umask without keeping a change to it.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

}  // namespace

FileWriteResult writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
    if (path.empty()) return FileWriteResult(FileWriteError::NoFileName, "No file name was given");
    std::string pattern = path + ".tmp-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) return FileWriteResult(FileWriteError::CannotCreate, std::strerror(errno));
    const std::string temporary(name.data());
    const auto failWith = [&](FileWriteError code, int error) {
        ::unlink(temporary.c_str());
        return FileWriteResult(code, std::strerror(error));
    };

    if (::fchmod(fd, defaultFileMode()) != 0) {
        const int error = errno;
        ::close(fd);
        return failWith(FileWriteError::CannotCreate, error);
    }
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            ::close(fd);
            return failWith(FileWriteError::CannotWrite, error);
        }
        written += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0) return failWith(FileWriteError::CannotWrite, errno);
    if (::rename(temporary.c_str(), path.c_str()) != 0) return failWith(FileWriteError::CannotReplace, errno);
    return FileWriteResult::success();
}

FileWriteResult writeFileAtomically(const std::string& path, std::string_view bytes) {
    return writeFileAtomically(
        path, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

}  // namespace skedlin
