// The string form in which a target-list file carries a picture: one UTF-16 unit per BMP byte.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Byte 0x1A becomes the unit 0x0602, every other byte b the unit b * 256 + 1, so no unit is 0.
std::u16string BytesToPictureString(std::span<const uint8_t> bytes);

// The unit 0x0602 becomes 0x1A, any other unit its high byte.
std::vector<uint8_t> PictureStringToBytes(std::u16string_view units);

// True when BytesToPictureString(PictureStringToBytes(units)) gives `units` back, i.e. every
// unit is one the encoder writes.
bool IsCanonicalPictureString(std::u16string_view units);
