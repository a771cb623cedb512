// The list search: which targets share a pass over the screen, and in what order they are
// settled so that the lowest order number found wins.
#include "engine/TargetSearch.h"

#include <algorithm>
#include <span>
#include <tuple>

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

// TargetsInSearchOrder into `byOrder`, in the storage it has.
void FillSearchOrder(const CTargetObjList& list, std::vector<const CTargetObj*>& byOrder) {
    byOrder.assign(list.Count(), nullptr);
    for (const auto& target : list) {
        const int32_t order = target->m_nOrder;
        if (order >= 0 && static_cast<size_t>(order) < byOrder.size() &&
            byOrder[static_cast<size_t>(order)] == nullptr) {
            byOrder[static_cast<size_t>(order)] = target.get();
        }
    }
    std::erase(byOrder, nullptr);
}

}  // namespace

TargetHit MakeTargetHit(const CTargetObj& target, Point topLeft) {
    return MakeTargetHit(target, topLeft, target.m_ptClickShift);
}

TargetHit MakeTargetHit(const CTargetObj& target, Point topLeft, Point ptShift) {
    TargetHit hit;
    hit.target = &target;
    hit.topLeft = topLeft;
    const PixelBuffer* pixels = target.m_bmpTarget.Pixels();
    hit.centre = PictureCentre(topLeft, pixels != nullptr ? pixels->Width() : 0,
                               pixels != nullptr ? pixels->Height() : 0);
    // The shift is read from the file unchecked: the sum may lie beyond int32.
    hit.click = {ClampToInt32(int64_t{hit.centre.x} + ptShift.x),
                 ClampToInt32(int64_t{hit.centre.y} + ptShift.y)};
    return hit;
}

std::vector<const CTargetObj*> TargetsInSearchOrder(const CTargetObjList& list) {
    std::vector<const CTargetObj*> byOrder;
    FillSearchOrder(list, byOrder);
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
    Rebuild(list);
    // Made for one list, as the command line and one-off searches do: what profiling the
    // pictures needed is given back at once.
    m_searchOrder = std::vector<const CTargetObj*>();
    m_profileScratch = ProfileScratch();
}

void CTargetSearch::Rebuild(const CTargetObjList& list) {
    FillSearchOrder(list, m_searchOrder);
    m_entries.clear();
    for (const CTargetObj* target : m_searchOrder) {
        const PixelBuffer* pixels = target->m_bmpTarget.Pixels();
        if (pixels == nullptr || pixels->IsEmpty()) {
            continue;
        }
        if (m_profiles.size() == m_entries.size()) {
            m_profiles.emplace_back();
        }
        m_profiles[m_entries.size()].Make(*pixels, true, m_profileScratch);
        m_entries.push_back({target, pixels});
    }
}

std::optional<TargetHit> CTargetSearch::FindFirst(const PixelBuffer& screen,
                                                  SearchPath path) const {
    Scratch& scratch = m_scratch;
    std::vector<size_t>& fitting = scratch.fitting;
    fitting.clear();
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
    CScreenSample& sample = scratch.sample;
    sample.Take(screen,
                separately ? CScreenSample::kSingleSearchRuns : CScreenSample::kListSearchRuns,
                !separately);
    std::vector<AnchorChoice>& choices = scratch.choices;
    choices.resize(m_entries.size());
    for (const size_t index : fitting) {
        choices[index] = ChooseAnchors(m_profiles[index], sample);
    }
    const auto hitAt = [&](size_t index, Point topLeft) {
        return MakeTargetHit(*m_entries[index].target, topLeft);
    };
    if (separately) {
        for (const size_t index : fitting) {
            if (const auto found =
                    FindPictureByAnchors(screen, *m_entries[index].pixels, choices[index], kernels,
                                         scratch.anchorScan)) {
                return hitAt(index, *found);
            }
        }
        return std::nullopt;
    }

    // Every entry below `limit` that is not yet settled is still to be searched; `limit` is the
    // entry found with the lowest index so far.
    size_t limit = m_entries.size();
    Point limitTopLeft;
    std::vector<size_t>& pending = scratch.pending;
    std::vector<ColourPassMember>& members = scratch.members;
    std::vector<size_t>& memberEntries = scratch.memberEntries;
    pending.clear();
    members.clear();
    memberEntries.clear();
    for (const size_t index : fitting) {
        if (IsRare(choices[index])) {
            members.push_back({m_entries[index].pixels, choices[index]});
            memberEntries.push_back(index);
        } else {
            pending.push_back(index);
        }
    }
    const ColourPassResult& shared =
        FindFirstByColourPass(screen, members, sample, kernels, scratch.colourPass);
    if (shared.match) {
        limit = memberEntries[shared.match->member];
        limitTopLeft = shared.match->topLeft;
    }
    for (const size_t member : shared.deferred) {
        pending.push_back(memberEntries[member]);
    }
    std::sort(pending.begin(), pending.end());

    // Entries of one size share a rolling-hash pass: the sizes in increasing order, each with its
    // entries in increasing order.
    std::vector<SizedEntry>& sized = scratch.sized;
    sized.clear();
    for (const size_t index : pending) {
        const PixelBuffer& pixels = *m_entries[index].pixels;
        sized.push_back({pixels.Width(), pixels.Height(), index});
    }
    std::sort(sized.begin(), sized.end(), [](const SizedEntry& a, const SizedEntry& b) {
        return std::tie(a.width, a.height, a.index) < std::tie(b.width, b.height, b.index);
    });
    std::vector<size_t>& separate = scratch.separate;
    separate.clear();
    for (size_t groupStart = 0; groupStart < sized.size();) {
        size_t groupEnd = groupStart + 1;
        while (groupEnd < sized.size() && sized[groupEnd].width == sized[groupStart].width &&
               sized[groupEnd].height == sized[groupStart].height) {
            ++groupEnd;
        }
        const std::span<const SizedEntry> group(sized.data() + groupStart, groupEnd - groupStart);
        groupStart = groupEnd;
        if (group.size() < kHashGroupMinimum) {
            for (const SizedEntry& entry : group) {
                separate.push_back(entry.index);
            }
            continue;
        }
        std::vector<const PixelBuffer*>& pictures = scratch.groupPictures;
        std::vector<size_t>& pictureEntries = scratch.groupEntries;
        pictures.clear();
        pictureEntries.clear();
        for (const SizedEntry& entry : group) {
            if (entry.index < limit) {
                pictures.push_back(m_entries[entry.index].pixels);
                pictureEntries.push_back(entry.index);
            }
        }
        if (const auto found =
                FindFirstOfGroupByHash(screen, pictures, kernels, scratch.anchorScan.hash)) {
            limit = pictureEntries[found->member];
            limitTopLeft = found->topLeft;
        }
    }
    std::sort(separate.begin(), separate.end());
    for (const size_t index : separate) {
        if (index >= limit) {
            break;
        }
        if (const auto found = FindPictureByAnchors(screen, *m_entries[index].pixels,
                                                    choices[index], kernels, scratch.anchorScan)) {
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
