// The platform-free core stays platform-free: none of its sources, nor the project headers they
// pull in, includes <windows.h> or a header of the Win32 halves (ui/, capture/, app/,
// framework/) other than the core's own. And the layers point one way: capture/ never reaches up
// into the panel's ui/.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <vector>

#ifndef TARVIK_SOURCE_DIR
#error "TARVIK_SOURCE_DIR must name the repository root"
#endif

namespace {

const std::filesystem::path kSourceDir = TARVIK_SOURCE_DIR;

std::vector<std::string> ReadLines(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The .cpp files listed in cmake/CoreSources.cmake, relative to the repository root.
std::set<std::string> CoreSources() {
    std::set<std::string> sources;
    for (const std::string& line : ReadLines(kSourceDir / "cmake" / "CoreSources.cmake")) {
        const std::string strPath = Trimmed(line);
        if (strPath.ends_with(".cpp") && strPath.find_first_of(" #()") == std::string::npos) {
            sources.insert(strPath);
        }
    }
    return sources;
}

struct Include {
    bool bAngled = false;
    std::string strName;
};

// The file an #include line names, or nothing for any other line.
std::optional<Include> IncludeOf(const std::string& line) {
    std::string rest = Trimmed(line);
    if (!rest.starts_with("#")) {
        return std::nullopt;
    }
    rest = Trimmed(rest.substr(1));
    if (!rest.starts_with("include")) {
        return std::nullopt;
    }
    rest = Trimmed(rest.substr(7));
    if (rest.empty() || (rest[0] != '<' && rest[0] != '"')) {
        return std::nullopt;
    }
    const size_t end = rest.find(rest[0] == '<' ? '>' : '"', 1);
    if (end == std::string::npos) {
        return std::nullopt;
    }
    return Include{rest[0] == '<', rest.substr(1, end - 1)};
}

// Why including `include` breaks the core, or empty when it may: Win32 headers never, headers of
// the Win32 folders only when their .cpp is itself in the core (a core half beside a Win32 half).
std::string Violation(const Include& include, const std::set<std::string>& coreSources) {
    static const std::set<std::string> kWin32Headers = {"windows.h",  "windef.h",  "winuser.h",
                                                        "wingdi.h",   "winbase.h", "shlobj.h",
                                                        "shellapi.h", "commctrl.h"};
    std::string strLower = include.strName;
    for (char& c : strLower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (include.bAngled) {
        return kWin32Headers.contains(strLower) ? "a Win32 header" : "";
    }
    for (const char* pszFolder : {"ui/", "capture/", "app/", "framework/"}) {
        if (include.strName.starts_with(pszFolder)) {
            const std::filesystem::path twin =
                std::filesystem::path(include.strName).replace_extension(".cpp");
            return coreSources.contains(twin.generic_string()) ? "" : "a Win32-half header";
        }
    }
    return "";
}

// The folders a file of each folder must not include from: the tiles and the capture sit below
// the panel that holds them.
struct FolderRule {
    const char* pszFolder;
    const char* pszForbidden;
};
constexpr FolderRule kFolderRules[] = {{"capture/", "ui/"}};

// Whether `strFile` (relative to the repository root) may not include `include`.
bool BreaksFolderRule(const std::string& strFile, const Include& include) {
    for (const FolderRule& rule : kFolderRules) {
        if (strFile.starts_with(rule.pszFolder) && !include.bAngled &&
            include.strName.starts_with(rule.pszForbidden)) {
            return true;
        }
    }
    return false;
}

}  // namespace

TEST(CoreLayering, TheFolderRuleKeepsCaptureBelowThePanel) {
    struct Case {
        const char* pszFile;
        const char* pszLine;
        bool bViolation;
    };
    const Case cases[] = {
        {"capture/TileGeometry.cpp", "#include \"ui/PanelGeometry.h\"", true},
        {"capture/TargetListView.h", "  #  include \"ui/SnipDlg.h\"", true},
        {"capture/TileGeometry.cpp", "#include \"capture/TileGeometry.h\"", false},
        {"capture/TargetMiniView.cpp", "#include \"framework/PaintDC.h\"", false},
        {"capture/TargetMiniView.cpp", "#include <ui/anything.h>", false},
        {"ui/SnipDlg.cpp", "#include \"capture/TargetListView.h\"", false},
        {"ui/SnipDlg.cpp", "#include \"ui/PanelGeometry.h\"", false},
    };
    for (const Case& c : cases) {
        const std::optional<Include> include = IncludeOf(c.pszLine);
        ASSERT_TRUE(include) << c.pszLine;
        EXPECT_EQ(BreaksFolderRule(c.pszFile, *include), c.bViolation)
            << c.pszFile << ": " << c.pszLine;
    }
}

TEST(CoreLayering, NoCaptureFileIncludesAPanelHeader) {
    size_t nFiles = 0;
    for (const FolderRule& rule : kFolderRules) {
        for (const auto& entry : std::filesystem::directory_iterator(kSourceDir / rule.pszFolder)) {
            const std::string strFile =
                std::string(rule.pszFolder) + entry.path().filename().generic_string();
            ++nFiles;
            for (const std::string& line : ReadLines(entry.path())) {
                const std::optional<Include> include = IncludeOf(line);
                EXPECT_FALSE(include && BreaksFolderRule(strFile, *include))
                    << strFile << " includes " << line;
            }
        }
    }
    ASSERT_GT(nFiles, 10u) << "capture/ not read from " << kSourceDir;
}

TEST(CoreLayering, TheRuleTellsCoreIncludesFromWin32Ones) {
    const std::set<std::string> core = {"ui/PanelGeometry.cpp", "model/Archive.cpp"};
    struct Case {
        const char* pszLine;
        bool bViolation;
    };
    const Case cases[] = {
        {"#include <windows.h>", true},
        {"#  include <Windows.h>  // comment", true},
        {"#include <shlobj.h>", true},
        {"#include \"framework/GdiObject.h\"", true},
        {"#include \"capture/TargetListView.h\"", true},
        {"#include \"app/RegistryKey.h\"", true},
        {"#include \"ui/SnipDlg.h\"", true},
        {"#include \"ui/PanelGeometry.h\"", false},
        {"#include \"model/Archive.h\"", false},
        {"#include \"engine/PixelBuffer.h\"", false},
        {"#include <vector>", false},
        {"// #include <windows.h> is not here", false},
    };
    for (const Case& c : cases) {
        const std::optional<Include> include = IncludeOf(c.pszLine);
        const bool bViolation = include && !Violation(*include, core).empty();
        EXPECT_EQ(bViolation, c.bViolation) << c.pszLine;
    }
}

TEST(CoreLayering, NoCoreSourceIncludesWin32OrAWin32HalfHeader) {
    const std::set<std::string> coreSources = CoreSources();
    ASSERT_GT(coreSources.size(), 20u) << "cmake/CoreSources.cmake not read from " << kSourceDir;
    // Every core source and, transitively, every project header it includes.
    std::vector<std::string> pending(coreSources.begin(), coreSources.end());
    std::set<std::string> seen(coreSources.begin(), coreSources.end());
    while (!pending.empty()) {
        const std::string strFile = pending.back();
        pending.pop_back();
        ASSERT_TRUE(std::filesystem::exists(kSourceDir / strFile)) << strFile;
        for (const std::string& line : ReadLines(kSourceDir / strFile)) {
            const std::optional<Include> include = IncludeOf(line);
            if (!include) {
                continue;
            }
            const std::string strWhy = Violation(*include, coreSources);
            EXPECT_TRUE(strWhy.empty()) << strFile << " includes " << strWhy << ": " << line;
            if (!include->bAngled && std::filesystem::exists(kSourceDir / include->strName) &&
                seen.insert(include->strName).second) {
                pending.push_back(include->strName);
            }
        }
    }
}
