#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "model/AtomicFile.h"

namespace {

std::string contentsOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(AtomicFile, WritesAndReplacesWithoutLeavingATemporary) {
    const auto dir = std::filesystem::temp_directory_path() / "skedlin_atomic_file";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const auto path = dir / "out.bin";
    std::string reason;
    ASSERT_TRUE(skedlin::writeFileAtomically(path.string(), std::string_view("first\0x", 7), reason)) << reason;
    EXPECT_EQ(contentsOf(path), std::string("first\0x", 7));
    ASSERT_TRUE(skedlin::writeFileAtomically(path.string(), "second", reason));
    EXPECT_EQ(contentsOf(path), "second");
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir)) ++files;
    EXPECT_EQ(files, 1u);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_TRUE(info.st_mode & S_IRUSR);
    EXPECT_TRUE(info.st_mode & S_IWUSR);
    std::filesystem::remove_all(dir);
}

TEST(AtomicFile, ReportsWhyItCannotWrite) {
    std::string reason;
    EXPECT_FALSE(skedlin::writeFileAtomically("/no/such/directory/out.bin", "x", reason));
    EXPECT_FALSE(reason.empty());
    EXPECT_FALSE(skedlin::writeFileAtomically("", "x", reason));
    EXPECT_FALSE(reason.empty());
}

TEST(AtomicFile, ADirectoryInTheWayIsNotReplaced) {
    const auto dir = std::filesystem::temp_directory_path() / "skedlin_atomic_dir";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "target.prc");
    std::string reason;
    EXPECT_FALSE(skedlin::writeFileAtomically((dir / "target.prc").string(), "x", reason));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "target.prc"));
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir)) ++entries;
    EXPECT_EQ(entries, 1u) << "the temporary file must be removed";
    std::filesystem::remove_all(dir);
}
