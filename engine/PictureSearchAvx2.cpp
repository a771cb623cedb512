// The AVX2 kernels of the picture search: 8 pixels per instruction, chosen at run time.
// Only the functions marked AVX2 use those instructions, so the program still starts on any
// x86-64 processor. The kernels keep their few vectors in registers: 64-bit Windows aligns the
// stack to 16 bytes only, and a 32-byte vector spilled there could fault.
#include <immintrin.h>

#include "engine/PictureSearchKernels.h"

#define TARVIK_AVX2 __attribute__((target("avx2")))

namespace {

TARVIK_AVX2 inline __m256i MatchColour(const uint32_t* pixels, __m256i colour, __m256i mask) {
    const __m256i loaded = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pixels));
    return _mm256_cmpeq_epi32(_mm256_and_si256(loaded, mask), colour);
}

TARVIK_AVX2 inline uint32_t LaneBits(__m256i lanes) {
    return static_cast<uint32_t>(_mm256_movemask_ps(_mm256_castsi256_ps(lanes)));
}

// All lanes of candidates x ... x + 7 at which every anchor passes. With several anchors the
// differences are merged first, so that masking and comparing happen once.
template <int kAnchors>
TARVIK_AVX2 inline __m256i MatchAnchors(const uint32_t* row0, const uint32_t* row1,
                                        const uint32_t* row2, const __m256i (&colours)[3],
                                        __m256i mask, int32_t x) {
    if constexpr (kAnchors == 1) {
        return MatchColour(row0 + x, colours[0], mask);
    } else {
        __m256i differ = _mm256_or_si256(
            _mm256_xor_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(row0 + x)),
                             colours[0]),
            _mm256_xor_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(row1 + x)),
                             colours[1]));
        if constexpr (kAnchors > 2) {
            differ = _mm256_or_si256(
                differ,
                _mm256_xor_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(row2 + x)),
                                 colours[2]));
        }
        return _mm256_cmpeq_epi32(_mm256_and_si256(differ, mask), _mm256_setzero_si256());
    }
}

template <int kAnchors>
TARVIK_AVX2 int32_t ScreenRowAvx2(const AnchorRows& anchors, int32_t columns, int32_t* hits) {
    const __m256i mask = _mm256_set1_epi32(static_cast<int>(kColourMask));
    const __m256i colours[3] = {_mm256_set1_epi32(static_cast<int>(anchors.colours[0])),
                                _mm256_set1_epi32(static_cast<int>(anchors.colours[1])),
                                _mm256_set1_epi32(static_cast<int>(anchors.colours[2]))};
    const uint32_t* row0 = anchors.rows[0];
    const uint32_t* row1 = anchors.rows[kAnchors > 1 ? 1 : 0];
    const uint32_t* row2 = anchors.rows[kAnchors > 2 ? 2 : 0];
    int32_t found = 0;
    int32_t x = 0;
    // Most candidates fail: test 32 at a time and look closer only when one passes.
    for (; x + 32 <= columns; x += 32) {
        const __m256i a = MatchAnchors<kAnchors>(row0, row1, row2, colours, mask, x);
        const __m256i b = MatchAnchors<kAnchors>(row0, row1, row2, colours, mask, x + 8);
        const __m256i c = MatchAnchors<kAnchors>(row0, row1, row2, colours, mask, x + 16);
        const __m256i d = MatchAnchors<kAnchors>(row0, row1, row2, colours, mask, x + 24);
        const __m256i any = _mm256_or_si256(_mm256_or_si256(a, b), _mm256_or_si256(c, d));
        if (!_mm256_testz_si256(any, any)) {
            const uint32_t bits =
                LaneBits(a) | (LaneBits(b) << 8) | (LaneBits(c) << 16) | (LaneBits(d) << 24);
            found = AppendHits(bits, x, hits, found);
        }
    }
    for (; x + 8 <= columns; x += 8) {
        found = AppendHits(LaneBits(MatchAnchors<kAnchors>(row0, row1, row2, colours, mask, x)), x,
                           hits, found);
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

TARVIK_AVX2 int32_t ScreenRow(const AnchorRows& anchors, int32_t columns, int32_t* hits) {
    switch (anchors.count) {
        case 1:
            return ScreenRowAvx2<1>(anchors, columns, hits);
        case 2:
            return ScreenRowAvx2<2>(anchors, columns, hits);
        default:
            return ScreenRowAvx2<3>(anchors, columns, hits);
    }
}

TARVIK_AVX2 int32_t FirstMismatch(const uint32_t* a, const uint32_t* b, int32_t count) {
    const __m256i mask = _mm256_set1_epi32(static_cast<int>(kColourMask));
    const __m256i zero = _mm256_setzero_si256();
    int32_t x = 0;
    for (; x + 8 <= count; x += 8) {
        const __m256i left = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + x));
        const __m256i right = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + x));
        const __m256i same =
            _mm256_cmpeq_epi32(_mm256_and_si256(_mm256_xor_si256(left, right), mask), zero);
        const uint32_t differ = LaneBits(same) ^ 0xFF;
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

