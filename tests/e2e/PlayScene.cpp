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

PixelBuffer PictureOf(const PlayTargetSpec& spec) {
    if (spec.picture) {
        return *spec.picture;
    }
    return MakeBoardPicture(spec.nSeed, spec.nWidth, spec.nHeight);
}

Point ClickPointOf(const PlayTargetSpec& spec) {
    const Point centre = PictureCentre(spec.topLeft, spec.nWidth, spec.nHeight);
    return Point{centre.x + spec.clickShift.x, centre.y + spec.clickShift.y};
}

std::unique_ptr<CTargetObjList> MakePlayList(std::span<const PlayTargetSpec> specs) {
    auto pList = std::make_unique<CTargetObjList>();
    int32_t nOrder = 0;
    for (const PlayTargetSpec& spec : specs) {
        auto pTarget = std::make_unique<CTargetObj>();
        const PixelBuffer picture = PictureOf(spec);
        pTarget->m_strName = spec.strName;
        pTarget->m_bmpArea = CPicture(AreaPictureOf(picture));
        pTarget->m_bmpTarget = CPicture(picture);
        pTarget->m_nOrder = nOrder++;
        pTarget->m_rcTarget = {spec.topLeft.x, spec.topLeft.y, spec.topLeft.x + spec.nWidth,
                               spec.topLeft.y + spec.nHeight};
        pTarget->m_ptClickShift = spec.clickShift;
        pList->AddTail(std::move(pTarget));
    }
    return pList;
}

void WritePlayList(std::span<const PlayTargetSpec> specs, const std::filesystem::path& path) {
    std::filesystem::create_directories(path.parent_path());
    SaveTargetListFile(*MakePlayList(specs), path);
}

BoardArguments BoardArgumentsFor(std::span<const PlayTargetSpec> specs,
                                 const std::filesystem::path& folder,
                                 const std::filesystem::path& logFile,
                                 std::span<const size_t> hidden, std::optional<Rect> window) {
    std::filesystem::create_directories(folder);
    BoardArguments arguments;
    arguments.logFile = logFile;
    arguments.window = window;
    for (size_t nIndex = 0; nIndex < specs.size(); ++nIndex) {
        const std::filesystem::path file = folder / ("picture-" + std::to_string(nIndex) + ".bmp");
        WriteFileBytes(file, EncodeBmp(PictureOf(specs[nIndex])));
        BoardPictureSpec picture;
        picture.file = file;
        picture.topLeft = specs[nIndex].topLeft;
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
