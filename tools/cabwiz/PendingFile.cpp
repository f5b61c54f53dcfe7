#include "tools/cabwiz/PendingFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace skedlin::cabwiz {
namespace {

constexpr const char* kTemporarySuffix = ".tmp-XXXXXX";
constexpr mode_t kFileMode = 0666;  // narrowed by the umask, as for any new file

}  // namespace

PendingFile::~PendingFile() {
    if (!temporaryPath_.empty()) ::unlink(temporaryPath_.c_str());
}

CabwizResult PendingFile::write(const std::vector<std::uint8_t>& bytes) {
    std::string pattern = finalPath_ + kTemporarySuffix;
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return CabwizResult(CabwizError::Output, finalPath_ + ": cannot create the file: " + std::strerror(errno));
    temporaryPath_ = pattern;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, kFileMode & ~mask);

    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int error = errno;
            ::close(fd);
            return CabwizResult(CabwizError::Output, finalPath_ + ": cannot write the file: " + std::strerror(error));
        }
        written += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0)
        return CabwizResult(CabwizError::Output, finalPath_ + ": cannot write the file: " + std::strerror(errno));
    return CabwizResult::success();
}

CabwizResult PendingFile::commit() {
    if (::rename(temporaryPath_.c_str(), finalPath_.c_str()) != 0) {
        return CabwizResult(CabwizError::Output, finalPath_ + ": cannot replace the file: " + std::strerror(errno));
    }
    temporaryPath_.clear();
    return CabwizResult::success();
}

}  // namespace skedlin::cabwiz
