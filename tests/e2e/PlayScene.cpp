// Targets, lists and board command lines for the play scenes.
#include "tests/e2e/PlayScene.h"

#include "engine/PictureSearch.h"
#include "model/BmpImage.h"
#include "model/TargetListFile.h"
#include "tests/board/BoardPicture.h"
#include "tests/board/BoardProtocol.h"
#include "tests/e2e/TarvikState.h"
#include "tests/e2e/TarvikWindows.h"

#include <algorithm>

namespace {

constexpr int32_t kAreaSize = 100;
constexpr int kSightSize = 64;

PixelBuffer AreaPictureOf(const PixelBuffer& picture) {
    PixelBuffer area(kAreaSize, kAreaSize);
    std::fill(area.Data(), area.Data() + kAreaSize * kAreaSize, kBoardBackgroundBgr0);
    const int32_t nLeft = (kAreaSize - picture.Width()) / 2;
    const int32_t nTop = (kAreaSize - picture.Height()) / 2;
    for (int32_t y = 0; y < picture.Height() && nTop + y < kAreaSize; ++y) {
        for (int32_t x = 0; x < picture.Width() && nLeft + x < kAreaSize; ++x) {
            area.Row(nTop + y)[nLeft + x] = picture.At(x, y);
        }
    }
    return area;
}

}  // namespace

PixelBuffer PictureOf(const PlayTarget& target) {
    if (target.picture) {
        return *target.picture;
    }
    return MakeBoardPicture(target.nSeed, target.nWidth, target.nHeight);
}

Point ClickPointOf(const PlayTarget& target) {
    const Point centre = PictureCentre(target.topLeft, target.nWidth, target.nHeight);
    return Point{centre.x + target.clickShift.x, centre.y + target.clickShift.y};
}

std::unique_ptr<CTargetObjList> MakePlayList(std::span<const PlayTarget> targets) {
    auto pList = std::make_unique<CTargetObjList>();
    int32_t nOrder = 0;
    for (const PlayTarget& target : targets) {
        auto pTarget = std::make_unique<CTargetObj>();
        const PixelBuffer picture = PictureOf(target);
        pTarget->m_strName = target.strName;
        pTarget->m_bmpArea = CPicture(AreaPictureOf(picture));
        pTarget->m_bmpTarget = CPicture(picture);
        pTarget->m_nOrder = nOrder++;
        pTarget->m_rcTarget = {target.topLeft.x, target.topLeft.y, target.topLeft.x + target.nWidth,
                               target.topLeft.y + target.nHeight};
        pTarget->m_ptClickShift = target.clickShift;
        pList->AddTail(std::move(pTarget));
    }
    return pList;
}

void WritePlayList(std::span<const PlayTarget> targets, const std::filesystem::path& path) {
    std::filesystem::create_directories(path.parent_path());
    SaveTargetListFile(*MakePlayList(targets), path);
}

BoardArguments BoardArgumentsFor(std::span<const PlayTarget> targets,
                                 const std::filesystem::path& folder,
                                 const std::filesystem::path& logFile,
                                 std::span<const size_t> hidden, std::optional<Rect> window) {
    std::filesystem::create_directories(folder);
    BoardArguments arguments;
    arguments.logFile = logFile;
    arguments.window = window;
    for (size_t nIndex = 0; nIndex < targets.size(); ++nIndex) {
        const std::filesystem::path file = folder / ("picture-" + std::to_string(nIndex) + ".bmp");
        WriteFileBytes(file, EncodeBmp(PictureOf(targets[nIndex])));
        BoardPictureArgument picture;
        picture.file = file;
        picture.topLeft = targets[nIndex].topLeft;
        picture.bHidden = std::find(hidden.begin(), hidden.end(), nIndex) != hidden.end();
        arguments.pictures.push_back(picture);
    }
    return arguments;
}

HWND FindShownSight(DWORD nProcessId, HWND hMain) {
    for (const HWND hWnd : TopLevelWindowsOf(nProcessId)) {
        if (hWnd == hMain || !IsWindowVisible(hWnd)) {
            continue;
        }
        const RECT rc = ScreenRectOf(hWnd);
        if (WidthOf(rc) == kSightSize && HeightOf(rc) == kSightSize) {
            return hWnd;
        }
    }
    return nullptr;
}
