// The reference scan, the fast search built from anchors, and the choice of vector kernels.
#include "engine/PictureSearch.h"

#include "engine/PictureSearchAnchors.h"
#include "engine/PictureSearchKernels.h"
#include "engine/PictureSearchScan.h"

namespace {

bool Fits(const PixelBuffer& screen, const PixelBuffer& picture) {
    return picture.Width() >= 1 && picture.Height() >= 1 && picture.Width() <= screen.Width() &&
           picture.Height() <= screen.Height();
}

bool SamePixel(uint32_t a, uint32_t b) {
    return ((a ^ b) & kColourMask) == 0;
}

}  // namespace

bool Avx2Available() {
#if defined(_WIN32) && !defined(__OPTIMIZE__)
    // Unoptimised GCC code keeps 32-byte vectors on a stack that 64-bit Windows aligns to 16
    // bytes only, which can fault; such builds stay with SSE2.
    return false;
#else
    static const bool available = __builtin_cpu_supports("avx2");
    return available;
#endif
}

const SearchKernels& KernelsFor(SearchPath path) {
    return path == SearchPath::Best && Avx2Available() ? kAvx2Kernels : kSse2Kernels;
}

std::optional<Point> FindPictureReference(const PixelBuffer& screen, const PixelBuffer& picture) {
    if (!Fits(screen, picture)) {
        return std::nullopt;
    }
    const int32_t width = picture.Width();
    const int32_t height = picture.Height();
    const uint32_t bottomLeft = picture.At(0, height - 1);
    for (int32_t y = screen.Height() - 1; y >= height - 1; --y) {
        for (int32_t x = 0; x <= screen.Width() - width; ++x) {
            if (!SamePixel(screen.At(x, y), bottomLeft)) {
                continue;
            }
            bool match = true;
            for (int32_t k = 0; k < height && match; ++k) {
                const uint32_t* screenRow = screen.Row(y - k) + x;
                const uint32_t* pictureRow = picture.Row(height - 1 - k);
                for (int32_t i = 0; i < width; ++i) {
                    if (!SamePixel(screenRow[i], pictureRow[i])) {
                        match = false;
                        break;
                    }
                }
            }
            if (match) {
                return Point{x, y - height + 1};
            }
        }
    }
    return std::nullopt;
}

std::optional<Point> FindPicture(const PixelBuffer& screen, const PixelBuffer& picture,
                                 SearchPath path) {
    if (!Fits(screen, picture)) {
        return std::nullopt;
    }
    const CPictureProfile profile(picture);
    const CScreenSample sample(screen);
    return FindPictureByAnchors(screen, picture, ChooseAnchors(profile, sample), KernelsFor(path));
}

Point PictureCentre(Point topLeft, int32_t width, int32_t height) {
    return {ClampToInt32(int64_t{topLeft.x} + width / 2),
            ClampToInt32(int64_t{topLeft.y} + height - height / 2)};
}
