#pragma once
// The readers under test take paths, as the programs do: each input is
// written to a file in a private folder of this process and read from there.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace skedlin::fuzz {

inline std::string writeInput(const std::uint8_t* data, std::size_t size, const char* name) {
    static const std::string folder = [] {
        char pattern[] = "/tmp/skedlin-fuzz-XXXXXX";
        const char* made = mkdtemp(pattern);
        return std::string(made ? made : "/tmp");
    }();
    const std::string path = folder + "/" + name;
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        if (size > 0) std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    return path;
}

}  // namespace skedlin::fuzz
