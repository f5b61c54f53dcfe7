#pragma once
// A file written under a temporary name in its final folder and renamed into
// place by commit(). Until then the final path is untouched; a PendingFile
// destroyed without commit removes its temporary file.

#include <cstdint>
#include <string>
#include <vector>

#include "tools/cabwiz/CabwizResult.h"

namespace skedlin::cabwiz {

class PendingFile {
public:
    explicit PendingFile(std::string finalPath) : finalPath_(std::move(finalPath)) {}
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    CabwizResult write(const std::vector<std::uint8_t>& bytes);
    CabwizResult commit();

private:
    std::string finalPath_;
    std::string temporaryPath_;
};

}  // namespace skedlin::cabwiz
