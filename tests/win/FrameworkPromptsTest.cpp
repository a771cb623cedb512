// The prompts seam: replacements answer and record, the Win32 prompts answer a real user, and
// the file filter conversion.
#include "framework/FileFilter.h"
#include "framework/UserPrompts.h"

#include "tests/win/FrameworkTestUtil.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

TEST(FrameworkPrompts, InstalledReplacementAnswersAndRecords) {
    CScriptedPrompts scripted;
    scripted.m_messageAnswers = {IDNO};
    scripted.m_fileAnswers = {L"C:\\lists\\mine.trvk"s, std::nullopt};
    IUserPrompts* const pDefault = &Prompts();
    {
        CPromptsOverride override(scripted);
        EXPECT_EQ(&Prompts(), &scripted);
        EXPECT_EQ(Prompts().MessageBox(nullptr, L"Save changes?", L"Tarvik",
                                       MB_YESNOCANCEL | MB_ICONQUESTION),
                  IDNO);
        CFileDialogParams params;
        params.strFilter = L"Target lists (*.trvk)|*.trvk||";
        params.strDefaultExt = L"trvk";
        params.strFileName = L"Default";
        EXPECT_EQ(Prompts().ChooseOpenFile(nullptr, params), L"C:\\lists\\mine.trvk");
        EXPECT_EQ(Prompts().ChooseSaveFile(nullptr, params), std::nullopt);
    }
    EXPECT_EQ(&Prompts(), pDefault);

    ASSERT_EQ(scripted.m_calls.size(), 3u);
    EXPECT_EQ(scripted.m_calls[0].strKind, L"message");
    EXPECT_EQ(scripted.m_calls[0].strText, L"Save changes?");
    EXPECT_EQ(scripted.m_calls[0].uType, static_cast<UINT>(MB_YESNOCANCEL | MB_ICONQUESTION));
    EXPECT_EQ(scripted.m_calls[1].strKind, L"open");
    EXPECT_EQ(scripted.m_calls[1].params.strDefaultExt, L"trvk");
    EXPECT_EQ(scripted.m_calls[2].strKind, L"save");
    EXPECT_EQ(scripted.m_calls[2].strText, L"Default");
}

TEST(FrameworkPrompts, NestedReplacementsComeOffInOrder) {
    CScriptedPrompts outer;
    CScriptedPrompts inner;
    CPromptsOverride outerOverride(outer);
    {
        CPromptsOverride innerOverride(inner);
        EXPECT_EQ(&Prompts(), &inner);
    }
    EXPECT_EQ(&Prompts(), &outer);
}

TEST(FrameworkPrompts, Win32MessageBoxReturnsTheButtonPressed) {
    CDialogAnswerer answerer(IDNO);
    EXPECT_EQ(Prompts().MessageBox(nullptr, L"Answer no", L"Framework prompt", MB_YESNO), IDNO);
    ASSERT_EQ(answerer.Answered().size(), 1u);
    EXPECT_EQ(answerer.Answered()[0], L"Framework prompt");
}

// A file name in the temporary folder that does not exist yet (so no overwrite question).
std::wstring FreshTempName(const wchar_t* pszStem) {
    wchar_t szFolder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, szFolder);
    std::wstring strPath =
        szFolder + std::wstring(pszStem) + std::to_wstring(GetCurrentProcessId());
    DeleteFileW((strPath + L".trvk").c_str());
    return strPath;
}

TEST(FrameworkPrompts, Win32SaveDialogAddsTheDefaultExtension) {
    const std::wstring strStem = FreshTempName(L"fw-save-");
    CFileDialogParams params;
    params.strFilter = L"Tarvik target lists (*.trvk)|*.trvk|All Files (*.*)|*.*||";
    params.strDefaultExt = L".trvk";
    params.strFileName = strStem;
    CDialogAnswerer answerer(IDOK);
    const std::optional<std::wstring> chosen = Prompts().ChooseSaveFile(nullptr, params);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, strStem + L".trvk");
    EXPECT_EQ(answerer.Answered().size(), 1u);
}

TEST(FrameworkPrompts, Win32OpenDialogCancelledGivesNothing) {
    CFileDialogParams params;
    params.strFilter = L"Tarvik target lists (*.trvk)|*.trvk||";
    params.dwFlags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST;
    CDialogAnswerer answerer(IDCANCEL);
    EXPECT_EQ(Prompts().ChooseOpenFile(nullptr, params), std::nullopt);
    EXPECT_EQ(answerer.Answered().size(), 1u);
}

TEST(FrameworkFileFilter, PairsBecomeNulSeparatedWithADoubleNulEnd) {
    EXPECT_EQ(MakeDoubleNulFilter(L"Tarvik target lists (*.trvk)|*.trvk|All Files (*.*)|*.*||"),
              L"Tarvik target lists (*.trvk)\0*.trvk\0All Files (*.*)\0*.*\0\0"s);
    EXPECT_EQ(MakeDoubleNulFilter(L"Pictures|*.bmp;*.png||"), L"Pictures\0*.bmp;*.png\0\0"s);
}

TEST(FrameworkFileFilter, MissingEndMarkIsSupplied) {
    EXPECT_EQ(MakeDoubleNulFilter(L"Lists|*.trvk"), L"Lists\0*.trvk\0\0"s);
    EXPECT_EQ(MakeDoubleNulFilter(L"Lists|*.trvk|"), L"Lists\0*.trvk\0\0"s);
}

TEST(FrameworkFileFilter, TextAfterTheEndMarkAndNamesWithoutPatternsAreDropped) {
    EXPECT_EQ(MakeDoubleNulFilter(L"Lists|*.trvk||Ignored|*.x||"), L"Lists\0*.trvk\0\0"s);
    EXPECT_EQ(MakeDoubleNulFilter(L"Lists|*.trvk|Orphan"), L"Lists\0*.trvk\0\0"s);
    EXPECT_EQ(MakeDoubleNulFilter(L"Lists||"), L""s);
}

TEST(FrameworkFileFilter, NothingToShowGivesAnEmptyFilter) {
    EXPECT_EQ(MakeDoubleNulFilter(L""), L""s);
    EXPECT_EQ(MakeDoubleNulFilter(L"||"), L""s);
    EXPECT_EQ(MakeDoubleNulFilter(L"|*.trvk||"), L""s);
}

TEST(FrameworkFileFilter, DefaultExtensionLosesItsDot) {
    EXPECT_EQ(ExtensionWithoutDot(L".trvk"), L"trvk");
    EXPECT_EQ(ExtensionWithoutDot(L"trvk"), L"trvk");
    EXPECT_EQ(ExtensionWithoutDot(L""), L"");
}

}  // namespace
