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
    const auto first = skedlin::writeFileAtomically(path.string(), std::string_view("first\0x", 7));
    ASSERT_TRUE(first.ok()) << first.message();
    EXPECT_EQ(contentsOf(path), std::string("first\0x", 7));
    ASSERT_TRUE(skedlin::writeFileAtomically(path.string(), "second").ok());
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

TEST(AtomicFile, ReportsWhatFailedAndWhy) {
    const auto noFolder = skedlin::writeFileAtomically("/no/such/directory/out.bin", "x");
    EXPECT_EQ(noFolder.code(), skedlin::FileWriteError::CannotCreate);
    EXPECT_EQ(noFolder.message(), "No such file or directory");
    const auto noName = skedlin::writeFileAtomically("", "x");
    EXPECT_EQ(noName.code(), skedlin::FileWriteError::NoFileName);
    EXPECT_FALSE(noName.message().empty());
}

TEST(AtomicFile, ADirectoryInTheWayIsNotReplaced) {
    const auto dir = std::filesystem::temp_directory_path() / "skedlin_atomic_dir";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "target.prc");
    EXPECT_EQ(skedlin::writeFileAtomically((dir / "target.prc").string(), "x").code(),
              skedlin::FileWriteError::CannotReplace);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "target.prc"));
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir)) ++entries;
    EXPECT_EQ(entries, 1u) << "the temporary file must be removed";
    std::filesystem::remove_all(dir);
}
