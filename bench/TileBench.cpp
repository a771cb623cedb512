// The composition of one tile picture for rectangles as a damaged list file may hold them: a
// stored rectangle sets how much of the target picture is placed, and must never set the work.
#include "bench/BenchSections.h"
#include "bench/BenchUtil.h"
#include "capture/TargetPicture.h"
#include "engine/DpiScale.h"
#include "engine/PictureScale.h"
#include "model/ByteStream.h"
#include "model/TargetListFile.h"

#include <cstdint>
#include <limits>
#include <memory>

namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

struct TileCase {
    const char* name;
    Rect rc;
};

const TileCase kTileCases[] = {
    {"captured, 20 x 10", {100, 100, 120, 110}},
    {"10^6 wide", {0, 0, 1000000, 10}},
    {"2*10^8 wide", {0, 0, 200000000, 10}},
    {"0 ... INT_MAX wide", {0, 0, kMax, 10}},
    {"0 ... INT_MAX both ways", {0, 0, kMax, kMax}},
    {"INT_MIN ... INT_MAX both ways", {kMin, kMin, kMax, kMax}},
    {"INT_MAX ... INT_MIN (negative)", {kMax, kMax, kMin, kMin}},
};

PixelBuffer Pattern(int32_t width, int32_t height, uint32_t seed) {
    PixelBuffer picture(width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            picture.Set(x, y, (static_cast<uint32_t>(x * 7 + y * 13) * seed) & 0x00FFFFFF);
        }
    }
    return picture;
}

// The cases as a list read back from its file, as the panel gets them.
std::unique_ptr<CTargetObjList> LoadedList() {
    CTargetObjList list;
    for (const TileCase& tile : kTileCases) {
        auto target = std::make_unique<CTargetObj>();
        target->m_rcTarget = tile.rc;
        target->m_bmpTarget = CPicture(Pattern(20, 10, 3));
        target->m_bmpArea = CPicture(Pattern(100, 100, 5));
        list.AddCaptured(std::move(target));
    }
    CMemorySink sink;
    WriteTargetList(list, sink, "bench.trvk");
    CMemorySource source(sink.Bytes());
    return ReadTargetList(source, "bench.trvk");
}

}  // namespace

void RunTileBench(const BenchOptions& options, std::ostream& out) {
    out << "== tile: composing one " << kTargetPictureWidth << " x " << kTargetPictureHeight
        << " tile picture for a stored rectangle ==\n";
    const std::unique_ptr<CTargetObjList> list = LoadedList();
    Table table({"rectangle", "left, top, right, bottom", "time per tile"});
    double total = 0;
    for (const TileCase& tile : kTileCases) {
        const CTargetObj* target = list->FindByOrder(static_cast<int32_t>(&tile - kTileCases));
        const TargetThumbnails thumbnails = MakeThumbnailsOf(*target);
        const double seconds = MedianSeconds(options.runs, [&] {
            return ComposePictureOfTarget(kTargetPictureWidth, kTargetPictureHeight, *target,
                                          thumbnails);
        });
        total += seconds;
        const Rect& rc = target->m_rcTarget;
        table.AddRow({tile.name,
                      std::to_string(rc.left) + ", " + std::to_string(rc.top) + ", " +
                          std::to_string(rc.right) + ", " + std::to_string(rc.bottom),
                      Fixed(seconds * 1e6, 1) + " us"});
    }
    table.Print(out);
    out << "(the whole list: " << Fixed(total * 1e3, 3) << " ms per paint of every tile)\n";

    // A tile is composed as at 96 DPI and then enlarged to the display's scale.
    out << "== tile: one captured tile composed and enlarged to the display's scale ==\n";
    const CTargetObj* captured = list->FindByOrder(0);
    const TargetThumbnails thumbnails = MakeThumbnailsOf(*captured);
    Table scaled({"DPI", "tile", "time per tile", "50 tiles"});
    for (const int nDpi : {96, 120, 144, 192}) {
        const CDpiScale scale(nDpi);
        const double seconds = MedianSeconds(options.runs, [&] {
            return ScalePicture(ComposePictureOfTarget(kTargetPictureWidth, kTargetPictureHeight,
                                                       *captured, thumbnails),
                                scale.Scale(kTargetPictureWidth),
                                scale.Scale(kTargetPictureHeight));
        });
        scaled.AddRow({std::to_string(nDpi),
                       std::to_string(scale.Scale(kTargetPictureWidth)) + " x " +
                           std::to_string(scale.Scale(kTargetPictureHeight)),
                       Fixed(seconds * 1e6, 1) + " us", Fixed(seconds * 50 * 1e3, 3) + " ms"});
    }
    scaled.Print(out);
}
