// File > New with the mouse and the keyboard: the question, the save dialog it may lead to, and
// the emptied list and default file.
#include "tests/e2e/EndToEndTest.h"
#include "tests/e2e/Waiting.h"

#include <regex>

namespace {

constexpr wchar_t kNewCaption[] = L"New Tarvik Target List";
constexpr wchar_t kNewQuestion[] = L"Do you want to save Targets List before clear all data?";

class FileNew : public CEndToEndTest {
protected:
    // Picks File > New and checks the question; returns the question box (null on failure).
    HWND AskNew() {
        ChooseFileMenuItem('N');
        if (HasFatalFailure()) {
            return nullptr;
        }
        const HWND hBox = WaitForDialog(kNewCaption);
        if (hBox == nullptr) {
            ADD_FAILURE() << "File > New showed no box titled \"New Tarvik Target List\"";
            return nullptr;
        }
        Scene("question");
        EXPECT_EQ(MessageBoxTextOf(hBox), kNewQuestion);
        // Yes and No only.
        EXPECT_NE(FindDescendant(hBox, IDYES, L"Button"), nullptr);
        EXPECT_NE(FindDescendant(hBox, IDNO, L"Button"), nullptr);
        EXPECT_EQ(FindDescendant(hBox, IDCANCEL, L"Button"), nullptr);
        return hBox;
    }
};

TEST_F(FileNew, YesThenCancelInTheSaveDialogChangesNothing) {
    WriteTargetListFile(DefaultListPath(), 3);
    const std::vector<uint8_t> defaultBytes = FileBytes(DefaultListPath());
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    ASSERT_TRUE(WaitForTileCount(3));

    const HWND hBox = AskNew();
    ASSERT_NE(hBox, nullptr);
    ASSERT_NO_FATAL_FAILURE(ClickDialogButton(hBox, IDYES));
    const HWND hSave = WaitForFileDialog();
    ASSERT_NE(hSave, nullptr) << "Yes did not lead to the save dialog";
    Scene("save-dialog");
    // The offered name is the local time: Tarvik-YYYY-MM-DD-HH-MM-SS.
    EXPECT_TRUE(std::regex_match(TextOf(FileNameFieldOf(hSave)),
                                 std::wregex(LR"(Tarvik-\d{4}-\d\d-\d\d-\d\d-\d\d-\d\d)")))
        << "offered name: " << TextOf(FileNameFieldOf(hSave));
    ASSERT_NO_FATAL_FAILURE(ClickDialogButton(hSave, IDCANCEL));

    // Input after the cancel is handled, so New has finished.
    ASSERT_NO_FATAL_FAILURE(DragPanelBy(6, 0));
    Scene("after-cancel");
    EXPECT_EQ(FindDialog(m_pTarvik->Id(), m_hMain), nullptr) << "a box is open after the cancel";
    EXPECT_EQ(Tiles().size(), 3u);
    EXPECT_TRUE(IsWindowEnabled(Control(kIdPlay)));
    EXPECT_EQ(FileBytes(DefaultListPath()), defaultBytes);
    EXPECT_TRUE(std::filesystem::is_empty(ScratchFolder()));
}

TEST_F(FileNew, NoEmptiesTheListAndTheDefaultFileAndAnEmptyListStillAsks) {
    WriteTargetListFile(DefaultListPath(), 3);
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    ASSERT_TRUE(WaitForTileCount(3));
    ASSERT_TRUE(IsWindowEnabled(Control(kIdPlay)));

    HWND hBox = AskNew();
    ASSERT_NE(hBox, nullptr);
    ASSERT_NO_FATAL_FAILURE(ClickDialogButton(hBox, IDNO));
    ASSERT_TRUE(WaitForTileCount(0)) << "the tiles stayed after New";
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(Control(kIdPlay)); }))
        << "Play stayed enabled with an empty list";
    const std::vector<uint8_t> emptyBytes = EmptyListBytes();
    ASSERT_EQ(emptyBytes.size(), 62u);
    EXPECT_TRUE(WaitUntil([&] { return FileBytes(DefaultListPath()) == emptyBytes; }))
        << "the default file does not hold the empty list; " << FileBytes(DefaultListPath()).size()
        << " bytes";
    const auto defaultList = ReadTargetListFile(DefaultListPath());
    ASSERT_NE(defaultList, nullptr);
    EXPECT_TRUE(defaultList->IsEmpty());
    Scene("emptied");

    hBox = AskNew();
    ASSERT_NE(hBox, nullptr) << "New on an empty list did not ask";
    ASSERT_NO_FATAL_FAILURE(ClickDialogButton(hBox, IDNO));
    ASSERT_NO_FATAL_FAILURE(DragPanelBy(6, 0));
    EXPECT_EQ(Tiles().size(), 0u);
    EXPECT_EQ(FileBytes(DefaultListPath()), emptyBytes);
}

}  // namespace
