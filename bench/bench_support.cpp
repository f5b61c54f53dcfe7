#include "bench_support.h"

#include <cstdlib>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <utility>

namespace skedlin::bench {
namespace {

class PackageFolder {
public:
    PackageFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "skedlin_bench_XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
        folder_ = pattern;
    }
    ~PackageFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    const std::string& path(int events, int contacts) {
        const auto key = std::make_pair(events, contacts);
        if (auto found = paths_.find(key); found != paths_.end()) return found->second;
        const std::filesystem::path dir = folder_ / ("p" + std::to_string(events) + "_" + std::to_string(contacts));
        std::filesystem::create_directories(dir);
        const std::string file = (dir / "package.xml").string();
        const std::string command = "'" + binDirectory() + "generate_package' --events " + std::to_string(events) +
                                    " --contacts " + std::to_string(contacts) + " --dtd '" + binDirectory() +
                                    "CalendarPackage.dtd' '" + file + "'";
        if (std::system(command.c_str()) != 0) throw std::runtime_error("generate_package failed: " + command);
        return paths_.emplace(key, file).first->second;
    }

private:
    std::filesystem::path folder_;
    std::map<std::pair<int, int>, std::string> paths_;
};

}  // namespace

std::string binDirectory() { return std::string(SKEDLIN_BIN_DIR) + "/"; }

const std::string& packagePath(int events, int contacts) {
    static PackageFolder folder;
    return folder.path(events, contacts);
}

}  // namespace skedlin::bench
