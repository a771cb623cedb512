// Parsing and building the board's command line.
#include "tests/board/BoardArguments.h"

#include "tests/board/BoardProtocol.h"

#include <cstdint>
#include <string_view>

namespace {

// The range of a signed 16-bit value, which the move message carries.
constexpr int32_t kMinCoordinate = -32768;
constexpr int32_t kMaxCoordinate = 32767;

// A decimal integer with an optional sign, within the coordinate range.
std::optional<int32_t> ParseCoordinate(std::wstring_view strText) {
    bool bNegative = false;
    if (!strText.empty() && (strText.front() == L'-' || strText.front() == L'+')) {
        bNegative = strText.front() == L'-';
        strText.remove_prefix(1);
    }
    if (strText.empty() || strText.size() > 6) {
        return std::nullopt;
    }
    int32_t nValue = 0;
    for (const wchar_t ch : strText) {
        if (ch < L'0' || ch > L'9') {
            return std::nullopt;
        }
        nValue = nValue * 10 + (ch - L'0');
    }
    if (bNegative) {
        nValue = -nValue;
    }
    if (nValue < kMinCoordinate || nValue > kMaxCoordinate) {
        return std::nullopt;
    }
    return nValue;
}

// Reads "X Y" at `arguments[nIndex]`, for the option `strOption`.
std::optional<Point> ParsePoint(std::span<const std::wstring> arguments, size_t nIndex,
                                std::wstring_view strOption, std::wstring& strError) {
    if (nIndex + 1 >= arguments.size()) {
        strError = std::wstring(strOption) + L" needs a screen point X Y";
        return std::nullopt;
    }
    const std::optional<int32_t> x = ParseCoordinate(arguments[nIndex]);
    const std::optional<int32_t> y = ParseCoordinate(arguments[nIndex + 1]);
    if (!x || !y) {
        strError = std::wstring(strOption) + L": \"" + arguments[nIndex] + L" " +
                   arguments[nIndex + 1] + L"\" is not a screen point (whole numbers from " +
                   std::to_wstring(kMinCoordinate) + L" to " + std::to_wstring(kMaxCoordinate) +
                   L")";
        return std::nullopt;
    }
    return Point{*x, *y};
}

void AppendQuoted(std::wstring& strLine, const std::wstring& strArgument) {
    if (!strArgument.empty() && strArgument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        strLine += strArgument;
        return;
    }
    // Backslashes count only before a quote: double those, and escape the quote itself.
    strLine += L'"';
    size_t nBackslashes = 0;
    for (const wchar_t ch : strArgument) {
        if (ch == L'\\') {
            ++nBackslashes;
            continue;
        }
        if (ch == L'"') {
            strLine.append(nBackslashes * 2 + 1, L'\\');
        } else {
            strLine.append(nBackslashes, L'\\');
        }
        nBackslashes = 0;
        strLine += ch;
    }
    strLine.append(nBackslashes * 2, L'\\');
    strLine += L'"';
}

}  // namespace

std::optional<BoardArguments> ParseBoardArguments(std::span<const std::wstring> arguments,
                                                  std::wstring& strError) {
    BoardArguments result;
    bool bHaveLog = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring& strOption = arguments[i];
        if (strOption == kBoardArgLog) {
            if (bHaveLog) {
                strError = L"--log is given twice";
                return std::nullopt;
            }
            if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
                strError = L"--log needs a file name";
                return std::nullopt;
            }
            result.logFile = arguments[++i];
            bHaveLog = true;
        } else if (strOption == kBoardArgPicture) {
            if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
                strError = L"--picture needs a BMP file and a screen point X Y";
                return std::nullopt;
            }
            const std::optional<Point> topLeft = ParsePoint(arguments, i + 2, strOption, strError);
            if (!topLeft) {
                return std::nullopt;
            }
            result.pictures.push_back({arguments[i + 1], *topLeft, false});
            i += 3;
        } else if (strOption == kBoardArgDemoPicture) {
            const std::optional<Point> topLeft = ParsePoint(arguments, i + 1, strOption, strError);
            if (!topLeft) {
                return std::nullopt;
            }
            result.pictures.push_back({{}, *topLeft, false});
            i += 2;
        } else if (strOption == kBoardArgWindow) {
            const std::optional<Point> topLeft = ParsePoint(arguments, i + 1, strOption, strError);
            const std::optional<Point> size =
                topLeft ? ParsePoint(arguments, i + 3, strOption, strError) : std::nullopt;
            if (!size) {
                return std::nullopt;
            }
            if (size->x < 1 || size->y < 1) {
                strError = L"--window needs a width and height of at least 1";
                return std::nullopt;
            }
            result.window =
                Rect{topLeft->x, topLeft->y, topLeft->x + size->x, topLeft->y + size->y};
            i += 4;
        } else if (strOption == kBoardArgHidden) {
            if (result.pictures.empty() || result.pictures.back().bHidden) {
                strError = L"--hidden must follow a --picture or --demo-picture (once)";
                return std::nullopt;
            }
            result.pictures.back().bHidden = true;
        } else {
            strError = L"unknown argument \"" + strOption + L"\"";
            return std::nullopt;
        }
    }
    if (!bHaveLog) {
        strError = L"--log FILE is required";
        return std::nullopt;
    }
    return result;
}

std::vector<std::wstring> BoardArgumentList(const BoardArguments& arguments) {
    std::vector<std::wstring> list{std::wstring(kBoardArgLog), arguments.logFile.wstring()};
    if (const std::optional<Rect>& window = arguments.window) {
        list.emplace_back(kBoardArgWindow);
        for (const int32_t nValue : {window->left, window->top, window->right - window->left,
                                     window->bottom - window->top}) {
            list.push_back(std::to_wstring(nValue));
        }
    }
    for (const BoardPictureArgument& picture : arguments.pictures) {
        if (picture.file.empty()) {
            list.emplace_back(kBoardArgDemoPicture);
        } else {
            list.emplace_back(kBoardArgPicture);
            list.push_back(picture.file.wstring());
        }
        list.push_back(std::to_wstring(picture.topLeft.x));
        list.push_back(std::to_wstring(picture.topLeft.y));
        if (picture.bHidden) {
            list.emplace_back(kBoardArgHidden);
        }
    }
    return list;
}

std::wstring BuildCommandLine(const std::wstring& strProgram,
                              std::span<const std::wstring> arguments) {
    std::wstring strLine;
    AppendQuoted(strLine, strProgram);
    for (const std::wstring& strArgument : arguments) {
        strLine += L' ';
        AppendQuoted(strLine, strArgument);
    }
    return strLine;
}
