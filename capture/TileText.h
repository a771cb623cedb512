// The words a tile shows about its target. Platform-free.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The tile's tooltip: "<number>. <name>", the number counted from 1 down the column as the
// user sees it (order 0 is the top tile, "1."); a target without a name is "<number>.".
std::u16string TileToolTipText(int32_t nOrder, std::u16string_view name);
