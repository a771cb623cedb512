// tarvik-play-demo.exe: shows Tarvik doing its job on a screen nobody watches. It starts the
// test board with its built-in picture, gives Tarvik a target list with that picture, presses
// Play with the pointer as a person would, saves a screenshot while Tarvik glides to the picture
// with its marker shown, and prints where Tarvik clicked and what the board received.
// Usage: tarvik-play-demo.exe SCREENSHOT.png
#include "engine/PictureSearch.h"
#include "tests/board/BoardPicture.h"
#include "tests/board/BoardProcess.h"
#include "tests/e2e/PlayScene.h"
#include "tests/e2e/RealInput.h"
#include "tests/e2e/ScreenShot.h"
#include "tests/e2e/TarvikProcess.h"
#include "tests/e2e/TarvikState.h"
#include "tests/e2e/TarvikWindows.h"
#include "tests/e2e/Waiting.h"

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

// The sight marker's yellow ring, as B, G, R, 0.
constexpr uint32_t kSightYellow = 0x00FFF200;
// Where the board shows the picture: well away from the panel in the middle of the screen, so
// the glide is long enough to be seen.
constexpr Point kPictureTopLeft{180, 760};

void Say(const std::string& strLine) {
    std::printf("demo: %s\n", strLine.c_str());
    std::fflush(stdout);
}

std::string PointText(Point pt) {
    return "(" + std::to_string(pt.x) + ", " + std::to_string(pt.y) + ")";
}

size_t YellowPixelsIn(const PixelBuffer& screen, const RECT& rc) {
    size_t nCount = 0;
    for (LONG y = std::max(0L, rc.top); y < std::min<LONG>(screen.Height(), rc.bottom); ++y) {
        for (LONG x = std::max(0L, rc.left); x < std::min<LONG>(screen.Width(), rc.right); ++x) {
            nCount += (screen.At(x, y) & 0x00FFFFFFu) == kSightYellow ? 1 : 0;
        }
    }
    return nCount;
}

int Fail(const std::string& strWhy) {
    std::fprintf(stderr, "demo: FAILED: %s\n", strWhy.c_str());
    return 1;
}

int RunDemo(const std::filesystem::path& screenshot) {
    const PlayTarget target{u"Demo button",
                            kDemoPictureSeed,
                            kDemoPictureWidth,
                            kDemoPictureHeight,
                            kPictureTopLeft,
                            {0, 0},
                            {}};
    const Point ptExpected = ClickPointOf(target);

    WritePlayList(std::vector<PlayTarget>{target}, DefaultListPath());
    Say("wrote a target list with one target, the board's " + std::to_string(target.nWidth) +
        " x " + std::to_string(target.nHeight) + " picture, as Tarvik's default list");

    BoardArguments arguments;
    arguments.logFile = std::filesystem::temp_directory_path() / "tarvik-play-demo.log";
    arguments.pictures.push_back({{}, kPictureTopLeft, false});
    const CBoardProcess board(arguments);
    if (!board.IsReady()) {
        return Fail("the test board did not start");
    }
    Say("the test board shows its picture at " + PointText(kPictureTopLeft));

    CTarvikProcess tarvik;
    const HWND hMain = tarvik.Started() ? tarvik.WaitForMainWindow() : nullptr;
    if (hMain == nullptr) {
        return Fail("Tarvik did not start");
    }
    WaitForInputIdle(tarvik.Handle(), kReactionTimeoutMs);
    const HWND hPlay = GetDlgItem(hMain, kIdPlay);
    if (!IsWindowEnabled(hPlay)) {
        return Fail("Play is disabled: Tarvik did not load the list");
    }
    Say("Tarvik started with the list; pressing Play with the pointer");
    ClickAt(CentreOf(ScreenRectOf(hPlay)));

    HWND hSight = nullptr;
    if (!WaitUntil([&] { return (hSight = FindShownSight(tarvik.Id(), hMain)) != nullptr; },
                   kReactionTimeoutMs, 1)) {
        return Fail("Tarvik showed no sight marker");
    }
    // The marker paints a moment after it shows; the glide lasts a few hundred milliseconds.
    PixelBuffer screen;
    WaitUntil(
        [&] {
            screen = CaptureScreen();
            return YellowPixelsIn(screen, ScreenRectOf(hSight)) > 100 ||
                   FindShownSight(tarvik.Id(), hMain) == nullptr;
        },
        kReactionTimeoutMs, 1);
    if (SavePng(screen, screenshot)) {
        Say("screenshot during the glide, sight marker at " +
            PointText(Point{ScreenRectOf(hSight).left + 32, ScreenRectOf(hSight).top + 32}) + ": " +
            screenshot.string());
    }

    if (!board.WaitForEvents([](const std::vector<BoardEvent>& events) {
            return CountBoardEvents(events, BoardEvent::Kind::Up) >= 1;
        })) {
        return Fail("the board received no click");
    }
    POINT ptCursor{};
    GetCursorPos(&ptCursor);
    Say("Tarvik clicked at " + PointText(Point{ptCursor.x, ptCursor.y}) +
        ": the centre of the picture it found at " + PointText(kPictureTopLeft));
    bool bExact = true;
    for (const BoardEvent& event : board.Events()) {
        if (event.kind == BoardEvent::Kind::Down || event.kind == BoardEvent::Kind::Up) {
            const bool bDown = event.kind == BoardEvent::Kind::Down;
            Say(std::string("the board received a left-button ") + (bDown ? "press" : "release") +
                " at " + PointText(Point{event.x, event.y}));
            bExact = bExact && event.x == ptExpected.x && event.y == ptExpected.y;
        }
    }

    PostMessageW(hMain, WM_CLOSE, 0, 0);
    if (!tarvik.WaitForExit()) {
        return Fail("Tarvik did not close");
    }
    if (!bExact) {
        return Fail("the click did not land on " + PointText(ptExpected));
    }
    Say("Tarvik closed; the click landed exactly on " + PointText(ptExpected));
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tarvik-play-demo.exe SCREENSHOT.png\n");
        return 2;
    }
    try {
        return RunDemo(argv[1]);
    } catch (const std::exception& error) {
        return Fail(error.what());
    }
}
