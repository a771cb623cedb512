// The events in the board's log, with the writer's line format and the harnesses' parser.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct BoardEvent {
    enum class Kind { Start, Ready, Down, Up, Setting, Show, Hide, Move };

    Kind kind = Kind::Start;
    // Screen point of Down, Up and Move; 0 otherwise.
    int32_t x = 0;
    int32_t y = 0;
    // The board's GetTickCount64() when the event happened.
    uint64_t nTickMs = 0;
    // wParam of Setting, picture index of Show, Hide and Move; 0 otherwise.
    uint64_t nValue = 0;

    friend bool operator==(const BoardEvent&, const BoardEvent&) = default;
};

// One log line for `event`, ending in "\n" (the format is in BoardProtocol.h).
std::string FormatBoardEvent(const BoardEvent& event);

// Reads one line without its end ("\r" before the "\n" is allowed); nothing when it is not a
// well-formed event line.
std::optional<BoardEvent> ParseBoardEvent(std::string_view strLine);

// The events of a log's text in order. Only lines ending in "\n" count: the board may be
// writing the last one right now. Lines that are not well-formed events are skipped.
std::vector<BoardEvent> ParseBoardLog(std::string_view strText);

// ParseBoardLog of the file's current contents; empty when it cannot be read (yet).
std::vector<BoardEvent> ReadBoardLog(const std::filesystem::path& file);

// The number of events of `kind` in `events`.
size_t CountBoardEvents(const std::vector<BoardEvent>& events, BoardEvent::Kind kind);
