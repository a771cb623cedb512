// A scene for Tarvik to play in: targets made from the board's pictures, the default list that
// holds them, the board that shows them, and Tarvik's sight window seen from outside.
#pragma once

#include "engine/PixelBuffer.h"
#include "model/TargetObjList.h"
#include "tests/board/BoardArguments.h"

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>

struct PlayTarget {
    std::u16string strName;
    uint32_t nSeed = 1;  // MakeBoardPicture's seed; the demo picture's seed gives the demo picture
    int32_t nWidth = 24;
    int32_t nHeight = 16;
    Point topLeft;     // where the board shows it
    Point clickShift;  // the target's click shift
    // Used instead of the seed's picture when set; nWidth and nHeight must be its size.
    std::optional<PixelBuffer> picture;
};

// The target's picture: what the board shows for `target`.
PixelBuffer PictureOf(const PlayTarget& target);
// Where a play step clicks `target` shown at its place: the found centre plus the click shift.
Point ClickPointOf(const PlayTarget& target);

// The targets as a list, ordered 0, 1, ... as given. Each area picture is 100 x 100 of the
// board's grey with the target's picture in the middle, as a capture of the board would give, so
// the panel's tile shows the target picture too.
std::unique_ptr<CTargetObjList> MakePlayList(std::span<const PlayTarget> targets);
// MakePlayList written to `path` with the program's writer.
void WritePlayList(std::span<const PlayTarget> targets, const std::filesystem::path& path);

// The board's command line for `targets`: each picture written as a BMP into `folder`, the log at
// `logFile`. Pictures with an index in `hidden` start hidden; `window` bounds the board's window
// (the whole screen but its last row when not given).
BoardArguments BoardArgumentsFor(std::span<const PlayTarget> targets,
                                 const std::filesystem::path& folder,
                                 const std::filesystem::path& logFile,
                                 std::span<const size_t> hidden = {},
                                 std::optional<Rect> window = {});

// Tarvik's sight window when it is shown: a visible 64 x 64 top-level window of the process
// other than its main window; null otherwise.
HWND FindShownSight(DWORD nProcessId, HWND hMain);
