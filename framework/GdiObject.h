// CGdiObject<T>: the owner of one GDI bitmap, brush, pen, font or region (DeleteObject).
#pragma once

#include "framework/HandleOwner.h"

#include <windows.h>

#include <type_traits>

template <class T>
struct CGdiObjectTraits {
    static_assert(std::is_same_v<T, HBITMAP> || std::is_same_v<T, HBRUSH> ||
                      std::is_same_v<T, HPEN> || std::is_same_v<T, HFONT> ||
                      std::is_same_v<T, HRGN>,
                  "CGdiObject owns HBITMAP, HBRUSH, HPEN, HFONT or HRGN");
    using Handle = T;
    static constexpr HandleKind kKind = std::is_same_v<T, HBITMAP>  ? HandleKind::Bitmap
                                        : std::is_same_v<T, HBRUSH> ? HandleKind::Brush
                                        : std::is_same_v<T, HPEN>   ? HandleKind::Pen
                                        : std::is_same_v<T, HFONT>  ? HandleKind::Font
                                                                    : HandleKind::Region;
    // An object still selected into a DC is not deleted: restore the selection first
    // (CSelectObject declared after the owner goes first).
    static void Close(T hObject) { ::DeleteObject(hObject); }
};

// Move-only, explicit from a handle this process created. Stock objects and borrowed handles
// stay plain handles.
template <class T>
using CGdiObject = CHandleOwner<CGdiObjectTraits<T>>;