TARVIK_AVX2 void AddRowToColumnHashes(uint32_t* hashes, const uint32_t* row, int32_t count,
                                      uint32_t factor) {
    const __m256i mask = _mm256_set1_epi32(static_cast<int>(kColourMask));
    const __m256i times = _mm256_set1_epi32(static_cast<int>(factor));
    int32_t x = 0;
    for (; x + 8 <= count; x += 8) {
        auto* at = reinterpret_cast<__m256i*>(hashes + x);
        const __m256i pixels =
            _mm256_and_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + x)), mask);
        _mm256_storeu_si256(
            at, _mm256_add_epi32(_mm256_mullo_epi32(_mm256_loadu_si256(at), times), pixels));
    }
    for (; x < count; ++x) {
        hashes[x] = hashes[x] * factor + (row[x] & kColourMask);
    }
}

TARVIK_AVX2 void RollColumnHashes(uint32_t* hashes, const uint32_t* top, const uint32_t* bottom,
                                  int32_t count, uint32_t factor, uint32_t dropFactor) {
    const __m256i mask = _mm256_set1_epi32(static_cast<int>(kColourMask));
    const __m256i times = _mm256_set1_epi32(static_cast<int>(factor));
    const __m256i drop = _mm256_set1_epi32(static_cast<int>(dropFactor));
    int32_t x = 0;
    for (; x + 8 <= count; x += 8) {
        auto* at = reinterpret_cast<__m256i*>(hashes + x);
        const __m256i added =
            _mm256_and_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(top + x)), mask);
        const __m256i dropped = _mm256_and_si256(
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bottom + x)), mask);
        const __m256i kept =
            _mm256_sub_epi32(_mm256_loadu_si256(at), _mm256_mullo_epi32(dropped, drop));
        _mm256_storeu_si256(at, _mm256_add_epi32(_mm256_mullo_epi32(kept, times), added));
    }
    for (; x < count; ++x) {
        hashes[x] =
            (top[x] & kColourMask) + factor * (hashes[x] - dropFactor * (bottom[x] & kColourMask));
    }
}

// Lanes of all ones where `filter` has the bit numbered by that lane of `index`.
TARVIK_AVX2 inline uint32_t FilterBits(const uint32_t* filter, __m256i index) {
    const __m256i words = _mm256_i32gather_epi32(reinterpret_cast<const int*>(filter),
                                                 _mm256_srli_epi32(index, 5), 4);
    const __m256i bits = _mm256_srlv_epi32(words, _mm256_and_si256(index, _mm256_set1_epi32(31)));
    return LaneBits(_mm256_slli_epi32(bits, 31));
}

