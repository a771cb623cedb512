// Encoding of BMP images as picture strings and back.
#include "model/PictureString.h"

namespace {

constexpr uint8_t kEscapedByte = 0x1A;
constexpr char16_t kEscapedUnit = 0x0602;

}  // namespace

std::u16string BytesToPictureString(std::span<const uint8_t> bytes) {
    std::u16string units(bytes.size(), u'\0');
    for (size_t i = 0; i < bytes.size(); ++i) {
        const uint8_t b = bytes[i];
        units[i] = b == kEscapedByte ? kEscapedUnit : static_cast<char16_t>((b << 8) | 0x01);
    }
    return units;
}

std::vector<uint8_t> PictureStringToBytes(std::u16string_view units) {
    std::vector<uint8_t> bytes(units.size());
    for (size_t i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i];
        bytes[i] = unit == kEscapedUnit ? kEscapedByte : static_cast<uint8_t>(unit >> 8);
    }
    return bytes;
}

bool IsCanonicalPictureString(std::u16string_view units) {
    for (const char16_t unit : units) {
        const bool plain = (unit & 0xFF) == 0x01 && (unit >> 8) != kEscapedByte;
        if (!plain && unit != kEscapedUnit) {
            return false;
        }
    }
    return true;
}
