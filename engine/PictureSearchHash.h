// Exact search for same-sized pictures with a rolling hash of every candidate position: a cost
// that no screen content can raise, for when screening by anchor pixels lets too much through.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "engine/PictureSearchKernels.h"
#include "engine/PixelBuffer.h"

struct GroupMatch {
    size_t member;  // index into the searched pictures
    Point topLeft;
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

// FindFirstOfGroupByHash over every candidate.
inline std::optional<GroupMatch> FindFirstOfGroupByHash(const PixelBuffer& screen,
                                                        std::span<const PixelBuffer* const> members,
                                                        const SearchKernels& kernels) {
    if (members.empty()) {
        return std::nullopt;
    }
    return FindFirstOfGroupByHash(screen, members, screen.Height() - members[0]->Height(), 0,
                                  kernels);
}
