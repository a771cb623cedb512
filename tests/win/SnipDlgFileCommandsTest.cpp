// The panel's file commands with scripted prompts: New, Save, Load, the default file and their
// error boxes.
#include "SnipDlgTestUtil.h"

#include "framework/HandleCounts.h"
#include "framework/WideText.h"

#include <fstream>
#include <regex>

namespace {

std::vector<uint8_t> FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::u16string> Names(const CTargetObjList& list) {
    std::vector<std::u16string> names(list.Count());
    for (const auto& pTarget : list) {
        names.at(static_cast<size_t>(pTarget->m_nOrder)) = pTarget->m_strName;
    }
    return names;
}

}  // namespace

TEST_F(SnipDlgTest, NewAsksAlwaysAndLeavesAnEmptyDefaultFile) {
    CSnipDlg& panel = OpenPanel();
    m_prompts.m_messageAnswers = {IDNO};
    panel.NewTargetList();
    ASSERT_EQ(m_prompts.m_calls.size(), 1u);
    const auto& ask = m_prompts.m_calls[0];
    EXPECT_EQ(ask.strKind, L"message");
    EXPECT_EQ(ask.strCaption, L"New Tarvik Target List");
    EXPECT_EQ(ask.strText, L"Do you want to save Targets List before clear all data?");
    EXPECT_EQ(ask.uType, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(ask.hOwner, panel.GetSafeHwnd());
    EXPECT_EQ(std::filesystem::file_size(DefaultFile()), 62u);
}

TEST_F(SnipDlgTest, NewWithYesThenCancelChangesNothing) {
    WriteList(3, DefaultFile());
    const std::vector<uint8_t> before = FileBytes(DefaultFile());
    CSnipDlg& panel = OpenPanel();
    m_prompts.m_messageAnswers = {IDYES};
    m_prompts.m_fileAnswers = {std::nullopt};
    panel.NewTargetList();
    ASSERT_EQ(m_prompts.m_calls.size(), 2u);
    EXPECT_EQ(m_prompts.m_calls[1].strKind, L"save");
    EXPECT_EQ(panel.TargetList().Count(), 3u);
    EXPECT_EQ(TileRects().size(), 3u);
    EXPECT_EQ(FileBytes(DefaultFile()), before);
}

TEST_F(SnipDlgTest, NewWithYesSavesFirst) {
    WriteList(2, DefaultFile());
    CSnipDlg& panel = OpenPanel();
    const std::filesystem::path saved = Folder() / L"kept.trvk";
    m_prompts.m_messageAnswers = {IDYES};
    m_prompts.m_fileAnswers = {saved.wstring()};
    panel.NewTargetList();
    EXPECT_EQ(Names(*LoadTargetListFile(saved)),
              (std::vector<std::u16string>{u"Target 0", u"Target 1"}));
    EXPECT_TRUE(panel.TargetList().IsEmpty());
    EXPECT_TRUE(TileRects().empty());
}

TEST_F(SnipDlgTest, SaveOffersTheDatedNameAndEnforcesTheExtension) {
    WriteList(2, DefaultFile());
    CSnipDlg& panel = OpenPanel();
    struct {
        const wchar_t* pszChosen;
        const wchar_t* pszWritten;
    } const cases[] = {
        {L"list.TRVK", L"list.TRVK"},
        {L"list.txt", L"list.txt.trvk"},
        {L"plain", L"plain.trvk"},
    };
    for (const auto& c : cases) {
        m_prompts.m_calls.clear();
        m_prompts.m_fileAnswers = {(Folder() / c.pszChosen).wstring()};
        EXPECT_TRUE(panel.SaveTargetListAs());
        ASSERT_EQ(m_prompts.m_calls.size(), 1u);
        const CFileDialogParams& params = m_prompts.m_calls[0].params;
        EXPECT_TRUE(std::regex_match(params.strFileName,
                                     std::wregex(LR"(Tarvik-\d{4}-\d\d-\d\d-\d\d-\d\d-\d\d)")))
            << params.strFileName;
        EXPECT_EQ(params.strDefaultExt, L"trvk");
        EXPECT_EQ(params.strFilter, L"Tarvik Files (*.trvk)|*.trvk|All Files (*.*)|*.*||");
        EXPECT_EQ(params.dwFlags, static_cast<DWORD>(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT));
        EXPECT_EQ(Names(*LoadTargetListFile(Folder() / c.pszWritten)).size(), 2u) << c.pszWritten;
    }
    EXPECT_FALSE(std::filesystem::exists(Folder() / L"list.TRVK.trvk"));
}

TEST_F(SnipDlgTest, SaveThatCannotWriteReportsTheFileAndKeepsTheOldOne) {
    WriteList(2, DefaultFile());
    CSnipDlg& panel = OpenPanel();
    const std::filesystem::path target = Folder() / L"locked.trvk";
    WriteList(5, target, 99);
    const std::vector<uint8_t> before = FileBytes(target);
    ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
    m_prompts.m_fileAnswers = {target.wstring()};
    EXPECT_FALSE(panel.SaveTargetListAs());
    ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_EQ(m_prompts.m_calls.size(), 2u);
    const auto& box = m_prompts.m_calls[1];
    EXPECT_EQ(box.strCaption, L"Tarvik");
    EXPECT_NE(box.strText.find(target.wstring()), std::wstring::npos) << box.strText;
    EXPECT_EQ(box.uType, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(FileBytes(target), before);

    // New that wanted the list saved first goes no further when the save fails.
    m_prompts.m_calls.clear();
    ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
    m_prompts.m_messageAnswers = {IDYES};
    m_prompts.m_fileAnswers = {target.wstring()};
    panel.NewTargetList();
    ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(panel.TargetList().Count(), 2u);
}

TEST_F(SnipDlgTest, LoadReplacesTheListAndPlacesTilesByOrder) {
    CSnipDlg& panel = OpenPanel();
    // Written tail first, so that the file order is the reverse of the display order.
    CTargetObjList reversed;
    for (int k = 0; k < 3; ++k) {
        reversed.AddCaptured(MakeTarget(u"Reversed", 5, 5, static_cast<uint32_t>(k)));
    }
    const std::filesystem::path path = Folder() / L"reversed.trvk";
    SaveTargetListFile(reversed, path);

    m_prompts.m_fileAnswers = {path.wstring()};
    panel.LoadTargetList(L"");
    // An empty current list is replaced without a question.
    ASSERT_EQ(m_prompts.m_calls.size(), 1u);
    const CFileDialogParams& params = m_prompts.m_calls[0].params;
    EXPECT_EQ(m_prompts.m_calls[0].strKind, L"open");
    EXPECT_EQ(params.dwFlags, static_cast<DWORD>(OFN_HIDEREADONLY));
    EXPECT_TRUE(params.strDefaultExt.empty());
    EXPECT_TRUE(params.strFileName.empty());
    EXPECT_EQ(panel.TargetList().Count(), 3u);
    const std::vector<RECT> tiles = TileRects();
    ASSERT_EQ(tiles.size(), 3u);
    EXPECT_EQ(tiles[0].top, 6);
    EXPECT_EQ(tiles[1].top, 76);
    EXPECT_EQ(tiles[2].top, 146);
    EXPECT_TRUE(::IsWindowEnabled(panel.GetDlgItem(IDC_PLAY)));
}

TEST_F(SnipDlgTest, LoadOverATargetListAsksFirst) {
    WriteList(2, DefaultFile());
    const std::filesystem::path other = Folder() / L"other.trvk";
    WriteList(4, other, 50);
    CSnipDlg& panel = OpenPanel();

    // Yes, then a cancelled save dialog: nothing happens.
    m_prompts.m_messageAnswers = {IDYES};
    m_prompts.m_fileAnswers = {std::nullopt};
    panel.LoadTargetList(other.wstring());
    ASSERT_EQ(m_prompts.m_calls.size(), 2u);
    EXPECT_EQ(m_prompts.m_calls[0].strCaption, L"Load Tarvik Target List");
    EXPECT_EQ(m_prompts.m_calls[0].strText,
              L"Do you want to save previous Targets List before load new Targets?");
    EXPECT_EQ(panel.TargetList().Count(), 2u);

    // No: the file given is loaded without any file dialog.
    m_prompts.m_calls.clear();
    m_prompts.m_messageAnswers = {IDNO};
    panel.LoadTargetList(other.wstring());
    ASSERT_EQ(m_prompts.m_calls.size(), 1u);
    EXPECT_EQ(panel.TargetList().Count(), 4u);
    EXPECT_EQ(TileRects().size(), 4u);
}

TEST_F(SnipDlgTest, LoadThatFailsReportsThePathAndKeepsTheList) {
    WriteList(2, DefaultFile());
    const std::filesystem::path damaged = Folder() / L"damaged.trvk";
    std::vector<uint8_t> bytes = FileBytes(DefaultFile());
    bytes.resize(bytes.size() / 2);
    WriteBytes(damaged, bytes);
    const std::filesystem::path missing = Folder() / L"missing.trvk";
    const std::filesystem::path badPath = Folder() / L"no-such-folder" / L"x.trvk";
    struct {
        std::filesystem::path path;
        std::wstring strText;
    } const cases[] = {
        {missing, missing.wstring() + L" was not found."},
        {badPath, badPath.wstring() + L" contains an incorrect path."},
        {damaged, L"Unexpected file format."},
    };
    CSnipDlg& panel = OpenPanel();
    for (const auto& c : cases) {
        m_prompts.m_calls.clear();
        m_prompts.m_messageAnswers = {IDNO, IDOK};
        panel.LoadTargetList(c.path.wstring());
        ASSERT_EQ(m_prompts.m_calls.size(), 2u);
        const auto& box = m_prompts.m_calls[1];
        EXPECT_EQ(box.strCaption, L"Tarvik");
        EXPECT_EQ(box.uType, static_cast<UINT>(MB_OK | MB_ICONSTOP));
        if (c.path != damaged) {
            EXPECT_EQ(box.strText, c.strText);
        } else {
            EXPECT_FALSE(box.strText.empty());
        }
        // Nothing of the user's list is lost to a file that could not be read.
        EXPECT_EQ(panel.TargetList().Count(), 2u);
        EXPECT_EQ(TileRects().size(), 2u);
        EXPECT_TRUE(::IsWindowEnabled(panel.GetDlgItem(IDC_PLAY)));
    }
}

TEST_F(SnipDlgTest, DamagedDefaultFileIsReportedAndKeptAside) {
    WriteList(3, DefaultFile());
    std::vector<uint8_t> bytes = FileBytes(DefaultFile());
    bytes.resize(bytes.size() - 10);
    WriteBytes(DefaultFile(), bytes);
    CSnipDlg& panel = OpenPanel();
    ASSERT_EQ(m_prompts.m_calls.size(), 1u);
    EXPECT_EQ(m_prompts.m_calls[0].strCaption, L"Tarvik");
    EXPECT_TRUE(panel.TargetList().IsEmpty());
    EXPECT_FALSE(::IsWindowEnabled(panel.GetDlgItem(IDC_PLAY)));
    // The next autosave replaces the default file; the unreadable one stays beside it.
    ClosePanelNormally();
    EXPECT_EQ(std::filesystem::file_size(DefaultFile()), 62u);
    EXPECT_EQ(FileBytes(Folder() / L"Tarvik" / L"Default.unreadable.trvk"), bytes);
}

TEST_F(SnipDlgTest, MissingDefaultFileIsNotReported) {
    std::filesystem::remove_all(Folder() / L"Tarvik");
    CSnipDlg& panel = OpenPanel();
    EXPECT_TRUE(m_prompts.m_calls.empty());
    EXPECT_TRUE(panel.TargetList().IsEmpty());
    // The autosave creates the folder.
    m_prompts.m_messageAnswers = {IDNO};
    panel.NewTargetList();
    EXPECT_EQ(std::filesystem::file_size(DefaultFile()), 62u);
}

TEST_F(SnipDlgTest, HandleCountsReturnToTheirBaselineAfterNewAndLoadCycles) {
    const std::filesystem::path list = Folder() / L"cycle.trvk";
    WriteList(12, list, 7);
    WriteList(12, DefaultFile(), 7);
    CSnipDlg& panel = OpenPanel();
    PumpPendingMessages();
    const long nBaseline = CHandleCounts::Total();
    const UINT uCountMessage = ::RegisterWindowMessageW(kLiveHandleCountMessage);
    EXPECT_EQ(panel.SendMessage(uCountMessage), nBaseline);
    for (int i = 0; i < 5; ++i) {
        m_prompts.m_messageAnswers = {IDNO};
        panel.NewTargetList();
        panel.LoadTargetList(list.wstring());
        ::RedrawWindow(panel.GetSafeHwnd(), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpPendingMessages();
    }
    EXPECT_EQ(panel.TargetList().Count(), 12u);
    EXPECT_EQ(CHandleCounts::Total(), nBaseline);
}

TEST_F(SnipDlgTest, DefaultFileHeldOpenAtStartIsReportedAndNotLostToTheAutosave) {
    WriteList(3, DefaultFile());
    const std::vector<uint8_t> before = FileBytes(DefaultFile());
    HANDLE hLock = ::CreateFileW(DefaultFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(hLock, INVALID_HANDLE_VALUE);
    CSnipDlg& panel = OpenPanel();
    ::CloseHandle(hLock);
    ASSERT_EQ(m_prompts.m_calls.size(), 1u);
    EXPECT_EQ(m_prompts.m_calls[0].strText,
              L"Encountered a sharing violation while accessing " + DefaultFile().wstring() + L".");
    EXPECT_TRUE(panel.TargetList().IsEmpty());
    // The close writes the (empty) current list, but only after the old file is safe.
    ClosePanelNormally();
    EXPECT_EQ(std::filesystem::file_size(DefaultFile()), 62u);
    EXPECT_EQ(FileBytes(Folder() / L"Tarvik" / L"Default.unreadable.trvk"), before);
}
