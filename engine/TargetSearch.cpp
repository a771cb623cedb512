// The list search: which targets share a pass over the screen, and in what order they are
// settled so that the lowest order number found wins.
#include "engine/TargetSearch.h"

#include <algorithm>
#include <map>
#include <utility>

#include "engine/PictureSearchColourPass.h"
#include "engine/PictureSearchHash.h"
#include "engine/PictureSearchKernels.h"
#include "engine/PictureSearchScan.h"

namespace {

// Up to this many targets, one anchor scan each (about one read of the screen apiece) is cheaper
// than the shared colour pass, whose per-pixel lookup costs several reads.
constexpr size_t kSeparateScanLimit = 6;
// A size shared by this many targets with common colours is searched with one rolling hash.
constexpr size_t kHashGroupMinimum = 3;

bool Fits(const PixelBuffer& screen, const PixelBuffer& picture) {
    return picture.Width() <= screen.Width() && picture.Height() <= screen.Height();
}

// A pair seen at more than 1 in 64 sampled places would make the shared pass stop too often.
bool IsRare(const AnchorChoice& choice) {
    return choice.hasPair &&
           static_cast<uint64_t>(choice.pairScreenCount) * 64 <= choice.pairSampleSize;
}

}  // namespace

TargetHit MakeTargetHit(const CTargetObj& target, Point topLeft) {
    TargetHit hit;
    hit.target = &target;
    hit.topLeft = topLeft;
    const PixelBuffer* pixels = target.m_bmpTarget.Pixels();
    hit.centre = PictureCentre(topLeft, pixels != nullptr ? pixels->Width() : 0,
                               pixels != nullptr ? pixels->Height() : 0);
    hit.click = {hit.centre.x + target.m_ptClickShift.x, hit.centre.y + target.m_ptClickShift.y};
    return hit;
}

std::vector<const CTargetObj*> TargetsInSearchOrder(const CTargetObjList& list) {
    std::vector<const CTargetObj*> byOrder(list.Count(), nullptr);
    for (const auto& target : list) {
        const int32_t order = target->m_nOrder;
        if (order >= 0 && static_cast<size_t>(order) < byOrder.size() &&
            byOrder[static_cast<size_t>(order)] == nullptr) {
            byOrder[static_cast<size_t>(order)] = target.get();
        }
    }
    std::erase(byOrder, nullptr);
    return byOrder;
}

std::optional<TargetHit> FindFirstTargetReference(const CTargetObjList& list,
                                                  const PixelBuffer& screen) {
    for (const CTargetObj* target : TargetsInSearchOrder(list)) {
        const PixelBuffer* pixels = target->m_bmpTarget.Pixels();
        if (pixels == nullptr) {
            continue;
        }
        if (const auto found = FindPictureReference(screen, *pixels)) {
            return MakeTargetHit(*target, *found);
        }
    }
    return std::nullopt;
}

CTargetSearch::CTargetSearch(const CTargetObjList& list) {
    for (const CTargetObj* target : TargetsInSearchOrder(list)) {
        const PixelBuffer* pixels = target->m_bmpTarget.Pixels();
        if (pixels != nullptr && !pixels->IsEmpty()) {
            m_entries.push_back({target, pixels, CPictureProfile(*pixels, true)});
        }
    }
}

std::optional<TargetHit> CTargetSearch::FindFirst(const PixelBuffer& screen,
                                                  SearchPath path) const {
    std::vector<size_t> fitting;
    for (size_t index = 0; index < m_entries.size(); ++index) {
        if (Fits(screen, *m_entries[index].pixels)) {
            fitting.push_back(index);
        }
    }
    if (fitting.empty()) {
        return std::nullopt;
    }
    const SearchKernels& kernels = KernelsFor(path);
    const bool separately = fitting.size() <= kSeparateScanLimit;
    const CScreenSample sample(
        screen, separately ? CScreenSample::kSingleSearchRuns : CScreenSample::kListSearchRuns,
        !separately);
    std::vector<AnchorChoice> choices(m_entries.size());
    for (const size_t index : fitting) {
        choices[index] = ChooseAnchors(m_entries[index].profile, sample);
    }
    const auto hitAt = [&](size_t index, Point topLeft) {
        return MakeTargetHit(*m_entries[index].target, topLeft);
    };
    if (separately) {
        for (const size_t index : fitting) {
            if (const auto found = FindPictureByAnchors(screen, *m_entries[index].pixels,
                                                        choices[index], kernels)) {
                return hitAt(index, *found);
            }
        }
        return std::nullopt;
    }

    // Every entry below `limit` that is not yet settled is still to be searched; `limit` is the
    // entry found with the lowest index so far.
    size_t limit = m_entries.size();
    Point limitTopLeft;
    std::vector<size_t> pending;
    std::vector<ColourPassMember> members;
    std::vector<size_t> memberEntries;
    for (const size_t index : fitting) {
        if (IsRare(choices[index])) {
            members.push_back({m_entries[index].pixels, choices[index]});
            memberEntries.push_back(index);
        } else {
            pending.push_back(index);
        }
    }
    const ColourPassResult shared = FindFirstByColourPass(screen, members, sample, kernels);
    if (shared.match) {
        limit = memberEntries[shared.match->member];
        limitTopLeft = shared.match->topLeft;
    }
    for (const size_t member : shared.deferred) {
        pending.push_back(memberEntries[member]);
    }
    std::sort(pending.begin(), pending.end());

    // Entries of one size share a rolling-hash pass.
    std::map<std::pair<int32_t, int32_t>, std::vector<size_t>> bySize;
    for (const size_t index : pending) {
        const PixelBuffer& pixels = *m_entries[index].pixels;
        bySize[{pixels.Width(), pixels.Height()}].push_back(index);
    }
    std::vector<size_t> separate;
    for (const auto& [size, group] : bySize) {
        if (group.size() < kHashGroupMinimum) {
            separate.insert(separate.end(), group.begin(), group.end());
            continue;
        }
        std::vector<const PixelBuffer*> pictures;
        std::vector<size_t> pictureEntries;
        for (const size_t index : group) {
            if (index < limit) {
                pictures.push_back(m_entries[index].pixels);
                pictureEntries.push_back(index);
            }
        }
        if (const auto found = FindFirstOfGroupByHash(screen, pictures, kernels)) {
            limit = pictureEntries[found->member];
            limitTopLeft = found->topLeft;
        }
    }
    std::sort(separate.begin(), separate.end());
    for (const size_t index : separate) {
        if (index >= limit) {
            break;
        }
        if (const auto found =
                FindPictureByAnchors(screen, *m_entries[index].pixels, choices[index], kernels)) {
            limit = index;
            limitTopLeft = *found;
            break;
        }
    }
    if (limit == m_entries.size()) {
        return std::nullopt;
    }
    return hitAt(limit, limitTopLeft);
}
