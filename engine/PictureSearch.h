// Exact search for a picture on a screen image: the plain reference scan and the fast search.
#pragma once

#include <cstdint>
#include <optional>

#include "engine/PixelBuffer.h"

// <windows.h> defines SearchPath as SearchPathW; a file that includes it before this one still
// means the enum below.
#ifdef SearchPath
#undef SearchPath
#endif

// Which vector instructions the fast search may use. Both give the same results.
enum class SearchPath {
    Best,  // AVX2 when the processor and the system support it, otherwise SSE2
    Sse2,  // SSE2 only, which every x86-64 processor has
};

// Whether SearchPath::Best runs the AVX2 kernels on this machine.
bool Avx2Available();

// Finds `picture` (w x h) in `screen` (W x H), both with top-down rows. Candidates are the
// places where the whole picture lies on the screen, taken bottom picture row lowest first
// (bottom row y = H - 1, H - 2, ...) and within a row from the left; the first candidate at which
// all w x h pixels are equal wins. Pixels are equal when their blue, green and red bytes are
// equal: the fourth byte is ignored on both sides. Returns the top-left of the match; nothing
// when there is none, or when the picture is empty or wider or higher than the screen.
// This is the plain scan: a pre-test of the picture's bottom-left pixel at every candidate, then
// a row-by-row comparison from the bottom row up that stops at the first difference.
std::optional<Point> FindPictureReference(const PixelBuffer& screen, const PixelBuffer& picture);

// Returns exactly what FindPictureReference returns, at a cost close to reading the screen once:
// it screens candidates with a few of the picture's pixels chosen by how rare their colours are
// on this screen, with vector instructions, and verifies the survivors; when verification work
// grows it finishes with a rolling hash, so no screen makes it slow.
std::optional<Point> FindPicture(const PixelBuffer& screen, const PixelBuffer& picture,
                                 SearchPath path = SearchPath::Best);

// The point a found picture is clicked at (before any click shift): (left + w / 2,
// top + h - h / 2), so the middle column or the one right of the middle line, and the row just
// below the middle line (for h = 5: top + 3; for h = 4: top + 2), held within int32.
Point PictureCentre(Point topLeft, int32_t width, int32_t height);
