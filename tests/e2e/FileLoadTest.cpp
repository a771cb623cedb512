// File > Load through the real open dialog: a good list, a missing file and a damaged file.
#include "tests/e2e/EndToEndTest.h"
#include "tests/e2e/Waiting.h"

#include "model/FileErrors.h"

namespace {

constexpr wchar_t kLoadCaption[] = L"Load Tarvik Target List";
constexpr wchar_t kLoadQuestion[] =
    L"Do you want to save previous Targets List before load new Targets?";

class FileLoad : public CEndToEndTest {
protected:
    // File > Load, the path typed into the open dialog, Enter. Use with ASSERT_NO_FATAL_FAILURE.
    void LoadThroughDialog(const std::filesystem::path& file) {
        ASSERT_NO_FATAL_FAILURE(ChooseFileMenuItem('L'));
        const HWND hOpen = WaitForFileDialog();
        ASSERT_NE(hOpen, nullptr) << "File > Load showed no open dialog";
        Scene("open-dialog");
        ASSERT_NO_FATAL_FAILURE(EnterFileName(hOpen, file.wstring()));
    }

    // Answers the question about saving the current list with No.
    void DeclineSavingFirst() {
        const HWND hBox = WaitForDialog(kLoadCaption);
        ASSERT_NE(hBox, nullptr) << "Load over a list did not ask about saving it";
        EXPECT_EQ(MessageBoxTextOf(hBox), kLoadQuestion);
        Scene("question");
        ASSERT_NO_FATAL_FAILURE(ClickDialogButton(hBox, IDNO));
    }

    // The error box titled "Tarvik" with `strText`, closed with OK.
    void ExpectErrorBox(const std::wstring& strText) {
        const HWND hError = WaitForDialog(L"Tarvik");
        ASSERT_NE(hError, nullptr) << "no error box titled \"Tarvik\"";
        Scene("error");
        EXPECT_EQ(MessageBoxTextOf(hError), strText);
        ASSERT_NO_FATAL_FAILURE(ClickDialogButton(hError, IDOK));
    }

    // A file that cannot be read costs the user nothing: the tiles stay, and the close saves
    // the list they had.
    void ExpectListKeptAfterClose(const CTargetObjList& kept) {
        EXPECT_TRUE(WaitForTileCount(kept.Count())) << "the failed load changed the tiles";
        Scene("after-error");
        ASSERT_NO_FATAL_FAILURE(CloseTarvik());
        const auto defaultList = ReadTargetListFile(DefaultListPath());
        ASSERT_NE(defaultList, nullptr);
        EXPECT_TRUE(SameTargets(kept, *defaultList));
    }
};

TEST_F(FileLoad, ChosenFileReplacesAnEmptyListWithoutAQuestion) {
    const std::filesystem::path file = ScratchFolder() / L"five.trvk";
    const auto list = WriteTargetListFile(file, 5, 7);
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    ASSERT_EQ(Tiles().size(), 0u);
    ASSERT_FALSE(IsWindowEnabled(Control(kIdPlay)));

    ASSERT_NO_FATAL_FAILURE(LoadThroughDialog(file));
    ASSERT_TRUE(WaitForTileCount(5)) << "the loaded list's tiles did not appear";
    EXPECT_EQ(FindDialog(m_pTarvik->Id(), m_hMain), nullptr) << "a box came with the load";
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(Control(kIdPlay)) != FALSE; }));
    const std::vector<RECT> tiles = Tiles();
    for (size_t i = 0; i < tiles.size(); ++i) {
        EXPECT_EQ(tiles[i].left, 6);
        EXPECT_EQ(tiles[i].top, 6 + 70 * static_cast<int>(i));
    }
    Scene("loaded");

    // The loaded list is the current one: the close writes it to the default file.
    ASSERT_NO_FATAL_FAILURE(CloseTarvik());
    const auto defaultList = ReadTargetListFile(DefaultListPath());
    ASSERT_NE(defaultList, nullptr);
    EXPECT_TRUE(SameTargets(*list, *defaultList));
}

TEST_F(FileLoad, MissingFileIsReportedAndKeepsTheCurrentList) {
    const auto kept = WriteTargetListFile(DefaultListPath(), 3);
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    ASSERT_TRUE(WaitForTileCount(3));

    const std::filesystem::path missing = ScratchFolder() / L"missing.trvk";
    ASSERT_NO_FATAL_FAILURE(LoadThroughDialog(missing));
    ASSERT_NO_FATAL_FAILURE(DeclineSavingFirst());
    ASSERT_NO_FATAL_FAILURE(ExpectErrorBox(missing.wstring() + L" was not found."));
    ExpectListKeptAfterClose(*kept);
}

TEST_F(FileLoad, DamagedFileIsReportedAndKeepsTheCurrentList) {
    const auto kept = WriteTargetListFile(DefaultListPath(), 3);
    const std::filesystem::path damaged = ScratchFolder() / L"damaged.trvk";
    WriteTargetListFile(damaged, 4, 5);
    // The list's class name, right after its 6-byte class tag, no longer names a target list.
    std::vector<uint8_t> bytes = FileBytes(damaged);
    ASSERT_GT(bytes.size(), 20u);
    ASSERT_EQ(bytes[6], 'C');
    bytes[6] = 'X';
    WriteFileBytes(damaged, bytes);
    // What the program's own reader says about the file, naming it by its full path.
    std::string strReason;
    ASSERT_EQ(ReadTargetListFile(damaged, &strReason), nullptr);
    const std::u16string strExpected = FileErrorText(FileErrorKind::BadClass, damaged);
    ASSERT_EQ(strReason, std::string(strExpected.begin(), strExpected.end()));

    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    ASSERT_TRUE(WaitForTileCount(3));
    ASSERT_NO_FATAL_FAILURE(LoadThroughDialog(damaged));
    ASSERT_NO_FATAL_FAILURE(DeclineSavingFirst());
    ASSERT_NO_FATAL_FAILURE(ExpectErrorBox(std::wstring(strExpected.begin(), strExpected.end())));
    ExpectListKeptAfterClose(*kept);
}

}  // namespace
