// The rolling-hash search: column hashes rolled up the screen, row sums from prefix sums.
#include "engine/PictureSearchHash.h"

#include <algorithm>
#include <vector>

namespace {

// Odd factors, so that every power is invertible modulo 2^32 and a single differing pixel
// always changes the hash.
constexpr uint32_t kDownFactor = 0x2C1B3C6Du;    // between rows of a column
constexpr uint32_t kAcrossFactor = 0x297A2D39u;  // between columns

uint32_t Power(uint32_t base, int32_t exponent) {
    uint32_t result = 1;
    for (; exponent > 0; exponent >>= 1, base *= base) {
        if ((exponent & 1) != 0) {
            result *= base;
        }
    }
    return result;
}

// The inverse of an odd number modulo 2^32 (Newton's iteration doubles the correct bits).
uint32_t Inverse(uint32_t odd) {
    uint32_t inverse = odd;
    for (int i = 0; i < 5; ++i) {
        inverse *= 2 - odd * inverse;
    }
    return inverse;
}

// sum over picture pixels of across^i * down^j * colour(i, j), as the screen scan computes it.
uint32_t PictureHash(const PixelBuffer& picture) {
    uint32_t hash = 0;
    uint32_t across = 1;
    for (int32_t i = 0; i < picture.Width(); ++i, across *= kAcrossFactor) {
        uint32_t column = 0;
        for (int32_t j = picture.Height() - 1; j >= 0; --j) {
            column = column * kDownFactor + (picture.At(i, j) & kColourMask);
        }
        hash += across * column;
    }
    return hash;
}

void Prefetch(const uint32_t* pixels, int32_t count) {
    const auto* bytes = reinterpret_cast<const char*>(pixels);
    for (size_t offset = 0; offset < static_cast<size_t>(count) * 4; offset += 64) {
        __builtin_prefetch(bytes + offset);
    }
}

using MemberHash = HashScratch::MemberHash;

bool ByHashThenMember(const MemberHash& a, const MemberHash& b) {
    return a.hash != b.hash ? a.hash < b.hash : a.member < b.member;
}

bool Matches(const PixelBuffer& screen, const PixelBuffer& picture, int32_t x, int32_t y,
             const SearchKernels& kernels) {
    for (int32_t j = picture.Height() - 1; j >= 0; --j) {
        if (kernels.firstMismatch(screen.Row(y + j) + x, picture.Row(j), picture.Width()) <
            picture.Width()) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<GroupMatch> FindFirstOfGroupByHash(const PixelBuffer& screen,
                                                 std::span<const PixelBuffer* const> members,
                                                 int32_t startRow, int32_t startColumn,
                                                 const SearchKernels& kernels) {
    HashScratch scratch;
    return FindFirstOfGroupByHash(screen, members, startRow, startColumn, kernels, scratch);
}

std::optional<GroupMatch> FindFirstOfGroupByHash(const PixelBuffer& screen,
                                                 std::span<const PixelBuffer* const> members,
                                                 int32_t startRow, int32_t startColumn,
                                                 const SearchKernels& kernels,
                                                 HashScratch& scratch) {
    if (members.empty()) {
        return std::nullopt;
    }
    const int32_t width = members[0]->Width();
    const int32_t height = members[0]->Height();
    const int32_t screenWidth = screen.Width();
    const int32_t columns = screenWidth - width + 1;
    if (width < 1 || height < 1 || columns < 1 || screen.Height() < height) {
        return std::nullopt;
    }
    if (startRow > screen.Height() - height) {
        startRow = screen.Height() - height;
        startColumn = 0;
    }
    if (startRow < 0) {
        return std::nullopt;
    }

    std::vector<MemberHash>& hashes = scratch.hashes;
    hashes.clear();
    // A 65536-bit filter on the top bits of the member hashes rejects almost every candidate
    // with one lookup.
    std::vector<uint32_t>& filter = scratch.filter;
    filter.assign(2048, 0);
    for (size_t member = 0; member < members.size(); ++member) {
        if (members[member]->Width() != width || members[member]->Height() != height) {
            continue;  // not of the group's size: never compared, never read past the screen
        }
        const uint32_t hash = PictureHash(*members[member]);
        hashes.push_back({hash, member});
        filter[hash >> 21] |= 1u << ((hash >> 16) & 31);
    }
    std::sort(hashes.begin(), hashes.end(), ByHashThenMember);

    uint32_t* const acrossPowers = scratch.acrossPowers.Room(static_cast<size_t>(screenWidth));
    uint32_t* const inversePowers = scratch.inversePowers.Room(static_cast<size_t>(columns));
    const uint32_t inverseAcross = Inverse(kAcrossFactor);
    uint32_t power = 1;
    for (int32_t x = 0; x < screenWidth; ++x) {
        acrossPowers[x] = power;
        power *= kAcrossFactor;
    }
    power = 1;
    for (int32_t x = 0; x < columns; ++x) {
        inversePowers[x] = power;
        power *= inverseAcross;
    }
    const uint32_t dropFactor = Power(kDownFactor, height - 1);

    // columnHashes[x] = sum over j < height of down^j * colour(x, row + j).
    uint32_t* const columnHashes = scratch.columnHashes.Room(static_cast<size_t>(screenWidth));
    std::fill(columnHashes, columnHashes + screenWidth, 0u);
    for (int32_t j = height - 1; j >= 0; --j) {
        kernels.addRowToColumnHashes(columnHashes, screen.Row(startRow + j), screenWidth,
                                     kDownFactor);
    }
    uint32_t* const prefix = scratch.prefix.Room(static_cast<size_t>(screenWidth) + 1);
    int32_t* const hits = scratch.hits.Room(static_cast<size_t>(columns));
    uint32_t* const hitHashes = scratch.hitHashes.Room(static_cast<size_t>(columns));
    size_t limit = members.size();  // members from this index on no longer matter
    std::optional<GroupMatch> best;
    for (int32_t row = startRow; row >= 0; --row) {
        if (row != startRow) {
            kernels.rollColumnHashes(columnHashes, screen.Row(row), screen.Row(row + height),
                                     screenWidth, kDownFactor, dropFactor);
        }
        if (row > 0) {
            // The rows go upwards, against the direction the memory prefetchers expect.
            Prefetch(screen.Row(row - 1), screenWidth);
            Prefetch(screen.Row(row - 1 + height), screenWidth);
        }
        const int32_t count =
            kernels.hashRow(columnHashes, screenWidth, width, acrossPowers, inversePowers,
                            filter.data(), prefix, hits, hitHashes);
        for (int32_t i = 0; i < count; ++i) {
            const int32_t x = hits[i];
            const uint32_t hash = hitHashes[i];
            if (row == startRow && x < startColumn) {
                continue;
            }
            const auto first = std::lower_bound(hashes.begin(), hashes.end(), MemberHash{hash, 0},
                                                ByHashThenMember);
            for (auto entry = first; entry != hashes.end() && entry->hash == hash; ++entry) {
                if (entry->member >= limit) {
                    break;
                }
                if (Matches(screen, *members[entry->member], x, row, kernels)) {
                    best = GroupMatch{entry->member, {x, row}};
                    limit = entry->member;
                    break;
                }
            }
            if (limit == 0) {
                return best;
            }
        }
    }
    return best;
}
