// Writes a small corpus of target-list files, valid and damaged, to seed the reader's fuzzer.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>

#include "model/BmpImage.h"
#include "model/PictureString.h"
#include "model/TargetListFile.h"
#include "tests/core/ModelTestUtil.h"

namespace {

std::vector<uint8_t> ListBytes(CTargetObjList& list) {
    CMemorySink sink;
    WriteTargetList(list, sink, "seed.trvk");
    return sink.TakeBytes();
}

void Save(const std::filesystem::path& dir, const char* name, const std::vector<uint8_t>& bytes) {
    std::ofstream out(dir / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tarvik-fuzz-seeds DIR\n");
        return 1;
    }
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);

    CTargetObjList empty;
    Save(dir, "empty.trvk", ListBytes(empty));
    Save(dir, "empty-mark.trvk", {0x06, 0x00, 0xFF, 0xFF});

    CTargetObjList small;
    for (uint32_t i = 0; i < 3; ++i) {
        auto target = std::make_unique<CTargetObj>();
        target->m_strName = u"seed";
        target->m_bmpTarget = CPicture(RandomPicture(2 + i, 1 + i, i));
        target->m_bmpArea = CPicture(RandomPicture(3, 3, i + 7));
        target->m_rcTarget = {1, 2, 3 + int32_t(i), 3 + int32_t(i)};
        small.AddCaptured(std::move(target));
    }
    const std::vector<uint8_t> three = ListBytes(small);
    Save(dir, "three-targets.trvk", three);

    // A 24-bit picture with padded rows and a 16-bit one: the other stored forms.
    std::vector<uint8_t> image = EncodeBmp(RandomPicture(3, 2, 1));
    image[28] = 24;
    image[30] = 0;
    CTargetObjList mixed;
    auto target = std::make_unique<CTargetObj>();
    target->m_bmpTarget = StringToPicture(BytesToPictureString(image));
    image[28] = 16;
    target->m_bmpArea = StringToPicture(BytesToPictureString(image));
    mixed.AddCaptured(std::move(target));
    Save(dir, "other-depths.trvk", ListBytes(mixed));

    // Rectangles, a click shift and an order at the int32 limits, as a damaged file holds them.
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    CTargetObjList limits;
    for (const Rect& rc :
         {Rect{kMin, kMin, kMax, kMax}, Rect{0, 0, kMax, 10}, Rect{kMax, kMax, kMin, kMin}}) {
        auto far = std::make_unique<CTargetObj>();
        far->m_bmpTarget = CPicture(RandomPicture(4, 3, 5));
        far->m_bmpArea = CPicture(RandomPicture(12, 12, 6));
        far->m_rcTarget = rc;
        far->m_ptClickShift = {kMax, kMin};
        limits.AddCaptured(std::move(far));
    }
    limits.begin()->get()->m_nOrder = kMax;
    Save(dir, "limits.trvk", ListBytes(limits));

    std::vector<uint8_t> cut(three.begin(), three.begin() + static_cast<long>(three.size() / 2));
    Save(dir, "cut.trvk", cut);
    std::vector<uint8_t> badTag = three;
    badTag[62] = 0x03;
    badTag[63] = 0x80;
    Save(dir, "bad-tag.trvk", badTag);
    return 0;
}
