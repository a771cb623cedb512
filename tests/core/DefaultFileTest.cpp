// The default file's place and the copy kept of a default file that could not be read.
#include "model/DefaultFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace

TEST(DefaultFile, LivesInTheTarvikFolderAndItsCopyBesideIt) {
    const std::filesystem::path folder = std::filesystem::path(u"data") / u"\u00e4pp";
    const std::filesystem::path path = DefaultFileIn(folder);
    EXPECT_EQ(path, folder / u"Tarvik" / u"Default.trvk");
    EXPECT_EQ(UnreadableCopyPath(path), folder / u"Tarvik" / u"Default.unreadable.trvk");
    EXPECT_TRUE(IsMissingFile(FileErrorKind::FileNotFound));
    EXPECT_TRUE(IsMissingFile(FileErrorKind::BadPath));
    EXPECT_FALSE(IsMissingFile(FileErrorKind::AccessDenied));
}

TEST(DefaultFile, AnUnreadableFileIsCopiedAsideReplacingAnOlderCopy) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("tarvik-default-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::remove_all(folder);
    const std::filesystem::path path = DefaultFileIn(folder);
    EXPECT_FALSE(KeepUnreadableDefaultFile(path)) << "copied a file that is not there";
    std::filesystem::create_directories(path.parent_path());
    WriteAll(UnreadableCopyPath(path), "older copy");
    WriteAll(path, std::string("from a newer version\0\x01", 22));

    EXPECT_TRUE(KeepUnreadableDefaultFile(path));
    EXPECT_EQ(ReadAll(UnreadableCopyPath(path)), ReadAll(path));
    EXPECT_EQ(ReadAll(path).size(), 22u) << "the original must stay as it was";
    const std::filesystem::path temporary = UnreadableCopyPath(path).concat(u".tmp");
    EXPECT_FALSE(std::filesystem::exists(temporary));

    // A crash between the copy and the rename leaves the temporary copy behind: it is removed,
    // or no later default file could be kept aside.
    WriteAll(temporary, "half a copy from a crash");
    WriteAll(path, "another unreadable file");
    EXPECT_TRUE(KeepUnreadableDefaultFile(path));
    EXPECT_EQ(ReadAll(UnreadableCopyPath(path)), "another unreadable file");
    EXPECT_FALSE(std::filesystem::exists(temporary));
    std::filesystem::remove_all(folder);
}
