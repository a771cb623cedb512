// Screen pictures from BMP files (our own decoder) and PNG files (stb_image, for this tool only:
// Tarvik.exe never reads PNG).
#include "tools/cli/ScreenImage.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "model/BmpImage.h"
#include "model/ByteStream.h"
#include "model/FileErrors.h"

#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

namespace {

std::vector<uint8_t> ReadAll(const std::filesystem::path& path) {
    CFileSource source(path);
    if (source.BytesLeft() > std::numeric_limits<int>::max()) {
        throw CFileException(FileErrorKind::BadFormat, path);
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(source.BytesLeft()));
    size_t filled = 0;
    while (filled < bytes.size()) {
        const size_t got = source.Read(bytes.data() + filled, bytes.size() - filled);
        if (got == 0) {
            throw CFileException(FileErrorKind::EndOfFile, path);
        }
        filled += got;
    }
    return bytes;
}

bool IsPng(const std::vector<uint8_t>& bytes) {
    static constexpr uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return bytes.size() >= sizeof kSignature &&
           std::equal(std::begin(kSignature), std::end(kSignature), bytes.begin());
}

struct StbFree {
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};

std::optional<PixelBuffer> DecodePng(const std::vector<uint8_t>& bytes) {
    int width = 0;
    int height = 0;
    int channels = 0;
    const std::unique_ptr<stbi_uc, StbFree> rgba(stbi_load_from_memory(
        bytes.data(), static_cast<int>(bytes.size()), &width, &height, &channels, 4));
    if (!rgba || width < 1 || height < 1) {
        return std::nullopt;
    }
    PixelBuffer pixels(width, height);
    const stbi_uc* source = rgba.get();
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x, source += 4) {
            pixels.Set(x, y, MakeBgr0(source[0], source[1], source[2]));
        }
    }
    return pixels;
}

}  // namespace

PixelBuffer LoadScreenImage(const std::filesystem::path& path) {
    const std::vector<uint8_t> bytes = ReadAll(path);
    std::optional<PixelBuffer> pixels = IsPng(bytes) ? DecodePng(bytes) : DecodeBmp(bytes);
    if (!pixels || pixels->IsEmpty()) {
        throw CFileException(FileErrorKind::BadFormat, path);
    }
    return std::move(*pixels);
}