TARVIK_AVX2 int32_t HashRow(const uint32_t* columnHashes, int32_t columnCount, int32_t width,
                            const uint32_t* powers, const uint32_t* inversePowers,
                            const uint32_t* filter, uint32_t* prefix, int32_t* hits,
                            uint32_t* hashes) {
    prefix[0] = 0;
    __m256i carry = _mm256_setzero_si256();
    const __m256i last = _mm256_set1_epi32(7);
    int32_t m = 0;
    for (; m + 8 <= columnCount; m += 8) {
        __m256i terms = _mm256_mullo_epi32(
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(columnHashes + m)),
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(powers + m)));
        // Running sums within each 128-bit half, then the lower half's total into the upper.
        terms = _mm256_add_epi32(terms, _mm256_slli_si256(terms, 4));
        terms = _mm256_add_epi32(terms, _mm256_slli_si256(terms, 8));
        const __m256i lowerTotal =
            _mm256_shuffle_epi32(_mm256_permute2x128_si256(terms, terms, 0x08), 0xFF);
        terms = _mm256_add_epi32(_mm256_add_epi32(terms, lowerTotal), carry);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(prefix + m + 1), terms);
        carry = _mm256_permutevar8x32_epi32(terms, last);
    }
    for (uint32_t sum = prefix[m]; m < columnCount; ++m) {
        sum += powers[m] * columnHashes[m];
        prefix[m + 1] = sum;
    }
    const int32_t candidates = columnCount - width + 1;
    int32_t found = 0;
    int32_t x = 0;
    uint32_t lanes[8];
    for (; x + 8 <= candidates; x += 8) {
        const __m256i window = _mm256_sub_epi32(
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(prefix + x + width)),
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(prefix + x)));
        const __m256i hash = _mm256_mullo_epi32(
            window, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(inversePowers + x)));
        uint32_t passed = FilterBits(filter, _mm256_srli_epi32(hash, 16));
        if (passed != 0) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(lanes), hash);
            for (; passed != 0; passed &= passed - 1) {
                const int lane = __builtin_ctz(passed);
                hits[found] = x + lane;
                hashes[found] = lanes[lane];
                ++found;
            }
        }
    }
    for (; x < candidates; ++x) {
        const uint32_t hash = (prefix[x + width] - prefix[x]) * inversePowers[x];
        if (((filter[hash >> 21] >> ((hash >> 16) & 31)) & 1) != 0) {
            hits[found] = x;
            hashes[found] = hash;
            ++found;
        }
    }
    return found;
}

TARVIK_AVX2 int32_t FilterPairs(const uint32_t* row, int32_t count, const uint32_t* filter,
                                uint32_t leftFactor, uint32_t rightFactor, int32_t* hits) {
    const __m256i mask = _mm256_set1_epi32(static_cast<int>(kColourMask));
    const __m256i left = _mm256_set1_epi32(static_cast<int>(leftFactor));
    const __m256i right = _mm256_set1_epi32(static_cast<int>(rightFactor));
    int32_t found = 0;
    int32_t x = 0;
    for (; x + 8 <= count; x += 8) {
        const __m256i here =
            _mm256_and_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + x)), mask);
        const __m256i next = _mm256_and_si256(
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + x + 1)), mask);
        const __m256i key =
            _mm256_add_epi32(_mm256_mullo_epi32(here, left), _mm256_mullo_epi32(next, right));
        found = AppendHits(FilterBits(filter, _mm256_srli_epi32(key, 32 - kPairFilterBits)), x,
                           hits, found);
    }
    for (; x < count; ++x) {
        const uint32_t index =
            ((row[x] & kColourMask) * leftFactor + (row[x + 1] & kColourMask) * rightFactor) >>
            (32 - kPairFilterBits);
        if (((filter[index >> 5] >> (index & 31)) & 1) != 0) {
            hits[found++] = x;
        }
    }
    return found;
}

}  // namespace

const SearchKernels kAvx2Kernels = {&ScreenRow,        &FirstMismatch, &AddRowToColumnHashes,
                                    &RollColumnHashes, &HashRow,       &FilterPairs};
