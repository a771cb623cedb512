// A target's picture: its pixels for searching and showing, and the form it was stored in.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/PixelBuffer.h"

// Immutable once made: a changed picture is a new CPicture, so a loaded picture that was never
// replaced is written back exactly as it was read.
class CPicture {
public:
    // No picture at all; stored as the empty string.
    CPicture() = default;
    // A picture made by the program (top-down rows); encoded afresh whenever it is written.
    explicit CPicture(PixelBuffer pixels);

    bool IsNull() const { return !m_bHasImage; }
    // The top-down pixels, or null when there is no picture or its stored image could not be
    // decoded (such a picture is never found and shows nothing, but is written back unchanged).
    const PixelBuffer* Pixels() const { return m_pixels ? &*m_pixels : nullptr; }
    // The picture's BMP file image: the stored one for a loaded picture, else a fresh encoding.
    std::vector<uint8_t> BmpImage() const;

    friend CPicture StringToPicture(std::u16string_view units);
    friend std::u16string PictureToString(const CPicture& picture);

private:
    bool m_bHasImage = false;
    std::optional<PixelBuffer> m_pixels;
    // What a loaded picture keeps of its stored form, only when encoding m_pixels would not give
    // it back: the decoded bytes when the units were canonical, otherwise the units themselves.
    std::vector<uint8_t> m_storedBytes;
    std::u16string m_strStoredUnits;
};

// Reads a stored picture string: the empty string gives no picture; anything else keeps its
// stored form and, when it holds a valid BMP image, its pixels.
CPicture StringToPicture(std::u16string_view units);

// The stored string of `picture`: the string it was read from, or the encoding of its pixels
// (32-bit, bit fields) for a picture made by the program; empty for no picture.
std::u16string PictureToString(const CPicture& picture);
