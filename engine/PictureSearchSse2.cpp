// The SSE2 kernels of the picture search: 4 pixels per instruction, on every x86-64 processor.
#include <emmintrin.h>

#include "engine/PictureSearchKernels.h"

namespace {

// Four lanes of all ones where (pixels & kColourMask) == colour.
inline __m128i MatchColour(const uint32_t* pixels, __m128i colour, __m128i mask) {
    const __m128i loaded = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels));
    return _mm_cmpeq_epi32(_mm_and_si128(loaded, mask), colour);
}

inline uint32_t LaneBits(__m128i lanes) {
    return static_cast<uint32_t>(_mm_movemask_ps(_mm_castsi128_ps(lanes)));
}

template <int kAnchors>
int32_t ScreenRowSse2(const AnchorRows& anchors, int32_t columns, int32_t* hits) {
    const __m128i mask = _mm_set1_epi32(static_cast<int>(kColourMask));
    __m128i colours[kAnchors];
    for (int k = 0; k < kAnchors; ++k) {
        colours[k] = _mm_set1_epi32(static_cast<int>(anchors.colours[k]));
    }
    const uint32_t* row0 = anchors.rows[0];
    const uint32_t* row1 = anchors.rows[kAnchors > 1 ? 1 : 0];
    const uint32_t* row2 = anchors.rows[kAnchors > 2 ? 2 : 0];
    // With several anchors the differences are merged first, so that masking and comparing
    // happen once.
    const auto match = [&](int32_t x) {
        if constexpr (kAnchors == 1) {
            return MatchColour(row0 + x, colours[0], mask);
        } else {
            __m128i differ = _mm_or_si128(
                _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row0 + x)),
                              colours[0]),
                _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row1 + x)),
                              colours[kAnchors > 1 ? 1 : 0]));
            if constexpr (kAnchors > 2) {
                differ = _mm_or_si128(
                    differ,
                    _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row2 + x)),
                                  colours[kAnchors > 2 ? 2 : 0]));
            }
            return _mm_cmpeq_epi32(_mm_and_si128(differ, mask), _mm_setzero_si128());
        }
    };
    int32_t found = 0;
    int32_t x = 0;
    // Most candidates fail: test 16 at a time and look closer only when one passes.
    for (; x + 16 <= columns; x += 16) {
        const __m128i a = match(x);
        const __m128i b = match(x + 4);
        const __m128i c = match(x + 8);
        const __m128i d = match(x + 12);
        const __m128i any = _mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d));
        if (_mm_movemask_epi8(any) != 0) {
            const uint32_t bits =
                LaneBits(a) | (LaneBits(b) << 4) | (LaneBits(c) << 8) | (LaneBits(d) << 12);
            found = AppendHits(bits, x, hits, found);
        }
    }
    for (; x + 4 <= columns; x += 4) {
        found = AppendHits(LaneBits(match(x)), x, hits, found);
    }
    for (; x < columns; ++x) {
        bool pass = true;
        for (int k = 0; k < kAnchors; ++k) {
            pass = pass && (anchors.rows[k][x] & kColourMask) == anchors.colours[k];
        }
        if (pass) {
            hits[found++] = x;
        }
    }
    return found;
}

int32_t ScreenRow(const AnchorRows& anchors, int32_t columns, int32_t* hits) {
    switch (anchors.count) {
        case 1:
            return ScreenRowSse2<1>(anchors, columns, hits);
        case 2:
            return ScreenRowSse2<2>(anchors, columns, hits);
        default:
            return ScreenRowSse2<3>(anchors, columns, hits);
    }
}

int32_t FirstMismatch(const uint32_t* a, const uint32_t* b, int32_t count) {
    const __m128i mask = _mm_set1_epi32(static_cast<int>(kColourMask));
    const __m128i zero = _mm_setzero_si128();
    int32_t x = 0;
    for (; x + 4 <= count; x += 4) {
        const __m128i left = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + x));
        const __m128i right = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + x));
        const __m128i same = _mm_cmpeq_epi32(_mm_and_si128(_mm_xor_si128(left, right), mask), zero);
        const uint32_t differ = LaneBits(same) ^ 0xF;
        if (differ != 0) {
            return x + __builtin_ctz(differ);
        }
    }
    for (; x < count; ++x) {
        if (((a[x] ^ b[x]) & kColourMask) != 0) {
            return x;
        }
    }
    return count;
}

// The low 32 bits of each lane's product; SSE2 has only the 32 x 32 -> 64-bit multiply.
inline __m128i MultiplyLow(__m128i a, __m128i b) {
    const __m128i even = _mm_mul_epu32(a, b);
    const __m128i odd = _mm_mul_epu32(_mm_srli_epi64(a, 32), _mm_srli_epi64(b, 32));
    return _mm_unpacklo_epi32(_mm_shuffle_epi32(even, _MM_SHUFFLE(0, 0, 2, 0)),
                              _mm_shuffle_epi32(odd, _MM_SHUFFLE(0, 0, 2, 0)));
}

