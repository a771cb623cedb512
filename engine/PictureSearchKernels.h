// The vector kernels of the picture search, one set per instruction-set level.
#pragma once

#include <cstdint>

#include "engine/PictureSearch.h"

// Blue, green and red: the bytes that take part in every comparison.
constexpr uint32_t kColourMask = 0x00FFFFFF;

constexpr int kMaxScreenAnchors = 3;

// The anchor pixels that every candidate of one candidate row must show: for candidate column x,
// anchor k is rows[k][x], and it passes when (rows[k][x] & kColourMask) == colours[k].
struct AnchorRows {
    const uint32_t* rows[kMaxScreenAnchors] = {};
    uint32_t colours[kMaxScreenAnchors] = {};
    int count = 0;  // 1 ... kMaxScreenAnchors
};

struct SearchKernels {
    // Writes to `hits`, in ascending order, every candidate column x in [0, columns) at which all
    // anchors pass; returns how many. `hits` has room for `columns` entries.
    int32_t (*screenRow)(const AnchorRows& anchors, int32_t columns, int32_t* hits);
    // The index of the first of `count` pixels at which `a` and `b` differ in blue, green or
    // red; `count` when they agree.
    int32_t (*firstMismatch)(const uint32_t* a, const uint32_t* b, int32_t count);
    // hashes[x] = hashes[x] * factor + (row[x] & kColourMask) for x in [0, count).
    void (*addRowToColumnHashes)(uint32_t* hashes, const uint32_t* row, int32_t count,
                                 uint32_t factor);
    // Moves column hashes one row up: hashes[x] = (top[x] & kColourMask) + factor *
    // (hashes[x] - dropFactor * (bottom[x] & kColourMask)), all modulo 2^32.
    void (*rollColumnHashes)(uint32_t* hashes, const uint32_t* top, const uint32_t* bottom,
                             int32_t count, uint32_t factor, uint32_t dropFactor);
    // The candidates of one row whose window hash passes a filter. With prefix[0] = 0 and
    // prefix[m + 1] = prefix[m] + powers[m] * columnHashes[m] for m < columnCount (all modulo
    // 2^32; `prefix` has room for columnCount + 1 entries and is filled here), the hash of
    // candidate x is (prefix[x + width] - prefix[x]) * inversePowers[x]. Writes to `hits` every
    // x in [0, columnCount - width] whose hash h has bit (h >> 16) set in `filter` (2048 words),
    // and h to `hashes`; returns how many. Both have room for columnCount - width + 1 entries.
    int32_t (*hashRow)(const uint32_t* columnHashes, int32_t columnCount, int32_t width,
                       const uint32_t* powers, const uint32_t* inversePowers,
                       const uint32_t* filter, uint32_t* prefix, int32_t* hits, uint32_t* hashes);
    // Writes to `hits` every x in [0, count) whose pair of colours l = row[x] & kColourMask,
    // r = row[x + 1] & kColourMask has bit (l * leftFactor + r * rightFactor) >>
    // (32 - kPairFilterBits) set in `filter`; returns how many. row[count] must exist; `hits`
    // has room for count + 1 entries.
    int32_t (*filterPairs)(const uint32_t* row, int32_t count, const uint32_t* filter,
                           uint32_t leftFactor, uint32_t rightFactor, int32_t* hits);
};

// Appends x + i for every set bit i of a kernel's lane mask to `hits`; returns the new count.
inline int32_t AppendHits(uint32_t bits, int32_t x, int32_t* hits, int32_t found) {
    while (bits != 0) {
        hits[found++] = x + __builtin_ctz(bits);
        bits &= bits - 1;
    }
    return found;
}

// Size of the pair filter of the shared colour pass, as a power of two.
constexpr int kPairFilterBits = 15;

extern const SearchKernels kSse2Kernels;
extern const SearchKernels kAvx2Kernels;

// The kernels for `path`: AVX2 only when asked for the best path and available.
const SearchKernels& KernelsFor(SearchPath path);
