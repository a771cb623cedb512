// File > Save through the real save dialog: names typed by the user, the written list, and a
// file that cannot be replaced.
#include "tests/e2e/EndToEndTest.h"
#include "tests/e2e/KernelHandle.h"
#include "tests/e2e/Waiting.h"

#include <regex>

namespace {

class FileSave : public CEndToEndTest {
protected:
    // File > Save, the name typed into the dialog, Enter. Use with ASSERT_NO_FATAL_FAILURE.
    void SaveAs(const std::wstring& strTyped) {
        ASSERT_NO_FATAL_FAILURE(ChooseFileMenuItem('S'));
        m_hSaveDialog = WaitForFileDialog();
        ASSERT_NE(m_hSaveDialog, nullptr) << "File > Save showed no save dialog";
        EXPECT_TRUE(std::regex_match(TextOf(FileNameFieldOf(m_hSaveDialog)),
                                     std::wregex(LR"(Tarvik-\d{4}-\d\d-\d\d-\d\d-\d\d-\d\d)")))
            << "offered name: " << TextOf(FileNameFieldOf(m_hSaveDialog));
        Scene("save-dialog");
        ASSERT_NO_FATAL_FAILURE(EnterFileName(m_hSaveDialog, strTyped));
    }

    // Saves over `file`, which must refuse to be replaced: Tarvik reports it in a box titled
    // "Tarvik" that names the file, and the file keeps its bytes. Use with
    // ASSERT_NO_FATAL_FAILURE.
    void ExpectRefusedSaveOver(const std::filesystem::path& file) {
        const std::vector<uint8_t> oldBytes = FileBytes(file);
        ASSERT_NO_FATAL_FAILURE(SaveAs(file.wstring()));
        ASSERT_NO_FATAL_FAILURE(ConfirmOverwrite(m_hSaveDialog));
        const HWND hError = WaitForDialog(L"Tarvik");
        ASSERT_NE(hError, nullptr) << "no error box after a refused save";
        Scene("error");
        EXPECT_NE(MessageBoxTextOf(hError).find(file.wstring()), std::wstring::npos)
            << "the box does not name " << file.wstring() << ": " << MessageBoxTextOf(hError);
        ASSERT_NO_FATAL_FAILURE(ClickDialogButton(hError, IDOK));
        EXPECT_EQ(FileBytes(file), oldBytes);
        // The list itself is untouched.
        EXPECT_EQ(Tiles().size(), 3u);
    }

    HWND m_hSaveDialog = nullptr;
};

TEST_F(FileSave, TypedNameGetsTheListAndTheTrvkExtension) {
    const auto list = WriteTargetListFile(DefaultListPath(), 4);
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    ASSERT_TRUE(WaitForTileCount(4));

    const std::filesystem::path saved = ScratchFolder() / L"saved.trvk";
    ASSERT_NO_FATAL_FAILURE(SaveAs((ScratchFolder() / L"saved").wstring()));
    std::unique_ptr<CTargetObjList> read;
    // The file is written whole under its name (through a temporary file), so it is complete as
    // soon as the reader accepts it.
    ASSERT_TRUE(WaitUntil([&] { return (read = ReadTargetListFile(saved)) != nullptr; }))
        << "no readable " << saved.string() << " after the save";
    EXPECT_TRUE(SameTargets(*list, *read));
    Scene("saved");

    // Another extension stays, and .trvk follows it.
    ASSERT_NO_FATAL_FAILURE(SaveAs((ScratchFolder() / L"x.txt").wstring()));
    EXPECT_TRUE(WaitUntil([&] {
        return ReadTargetListFile(ScratchFolder() / L"x.txt.trvk") != nullptr;
    })) << "no readable x.txt.trvk";
    EXPECT_FALSE(std::filesystem::exists(ScratchFolder() / L"x.txt"));

    // The extension in other letter case is kept as it is.
    ASSERT_NO_FATAL_FAILURE(SaveAs((ScratchFolder() / L"upper.TRVK").wstring()));
    EXPECT_TRUE(WaitUntil([&] {
        return ReadTargetListFile(ScratchFolder() / L"upper.TRVK") != nullptr;
    })) << "no readable upper.TRVK";
    EXPECT_FALSE(std::filesystem::exists(ScratchFolder() / L"upper.TRVK.trvk"));
}

TEST_F(FileSave, FileHeldOpenByAnotherProgramIsReportedAndKeptAsItWas) {
    WriteTargetListFile(DefaultListPath(), 3);
    const std::filesystem::path file = ScratchFolder() / L"held.trvk";
    WriteTargetListFile(file, 2, 9);
    // Another program reads the file and lets nobody write, rename or delete it meanwhile.
    CKernelHandle held = OwnedFileHandle(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                     nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_NE(held, nullptr);
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    ASSERT_TRUE(WaitForTileCount(3));

    ASSERT_NO_FATAL_FAILURE(ExpectRefusedSaveOver(file));
    held.reset();
    const auto read = ReadTargetListFile(file);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Count(), 2u);
}

TEST_F(FileSave, ReadOnlyFileIsReportedAndKeptAsItWas) {
    WriteTargetListFile(DefaultListPath(), 3);
    const std::filesystem::path file = ScratchFolder() / L"read-only.trvk";
    WriteTargetListFile(file, 2, 9);
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    ASSERT_TRUE(WaitForTileCount(3));
    ASSERT_NO_FATAL_FAILURE(ExpectRefusedSaveOver(file));
}

}  // namespace
