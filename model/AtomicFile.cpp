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

bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes, std::string& errorText) {
    errorText.clear();
    if (path.empty()) {
        errorText = "No file name was given";
        return false;
    }
    std::string pattern = path + ".tmp-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        errorText = std::strerror(errno);
        return false;
    }
    const std::string temporary(name.data());
    bool ok = ::fchmod(fd, defaultFileMode()) == 0;
    std::size_t written = 0;
    while (ok && written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
        } else {
            written += static_cast<std::size_t>(n);
        }
    }
    if (!ok) errorText = std::strerror(errno);
    if (::close(fd) != 0 && ok) {
        ok = false;
        errorText = std::strerror(errno);
    }
    if (ok && ::rename(temporary.c_str(), path.c_str()) != 0) {
        ok = false;
        errorText = std::strerror(errno);
    }
    if (!ok) ::unlink(temporary.c_str());
    return ok;
}

bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string& errorText) {
    return writeFileAtomically(
        path, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
        errorText);
}

}  // namespace skedlin
