// The hyperlink's error texts, its fallback command line and the help page's rewrite rule.
#include "ui/LinkOpenRules.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

TEST(LinkOpenRules, ErrorTextNamesTheReasonForEachResult) {
    const struct {
        std::intptr_t nResult;
        std::wstring strReason;
    } kCases[] = {
        {0, L"The operating system is out\nof memory or resources."},
        {2, L"The specified file was not found."},
        {3, L"The specified path was not found."},
        {5, L"The operating system denied\naccess to the specified file."},
        {8, L"There was not enough memory to complete the operation."},
        {11, L"The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
        {26, L"A sharing violation occurred. "},
        {27, L"The filename association is\nincomplete or invalid."},
        {28, L"The DDE transaction could not\nbe completed because the request timed out."},
        {29, L"The DDE transaction failed."},
        {30,
         L"The DDE transaction could not\nbe completed because other DDE transactions\n"
         L"were being processed."},
        {31, L"There is no application associated\nwith the given filename extension."},
        {32, L"The specified dynamic-link library was not found."},
        {1, L"Unknown Error (1) occurred."},
        {4, L"Unknown Error (4) occurred."},
        {-7, L"Unknown Error (-7) occurred."},
        {33, L"Unknown Error (33) occurred."},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(LinkOpenErrorText(c.nResult), L"Unable to open hyperlink:\n\n" + c.strReason)
            << "result " << c.nResult;
    }
}

TEST(LinkOpenRules, FallbackCutsTheCommandAtItsArgument) {
    const struct {
        std::wstring strCommand;
        std::wstring strUrl;
        std::wstring strLine;
    } kCases[] = {
        {L"\"C:\\b\\web.exe\" -nohome \"%1\"", L"C:\\p a\\h.htm",
         L"\"C:\\b\\web.exe\" -nohome  \"C:\\p a\\h.htm\""},
        {L"C:\\b\\web.exe %1 -x", L"C:\\p\\h.htm", L"C:\\b\\web.exe  C:\\p\\h.htm"},
        // The quoted form wins over an earlier bare one.
        {L"web.exe %1x \"%1\"", L"https://a.b/c", L"web.exe %1x  https://a.b/c"},
        {L"web.exe -new", L"C:\\p\\h.htm", L"web.exe -new C:\\p\\h.htm"},
        {L"web.exe", L"\"C:\\p a\\h.htm\"", L"web.exe \"C:\\p a\\h.htm\""},
        {L"", L"h.htm", L" h.htm"},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(FallbackCommandLine(c.strCommand, c.strUrl), c.strLine) << c.strCommand;
    }
}

TEST(LinkOpenRules, WritesThePageOnlyWhenItsBytesDiffer) {
    const auto folder = std::filesystem::path(::testing::TempDir()) / "link-open-rules";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const auto page = folder / "help.htm";
    const auto read = [&] {
        std::ifstream in(page, std::ios::binary);
        return std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    };

    ASSERT_TRUE(WriteFileIfDifferent(page, "<p>one</p>"));
    EXPECT_EQ(read(), "<p>one</p>");
    const auto written = std::filesystem::last_write_time(page);
    std::filesystem::last_write_time(page, written - std::chrono::hours(1));
    ASSERT_TRUE(WriteFileIfDifferent(page, "<p>one</p>"));
    EXPECT_EQ(std::filesystem::last_write_time(page), written - std::chrono::hours(1))
        << "an unchanged page was written again";
    ASSERT_TRUE(WriteFileIfDifferent(page, "<p>a longer two</p>"));
    EXPECT_EQ(read(), "<p>a longer two</p>");
    ASSERT_TRUE(WriteFileIfDifferent(page, "<p>3</p>"));
    EXPECT_EQ(read(), "<p>3</p>");

    std::filesystem::create_directory(folder / "taken.htm");
    EXPECT_FALSE(WriteFileIfDifferent(folder / "taken.htm", "x"));
    EXPECT_FALSE(WriteFileIfDifferent(folder / "missing" / "h.htm", "x"));
    std::filesystem::remove_all(folder);
}

}  // namespace
