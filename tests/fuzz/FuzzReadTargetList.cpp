// Fuzz target: any byte string given to the target-list reader either loads or raises a file
// error; a list that loads writes back to bytes that load to the same bytes again. Every target
// of a list that loads is then shown and clicked as the panel would: its tile picture composed
// with the hover badge, its click point where it was captured, its tile's place. The values a
// file holds must never make that slow (the run's per-input time limit) or overflow.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "capture/TargetPicture.h"
#include "capture/TileGeometry.h"
#include "engine/TargetSearch.h"
#include "model/TargetListFile.h"

namespace {

void ShowAndClick(const CTargetObj& target) {
    static const PixelBuffer badge(16, 16);
    const TargetThumbnails thumbnails = MakeThumbnailsOf(target);
    const PixelBuffer picture = ComposePictureOfTarget(kTargetPictureWidth, kTargetPictureHeight,
                                                       target, thumbnails, &badge);
    if (picture.Width() != kTargetPictureWidth || picture.Height() != kTargetPictureHeight) {
        std::abort();
    }
    // Found where it was captured: the stored rectangle's top-left, any int32 pair.
    const TargetHit hit = MakeTargetHit(target, {target.m_rcTarget.left, target.m_rcTarget.top});
    static_cast<void>(hit);
    static_cast<void>(TileTop(target.m_nOrder, 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<CTargetObjList> list;
    try {
        CMemorySource source(std::span<const uint8_t>(data, size));
        list = ReadTargetList(source, "fuzz.trvk");
    } catch (const CFileException&) {
        return 0;
    }
    CMemorySink first;
    WriteTargetList(*list, first, "fuzz.trvk");
    CMemorySource again(first.Bytes());
    std::unique_ptr<CTargetObjList> reloaded = ReadTargetList(again, "fuzz.trvk");
    CMemorySink second;
    WriteTargetList(*reloaded, second, "fuzz.trvk");
    if (second.Bytes() != first.Bytes() || reloaded->Count() != list->Count()) {
        std::abort();
    }
    for (const auto& target : *list) {
        ShowAndClick(*target);
    }
    return 0;
}
