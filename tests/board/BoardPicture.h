// The pictures the board shows: built-in pseudo-random ones that match nowhere else, and BMP files.
#pragma once

#include "engine/PixelBuffer.h"

#include <cstdint>
#include <filesystem>
#include <optional>

// The picture that --demo-picture shows.
inline constexpr uint32_t kDemoPictureSeed = 0x7A12B0A4;
inline constexpr int32_t kDemoPictureWidth = 48;
inline constexpr int32_t kDemoPictureHeight = 32;

// nWidth x nHeight top-down pixels (B, G, R, 0) drawn from `nSeed`: the same arguments give the
// same picture on every platform, different seeds give unrelated pictures, and no pixel has the
// board's background colour. Negative sizes count as zero.
PixelBuffer MakeBoardPicture(uint32_t nSeed, int32_t nWidth, int32_t nHeight);

// The picture shown by --demo-picture.
inline PixelBuffer MakeDemoPicture() {
    return MakeBoardPicture(kDemoPictureSeed, kDemoPictureWidth, kDemoPictureHeight);
}

// The top-down picture in a BMP file (what model/BmpImage.h's DecodeBmp accepts); nothing when
// the file cannot be read or is not such a BMP.
std::optional<PixelBuffer> LoadBoardPicture(const std::filesystem::path& file);
