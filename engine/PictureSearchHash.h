// Exact search for same-sized pictures with a rolling hash of every candidate position: a cost
// that no screen content can raise, for when screening by anchor pixels lets too much through.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "engine/PictureSearchKernels.h"
#include "engine/PictureSearchScratch.h"
#include "engine/PixelBuffer.h"

struct GroupMatch {
    size_t member;  // index into the searched pictures
    Point topLeft;
};

// The working storage of FindFirstOfGroupByHash, for a caller that searches again and again; it
// holds nothing from one search to the next but room.
struct HashScratch {
    struct MemberHash {
        uint32_t hash;
        size_t member;
    };
    std::vector<MemberHash> hashes;  // sorted by hash, then member
    std::vector<uint32_t> filter;
    CScratchArray<uint32_t> acrossPowers;
    CScratchArray<uint32_t> inversePowers;
    CScratchArray<uint32_t> columnHashes;
    CScratchArray<uint32_t> prefix;
    CScratchArray<int32_t> hits;
    CScratchArray<uint32_t> hitHashes;
};

// Searches `screen` for `members`, pictures of one size no larger than the screen (a member of
// another size than the first is never found), in priority order (index 0 first). Candidates are
// visited in search order (bottom row lowest first, then from the left), starting at top row
// `startRow`, column `startColumn`; candidates before that are skipped. Returns the member of the
// lowest index that is found, at its first match; nothing when none is. Every hash hit is verified
// pixel by pixel, so the result is exact.
std::optional<GroupMatch> FindFirstOfGroupByHash(const PixelBuffer& screen,
                                                 std::span<const PixelBuffer* const> members,
                                                 int32_t startRow, int32_t startColumn,
                                                 const SearchKernels& kernels);

// The same, working in `scratch`: nothing is allocated once it has grown to the screen's width.
std::optional<GroupMatch> FindFirstOfGroupByHash(const PixelBuffer& screen,
                                                 std::span<const PixelBuffer* const> members,
                                                 int32_t startRow, int32_t startColumn,
                                                 const SearchKernels& kernels,
                                                 HashScratch& scratch);

// FindFirstOfGroupByHash over every candidate.
inline std::optional<GroupMatch> FindFirstOfGroupByHash(const PixelBuffer& screen,
                                                        std::span<const PixelBuffer* const> members,
                                                        const SearchKernels& kernels,
                                                        HashScratch& scratch) {
    if (members.empty()) {
        return std::nullopt;
    }
    return FindFirstOfGroupByHash(screen, members, screen.Height() - members[0]->Height(), 0,
                                  kernels, scratch);
}
