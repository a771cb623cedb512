// Loading and saving target-list files on disk: open errors and saves that never damage a file.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>

#include "model/AtomicFile.h"
#include "tests/core/ModelTestUtil.h"

namespace {

class TargetListFileIo : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = std::filesystem::temp_directory_path() /
                ("tarvik-io-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                 "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    static std::vector<uint8_t> ReadAll(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::filesystem::path m_dir;
};

}  // namespace

TEST_F(TargetListFileIo, SaveThenLoadGivesTheSameBytesAndLeavesNoTemporaryFile) {
    CTargetObjList list;
    list.AddCaptured(MakeTarget(u"disk", 6, 4, 2));
    const std::filesystem::path path = m_dir / u"list \u00e4.trvk";
    SaveTargetListFile(list, path);
    const std::vector<uint8_t> bytes = ReadAll(path);
    EXPECT_EQ(bytes, WriteToBytes(list));
    const std::unique_ptr<CTargetObjList> loaded = LoadTargetListFile(path);
    EXPECT_EQ(loaded->Count(), 1u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(TargetListFileIo, FailedSaveLeavesTheOldFileIntact) {
    const std::filesystem::path path = m_dir / "kept.trvk";
    CTargetObjList old;
    old.AddCaptured(MakeTarget(u"old", 3, 3, 5));
    SaveTargetListFile(old, path);
    const std::vector<uint8_t> before = ReadAll(path);

    // The temporary file beside it cannot be created: a folder stands in its way.
    std::filesystem::create_directory(SavingPathFor(path));
    CTargetObjList replacement;
    try {
        SaveTargetListFile(replacement, path);
        FAIL() << "the save reported success";
    } catch (const CFileException& error) {
        EXPECT_EQ(error.Kind(), FileErrorKind::WriteFailed);
        EXPECT_EQ(error.Path(), path);
    }
    EXPECT_EQ(ReadAll(path), before);
    EXPECT_NO_THROW(LoadTargetListFile(path));
}

TEST_F(TargetListFileIo, WriteProtectedFileIsNotReplaced) {
    const std::filesystem::path path = m_dir / "protected.trvk";
    CTargetObjList old;
    old.AddCaptured(MakeTarget(u"old", 3, 3, 6));
    SaveTargetListFile(old, path);
    const std::vector<uint8_t> before = ReadAll(path);
    std::filesystem::permissions(path, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    CTargetObjList replacement;
    EXPECT_THROW(SaveTargetListFile(replacement, path), CFileException);
    std::filesystem::permissions(path, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    EXPECT_EQ(ReadAll(path), before);
    // Nothing is left behind beside it.
    EXPECT_FALSE(std::filesystem::exists(m_dir / "protected.trvk.saving"));
    EXPECT_FALSE(std::filesystem::exists(SavingPathFor(path)));
}

TEST_F(TargetListFileIo, SavesOfTwoProcessesNeverShareATemporaryFileAndCrashLeftoversGo) {
    const std::filesystem::path path = m_dir / "shared.trvk";
    const auto writeFile = [](const std::filesystem::path& file, std::chrono::minutes age) {
        std::ofstream(file, std::ios::binary) << "other";
        std::filesystem::last_write_time(file, std::filesystem::file_time_type::clock::now() - age);
    };
    const std::chrono::minutes fresh{0};
    const std::chrono::minutes old = kStaleSavingAge + std::chrono::minutes(5);
    // Saves of the same file under way in other processes (one of an older build): untouched.
    // Leftovers of crashed saves go; so does nothing else.
    const struct {
        std::filesystem::path file;
        std::chrono::minutes age;
        bool bKept;
    } cases[] = {
        {m_dir / "shared.trvk.saving", fresh, true},
        {m_dir / "shared.trvk.4242.saving", fresh, true},
        {m_dir / "shared.trvk.saving", old, false},
        {m_dir / "shared.trvk.77.saving", old, false},
        {m_dir / "shared.trvk.notes", old, true},
        {m_dir / "other.trvk.77.saving", old, true},
    };
    for (const auto& c : cases) {
        writeFile(c.file, c.age);
        CTargetObjList list;
        list.AddCaptured(MakeTarget(u"mine", 3, 3, 7));
        SaveTargetListFile(list, path);
        EXPECT_EQ(ReadAll(path), WriteToBytes(list));
        EXPECT_EQ(std::filesystem::exists(c.file), c.bKept) << c.file;
        if (c.bKept) {
            EXPECT_EQ(ReadAll(c.file), (std::vector<uint8_t>{'o', 't', 'h', 'e', 'r'})) << c.file;
        }
        std::filesystem::remove(c.file);
    }
}

TEST_F(TargetListFileIo, SaveIntoAMissingFolderFails) {
    CTargetObjList list;
    EXPECT_THROW(SaveTargetListFile(list, m_dir / "no" / "such.trvk"), CFileException);
}

TEST_F(TargetListFileIo, OpenErrorsNameTheirCause) {
    const auto kindOf = [](const std::filesystem::path& path) {
        try {
            LoadTargetListFile(path);
        } catch (const CFileException& error) {
            return error.Kind();
        }
        return FileErrorKind::Generic;
    };
    EXPECT_EQ(kindOf(m_dir / "missing.trvk"), FileErrorKind::FileNotFound);
    EXPECT_EQ(kindOf(m_dir), FileErrorKind::AccessDenied);
    std::ofstream(m_dir / "empty.trvk").close();
    EXPECT_EQ(kindOf(m_dir / "empty.trvk"), FileErrorKind::EndOfFile);
}
