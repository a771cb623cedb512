// One pass over the screen for many pictures at once: every pair of neighbouring pixels is
// looked up among the pictures' rarest pairs, so the cost barely grows with the number of
// pictures.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "engine/PictureSearchAnchors.h"
#include "engine/PictureSearchHash.h"
#include "engine/PictureSearchKernels.h"
#include "engine/PictureSearchScratch.h"
#include "engine/PixelBuffer.h"

struct ColourPassMember {
    const PixelBuffer* picture;  // fits the screen
    AnchorChoice anchors;        // without a pair (one pixel wide), the member is deferred
};

struct ColourPassResult {
    // The member of the lowest index found, at its first match, among the members not deferred.
    std::optional<GroupMatch> match;
    // Members whose pair turned out to be common on this screen: the pass gave up on them, and
    // they must be searched on their own (those below match->member only).
    std::vector<size_t> deferred;
};

// The working storage of the colour pass, for a caller that searches again and again; it holds
// nothing from one search to the next but room, and the last result.
struct ColourPassScratch {
    struct MemberState {
        bool deferred = false;
        bool hasHot = false;
        PicturePixel hot;  // where verification failed last
        int64_t work = 0;
    };
    std::vector<MemberState> states;
    std::vector<std::pair<uint64_t, size_t>> keys;  // the members' pairs, sorted
    std::vector<uint32_t> filter;
    CScratchArray<int32_t> hits;     // screened columns of a band
    std::vector<uint64_t> bandKeys;  // the pairs at a band's hits, when thinning out
    ColourPassResult result;
};

// Searches `screen` for `members`, given in priority order (index 0 first). Each member found is
// found at its first match in search order. `sample` is the screen's colour sample.
ColourPassResult FindFirstByColourPass(const PixelBuffer& screen,
                                       std::span<const ColourPassMember> members,
                                       const CScreenSample& sample, const SearchKernels& kernels);

// The same, working in `scratch`: nothing is allocated once it has grown to the screen's size
// and the number of members. The result lives in `scratch` until its next search.
const ColourPassResult& FindFirstByColourPass(const PixelBuffer& screen,
                                              std::span<const ColourPassMember> members,
                                              const CScreenSample& sample,
                                              const SearchKernels& kernels,
                                              ColourPassScratch& scratch);
