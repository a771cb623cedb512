// The tile's tooltip text.
#include "capture/TileText.h"

std::u16string TileToolTipText(int32_t nOrder, std::u16string_view name) {
    // 64 bits: an order read from a file may be INT32_MAX.
    const std::string number = std::to_string(int64_t{nOrder} + 1);
    std::u16string text(number.begin(), number.end());
    text += u".";
    if (!name.empty()) {
        text += u" ";
        text += name;
    }
    return text;
}
