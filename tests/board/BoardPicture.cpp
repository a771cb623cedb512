// Pseudo-random board pictures from a seed, and pictures from BMP files.
#include "tests/board/BoardPicture.h"

#include "model/BmpImage.h"
#include "tests/board/BoardProtocol.h"

#include <fstream>
#include <iterator>
#include <vector>

namespace {

// SplitMix64: a fixed, well-mixed sequence, so pictures never depend on the standard library.
uint64_t NextRandom(uint64_t& nState) {
    nState += 0x9E3779B97F4A7C15ULL;
    uint64_t z = nState;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

}  // namespace

PixelBuffer MakeBoardPicture(uint32_t nSeed, int32_t nWidth, int32_t nHeight) {
    PixelBuffer picture(nWidth, nHeight);
    uint64_t nState = nSeed;
    for (int32_t y = 0; y < picture.Height(); ++y) {
        for (int32_t x = 0; x < picture.Width(); ++x) {
            uint32_t nPixel = static_cast<uint32_t>(NextRandom(nState)) & 0x00FFFFFF;
            // A background pixel at the edge would let a search match the picture one pixel off.
            if (nPixel == kBoardBackgroundBgr0) {
                nPixel ^= 0x000001;
            }
            picture.Set(x, y, nPixel);
        }
    }
    return picture;
}

std::optional<PixelBuffer> LoadBoardPicture(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        return std::nullopt;
    }
    const std::vector<uint8_t> image{std::istreambuf_iterator<char>(stream),
                                     std::istreambuf_iterator<char>()};
    if (stream.bad()) {
        return std::nullopt;
    }
    return DecodeBmp(image);
}