void AddRowToColumnHashes(uint32_t* hashes, const uint32_t* row, int32_t count, uint32_t factor) {
    const __m128i mask = _mm_set1_epi32(static_cast<int>(kColourMask));
    const __m128i times = _mm_set1_epi32(static_cast<int>(factor));
    int32_t x = 0;
    for (; x + 4 <= count; x += 4) {
        auto* at = reinterpret_cast<__m128i*>(hashes + x);
        const __m128i pixels =
            _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x)), mask);
        _mm_storeu_si128(at, _mm_add_epi32(MultiplyLow(_mm_loadu_si128(at), times), pixels));
    }
    for (; x < count; ++x) {
        hashes[x] = hashes[x] * factor + (row[x] & kColourMask);
    }
}

void RollColumnHashes(uint32_t* hashes, const uint32_t* top, const uint32_t* bottom, int32_t count,
                      uint32_t factor, uint32_t dropFactor) {
    const __m128i mask = _mm_set1_epi32(static_cast<int>(kColourMask));
    const __m128i times = _mm_set1_epi32(static_cast<int>(factor));
    const __m128i drop = _mm_set1_epi32(static_cast<int>(dropFactor));
    int32_t x = 0;
    for (; x + 4 <= count; x += 4) {
        auto* at = reinterpret_cast<__m128i*>(hashes + x);
        const __m128i added =
            _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(top + x)), mask);
        const __m128i dropped =
            _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bottom + x)), mask);
        const __m128i kept = _mm_sub_epi32(_mm_loadu_si128(at), MultiplyLow(dropped, drop));
        _mm_storeu_si128(at, _mm_add_epi32(MultiplyLow(kept, times), added));
    }
    for (; x < count; ++x) {
        hashes[x] =
            (top[x] & kColourMask) + factor * (hashes[x] - dropFactor * (bottom[x] & kColourMask));
    }
}

// Reads the filter bit of `hash` and always writes the hit slot; the slot counts only when the
// bit is set, which saves a hard-to-predict branch per candidate.
inline int32_t KeepIfFiltered(const uint32_t* filter, uint32_t hash, int32_t x, int32_t* hits,
                              uint32_t* hashes, int32_t found) {
    hits[found] = x;
    hashes[found] = hash;
    return found + static_cast<int32_t>((filter[hash >> 21] >> ((hash >> 16) & 31)) & 1);
}

int32_t HashRow(const uint32_t* columnHashes, int32_t columnCount, int32_t width,
                const uint32_t* powers, const uint32_t* inversePowers, const uint32_t* filter,
                uint32_t* prefix, int32_t* hits, uint32_t* hashes) {
    prefix[0] = 0;
    __m128i carry = _mm_setzero_si128();
    int32_t m = 0;
    for (; m + 4 <= columnCount; m += 4) {
        __m128i terms =
            MultiplyLow(_mm_loadu_si128(reinterpret_cast<const __m128i*>(columnHashes + m)),
                        _mm_loadu_si128(reinterpret_cast<const __m128i*>(powers + m)));
        terms = _mm_add_epi32(terms, _mm_slli_si128(terms, 4));
        terms = _mm_add_epi32(terms, _mm_slli_si128(terms, 8));
        terms = _mm_add_epi32(terms, carry);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(prefix + m + 1), terms);
        carry = _mm_shuffle_epi32(terms, _MM_SHUFFLE(3, 3, 3, 3));
    }
    for (uint32_t sum = prefix[m]; m < columnCount; ++m) {
        sum += powers[m] * columnHashes[m];
        prefix[m + 1] = sum;
    }
    const int32_t candidates = columnCount - width + 1;
    int32_t found = 0;
    int32_t x = 0;
    uint32_t lanes[4];
    for (; x + 4 <= candidates; x += 4) {
        const __m128i window =
            _mm_sub_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(prefix + x + width)),
                          _mm_loadu_si128(reinterpret_cast<const __m128i*>(prefix + x)));
        _mm_storeu_si128(
            reinterpret_cast<__m128i*>(lanes),
            MultiplyLow(window,
                        _mm_loadu_si128(reinterpret_cast<const __m128i*>(inversePowers + x))));
        for (int32_t i = 0; i < 4; ++i) {
            found = KeepIfFiltered(filter, lanes[i], x + i, hits, hashes, found);
        }
    }
    for (; x < candidates; ++x) {
        const uint32_t hash = (prefix[x + width] - prefix[x]) * inversePowers[x];
        found = KeepIfFiltered(filter, hash, x, hits, hashes, found);
    }
    return found;
}

int32_t FilterPairs(const uint32_t* row, int32_t count, const uint32_t* filter, uint32_t leftFactor,
                    uint32_t rightFactor, int32_t* hits) {
    int32_t found = 0;
    for (int32_t x = 0; x < count; ++x) {
        const uint32_t index =
            ((row[x] & kColourMask) * leftFactor + (row[x + 1] & kColourMask) * rightFactor) >>
            (32 - kPairFilterBits);
        hits[found] = x;
        found += static_cast<int32_t>((filter[index >> 5] >> (index & 31)) & 1);
    }
    return found;
}

}  // namespace

const SearchKernels kSse2Kernels = {&ScreenRow,        &FirstMismatch, &AddRowToColumnHashes,
                                    &RollColumnHashes, &HashRow,       &FilterPairs};
