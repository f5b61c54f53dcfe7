#include "formats/RegularFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

using namespace skedlin;

namespace {

struct Folder {
    Folder() : path(std::filesystem::temp_directory_path() / ("skedlin_file_" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(path);
    }
    ~Folder() { std::filesystem::remove_all(path); }
    std::string write(const std::string& name, const std::string& contents) const {
        const std::string file = (path / name).string();
        std::ofstream(file, std::ios::binary) << contents;
        return file;
    }
    std::filesystem::path path;
};

}  // namespace

TEST(RegularFile, ReadsAWholeFileUpToItsLimit) {
    Folder folder;
    const std::string file = folder.write("ten.bin", std::string("0123456789"));
    std::string text;
    ASSERT_TRUE(readRegularFile(file, 10, text));
    EXPECT_EQ(text, "0123456789");
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(readRegularFile(file, 10, bytes));
    EXPECT_EQ(bytes.size(), 10u);

    FileReadFacts facts;
    const auto refused = readRegularFile(file, 9, bytes, &facts);
    EXPECT_EQ(refused.code(), FileReadError::TooLarge);
    EXPECT_EQ(facts.size, 10u);
    EXPECT_TRUE(bytes.empty()) << "nothing of a refused file is handed out";
}

TEST(RegularFile, RefusesWhatIsNoRegularFileBeforeReadingIt) {
    Folder folder;
    std::string text;
    EXPECT_EQ(readRegularFile(folder.path.string(), 100, text).code(), FileReadError::NotRegularFile);
    EXPECT_EQ(readRegularFile("/dev/zero", 100, text).code(), FileReadError::NotRegularFile)
        << "a device would never end";
    const std::string fifo = (folder.path / "pipe").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(readRegularFile(fifo, 100, text).code(), FileReadError::NotRegularFile) << "a pipe would block";
    const auto missing = readRegularFile((folder.path / "absent").string(), 100, text);
    EXPECT_EQ(missing.code(), FileReadError::CannotOpen);
    EXPECT_FALSE(missing.message().empty());
}
