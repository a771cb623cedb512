// Writing and reading the lines of the board's log.
#include "tests/board/BoardLog.h"

#include "tests/board/BoardProtocol.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>

namespace {

struct KindName {
    BoardEvent::Kind kind;
    std::string_view strName;
    bool bHasPoint;  // "X Y" before T
    bool bHasValue;  // "W" or "I" first
};

constexpr KindName kKindNames[] = {
    {BoardEvent::Kind::Start, kBoardLogStart, false, false},
    {BoardEvent::Kind::Ready, kBoardLogReady, false, false},
    {BoardEvent::Kind::Down, kBoardLogDown, true, false},
    {BoardEvent::Kind::Up, kBoardLogUp, true, false},
    {BoardEvent::Kind::Setting, kBoardLogSetting, false, true},
    {BoardEvent::Kind::Show, kBoardLogShow, false, true},
    {BoardEvent::Kind::Hide, kBoardLogHide, false, true},
    {BoardEvent::Kind::Move, kBoardLogMove, true, true},
};

const KindName& NameOf(BoardEvent::Kind kind) {
    return *std::find_if(std::begin(kKindNames), std::end(kKindNames),
                         [kind](const KindName& name) { return name.kind == kind; });
}

// Splits off the next word of `strLine` (words are separated by single spaces).
std::string_view NextWord(std::string_view& strLine) {
    const size_t nEnd = std::min(strLine.find(' '), strLine.size());
    const std::string_view strWord = strLine.substr(0, nEnd);
    strLine.remove_prefix(nEnd == strLine.size() ? nEnd : nEnd + 1);
    return strWord;
}

template <class TNumber>
bool ReadNumber(std::string_view& strLine, TNumber& nValue) {
    const std::string_view strWord = NextWord(strLine);
    if (strWord.empty()) {
        return false;
    }
    const char* pEnd = strWord.data() + strWord.size();
    const auto [pStop, error] = std::from_chars(strWord.data(), pEnd, nValue);
    return error == std::errc() && pStop == pEnd;
}

}  // namespace

std::string FormatBoardEvent(const BoardEvent& event) {
    const KindName& name = NameOf(event.kind);
    std::string strLine(name.strName);
    if (name.bHasValue) {
        strLine += ' ' + std::to_string(event.nValue);
    }
    if (name.bHasPoint) {
        strLine += ' ' + std::to_string(event.x) + ' ' + std::to_string(event.y);
    }
    strLine += ' ' + std::to_string(event.nTickMs) + '\n';
    return strLine;
}

std::optional<BoardEvent> ParseBoardEvent(std::string_view strLine) {
    if (!strLine.empty() && strLine.back() == '\r') {
        strLine.remove_suffix(1);
    }
    const std::string_view strKind = NextWord(strLine);
    const auto pName =
        std::find_if(std::begin(kKindNames), std::end(kKindNames),
                     [strKind](const KindName& name) { return name.strName == strKind; });
    if (pName == std::end(kKindNames)) {
        return std::nullopt;
    }
    BoardEvent event;
    event.kind = pName->kind;
    if (pName->bHasValue && !ReadNumber(strLine, event.nValue)) {
        return std::nullopt;
    }
    if (pName->bHasPoint && (!ReadNumber(strLine, event.x) || !ReadNumber(strLine, event.y))) {
        return std::nullopt;
    }
    if (!ReadNumber(strLine, event.nTickMs) || !strLine.empty()) {
        return std::nullopt;
    }
    return event;
}

std::vector<BoardEvent> ParseBoardLog(std::string_view strText) {
    std::vector<BoardEvent> events;
    for (size_t nEnd = strText.find('\n'); nEnd != std::string_view::npos;
         nEnd = strText.find('\n')) {
        if (const std::optional<BoardEvent> event = ParseBoardEvent(strText.substr(0, nEnd))) {
            events.push_back(*event);
        }
        strText.remove_prefix(nEnd + 1);
    }
    return events;
}

std::vector<BoardEvent> ReadBoardLog(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        return {};
    }
    const std::string strText{std::istreambuf_iterator<char>(stream),
                              std::istreambuf_iterator<char>()};
    return ParseBoardLog(strText);
}

size_t CountBoardEvents(const std::vector<BoardEvent>& events, BoardEvent::Kind kind) {
    return static_cast<size_t>(
        std::count_if(events.begin(), events.end(),
                      [kind](const BoardEvent& event) { return event.kind == kind; }));
}
