// The colour pass: a bit filter over the members' pairs of neighbouring colours, banded like the
// anchor scan, with members that prove too common on the screen handed back to be searched on
// their own.
#include "engine/PictureSearchColourPass.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int32_t kBandRows = 64;

// Odd factors that spread a pair of colours over the filter's bits; another set is tried when a
// common pair of the screen happens to share a bit with a member's pair.
struct FilterFactors {
    uint32_t left;
    uint32_t right;
};
constexpr FilterFactors kFilterFactors[] = {{0x9E3779B1u, 0x85EBCA77u}, {0xC2B2AE3Du, 0x27D4EB2Fu},
                                            {0x165667B1u, 0xD3A2646Du}, {0xFD7046C5u, 0xB55A4F09u},
                                            {0x2545F491u, 0x9E6C63D1u}, {0x4CF5AD43u, 0x2127599Bu}};

class CColourPass {
public:
    CColourPass(const PixelBuffer& screen, std::span<const ColourPassMember> members,
                const CScreenSample& sample, const SearchKernels& kernels,
                ColourPassScratch& scratch)
        : m_screen(screen),
          m_members(members),
          m_kernels(kernels),
          m_states(scratch.states),
          m_keys(scratch.keys),
          m_filter(scratch.filter),
          m_bandKeys(scratch.bandKeys),
          m_result(scratch.result),
          m_nLimit(members.size()) {
        m_states.assign(members.size(), MemberState{});
        m_keys.clear();
        for (size_t member = 0; member < members.size(); ++member) {
            const AnchorChoice& choice = members[member].anchors;
            if (!choice.hasPair || choice.count < 1) {
                m_states[member].deferred = true;  // one pixel wide: nothing to key on
                continue;
            }
            m_keys.emplace_back(ColourPair(choice.pair.left.colour, choice.pair.right), member);
        }
        std::sort(m_keys.begin(), m_keys.end());
        ChooseFactors(sample);
        // Room for every pixel of a band, left uninitialised so that only the pages written are
        // ever touched; a band with more than m_nHitCap hits is thinned out and screened again.
        const int64_t bandPixels = static_cast<int64_t>(kBandRows) * screen.Width();
        m_nHitCap = 4096 + bandPixels / 16;
        m_hits = scratch.hits.Room(static_cast<size_t>(bandPixels) + 1);
        Recount();
    }

    const ColourPassResult& Run() {
        int32_t rowStart[kBandRows + 1];
        for (int32_t high = m_screen.Height() - 1; high >= 0 && AnyActive(); high -= kBandRows) {
            const int32_t low = std::max(0, high - kBandRows + 1);
            int64_t total = 0;
            for (int32_t row = low; row <= high; ++row) {
                rowStart[row - low] = static_cast<int32_t>(total);
                total += ScreenRow(m_screen.Row(row), m_hits + total);
                if (total > m_nHitCap && m_nRetries < 64) {
                    // A common pair gets through: drop whatever lets it through and screen the
                    // band again.
                    ++m_nRetries;
                    ThinOut(low, row, rowStart, total);
                    total = 0;
                    row = low - 1;
                    if (!AnyActive()) {
                        return Result();
                    }
                }
            }
            rowStart[high - low + 1] = static_cast<int32_t>(total);
            for (int32_t row = high; row >= low; --row) {
                for (int32_t i = rowStart[row - low]; i < rowStart[row - low + 1]; ++i) {
                    CheckHit(m_hits[static_cast<size_t>(i)], row);
                    if (!AnyActive()) {
                        return Result();
                    }
                }
            }
            m_nScreened += static_cast<int64_t>(high - low + 1) * m_screen.Width();
            DeferCostlyMembers();
        }
        return Result();
    }

private:
    using MemberState = ColourPassScratch::MemberState;

    const ColourPassResult& Result() {
        m_result.match = m_match;
        m_result.deferred.clear();
        for (size_t member = 0; member < m_states.size(); ++member) {
            if (m_states[member].deferred) {
                m_result.deferred.push_back(member);
            }
        }
        return m_result;
    }

    bool IsActive(size_t member) const { return member < m_nLimit && !m_states[member].deferred; }

    bool AnyActive() const { return m_nActive > 0; }

    // After the limit moved or members were deferred.
    void Recount() {
        m_nActive = 0;
        for (size_t member = 0; member < m_nLimit; ++member) {
            m_nActive += m_states[member].deferred ? 0 : 1;
        }
        RebuildFilter();
    }

    uint32_t FilterIndex(uint64_t key) const {
        const uint32_t left = static_cast<uint32_t>(key >> 32);
        const uint32_t right = static_cast<uint32_t>(key);
        return (left * m_factors.left + right * m_factors.right) >> (32 - kPairFilterBits);
    }

    // The first factors that let almost none of the sampled pairs of other colours through the
    // filter, or else those that let the fewest through.
    void ChooseFactors(const CScreenSample& sample) {
        uint64_t fewest = UINT64_MAX;
        FilterFactors chosen = kFilterFactors[0];
        for (const FilterFactors& factors : kFilterFactors) {
            m_factors = factors;
            RebuildFilter();
            uint64_t passed = 0;
            for (const auto& entry : sample.Pairs().Entries()) {
                if (FilterPasses(entry.key) && !IsKey(entry.key)) {
                    passed += entry.count;
                }
            }
            if (passed < fewest) {
                fewest = passed;
                chosen = factors;
            }
            if (passed * 1024 <= sample.PairSize()) {
                break;
            }
        }
        m_factors = chosen;
    }

    void NextFactors() {
        const size_t count = std::size(kFilterFactors);
        size_t index = 0;
        while (index < count && kFilterFactors[index].left != m_factors.left) {
            ++index;
        }
        m_factors = kFilterFactors[(index + 1) % count];
    }

    bool IsKey(uint64_t key) const {
        const auto entry =
            std::lower_bound(m_keys.begin(), m_keys.end(), std::pair<uint64_t, size_t>(key, 0));
        return entry != m_keys.end() && entry->first == key;
    }

    void RebuildFilter() {
        m_filter.assign(size_t{1} << (kPairFilterBits - 5), 0);
        for (const auto& [key, member] : m_keys) {
            if (IsActive(member)) {
                const uint32_t index = FilterIndex(key);
                m_filter[index >> 5] |= 1u << (index & 31);
            }
        }
    }

    bool FilterPasses(uint64_t key) const {
        const uint32_t index = FilterIndex(key);
        return ((m_filter[index >> 5] >> (index & 31)) & 1) != 0;
    }

    // Appends the columns of `row` whose pair (the pixel and its right neighbour) passes the
    // filter.
    int32_t ScreenRow(const uint32_t* row, int32_t* hits) const {
        return m_kernels.filterPairs(row, m_screen.Width() - 1, m_filter.data(), m_factors.left,
                                     m_factors.right, hits);
    }

    uint64_t KeyAt(int32_t x, int32_t row) const {
        const uint32_t* pixels = m_screen.Row(row) + x;
        return ColourPair(pixels[0] & kColourMask, pixels[1] & kColourMask);
    }

    // Too many hits in rows low ... lastRow: the most frequent pair among them either belongs
    // to members, which are deferred, or slips through the filter, which gets new factors.
    void ThinOut(int32_t low, int32_t lastRow, const int32_t* rowStart, int64_t total) {
        std::vector<uint64_t>& keys = m_bandKeys;
        keys.clear();
        keys.reserve(static_cast<size_t>(total));
        for (int32_t row = low; row <= lastRow; ++row) {
            const int32_t end =
                row < lastRow ? rowStart[row - low + 1] : static_cast<int32_t>(total);
            for (int32_t i = rowStart[row - low]; i < end; ++i) {
                keys.push_back(KeyAt(m_hits[static_cast<size_t>(i)], row));
            }
        }
        std::sort(keys.begin(), keys.end());
        uint64_t commonest = 0;
        size_t most = 0;
        for (size_t i = 0; i < keys.size();) {
            size_t j = i;
            while (j < keys.size() && keys[j] == keys[i]) {
                ++j;
            }
            if (j - i > most) {
                most = j - i;
                commonest = keys[i];
            }
            i = j;
        }
        bool deferredAny = false;
        for (const auto& [key, member] : m_keys) {
            if (key == commonest && IsActive(member)) {
                m_states[member].deferred = true;
                deferredAny = true;
            }
        }
        if (!deferredAny) {
            NextFactors();
        }
        Recount();
    }

    // The pixel at column x of `row` and its right neighbour passed the filter: try every active
    // member with that pair, at the candidate that puts its pair there.
    void CheckHit(int32_t x, int32_t row) {
        const uint64_t key = KeyAt(x, row);
        auto entry =
            std::lower_bound(m_keys.begin(), m_keys.end(), std::pair<uint64_t, size_t>(key, 0));
        for (; entry != m_keys.end() && entry->first == key; ++entry) {
            const size_t member = entry->second;
            if (!IsActive(member)) {
                continue;
            }
            const PixelBuffer& picture = *m_members[member].picture;
            const PicturePixel& anchor = m_members[member].anchors.pair.left;
            const int32_t left = x - anchor.x;
            const int32_t top = row - anchor.y;
            if (left < 0 || top < 0 || left > m_screen.Width() - picture.Width() ||
                top > m_screen.Height() - picture.Height()) {
                continue;
            }
            if (Verify(member, left, top)) {
                m_match = GroupMatch{member, {left, top}};
                m_nLimit = member;
                Recount();
                return;
            }
        }
    }

    bool Verify(size_t member, int32_t left, int32_t top) {
        const PixelBuffer& picture = *m_members[member].picture;
        const AnchorChoice& choice = m_members[member].anchors;
        MemberState& state = m_states[member];
        ++state.work;
        const auto differs = [&](const PicturePixel& pixel) {
            return ((m_screen.Row(top + pixel.y)[left + pixel.x] ^ pixel.colour) & kColourMask) !=
                   0;
        };
        for (int k = 0; k < choice.count; ++k) {
            if (differs(choice.anchors[k])) {
                return false;
            }
        }
        if (state.hasHot && differs(state.hot)) {
            return false;
        }
        const int32_t width = picture.Width();
        for (int32_t j = picture.Height() - 1; j >= 0; --j) {
            const int32_t at =
                m_kernels.firstMismatch(m_screen.Row(top + j) + left, picture.Row(j), width);
            state.work += std::min(at + 1, width);
            if (at < width) {
                state.hot = {at, j, picture.At(at, j) & kColourMask};
                state.hasHot = true;
                return false;
            }
        }
        return true;
    }

    // A member that costs more than a pass of its own would is better searched on its own.
    void DeferCostlyMembers() {
        bool deferredAny = false;
        for (size_t member = 0; member < m_nLimit; ++member) {
            MemberState& state = m_states[member];
            if (!state.deferred && state.work > 1024 + m_nScreened / 64) {
                state.deferred = true;
                deferredAny = true;
            }
        }
        if (deferredAny) {
            Recount();
        }
    }

    const PixelBuffer& m_screen;
    std::span<const ColourPassMember> m_members;
    const SearchKernels& m_kernels;
    std::vector<MemberState>& m_states;
    std::vector<std::pair<uint64_t, size_t>>& m_keys;  // the members' pairs, sorted
    std::vector<uint32_t>& m_filter;
    std::vector<uint64_t>& m_bandKeys;
    ColourPassResult& m_result;
    FilterFactors m_factors = kFilterFactors[0];
    size_t m_nLimit;  // members from this index on no longer matter
    std::optional<GroupMatch> m_match;
    int32_t* m_hits = nullptr;  // room for every pixel of a band
    int64_t m_nHitCap = 0;
    int64_t m_nScreened = 0;
    int m_nRetries = 0;
    size_t m_nActive = 0;  // members below m_nLimit not deferred
};

}  // namespace

ColourPassResult FindFirstByColourPass(const PixelBuffer& screen,
                                       std::span<const ColourPassMember> members,
                                       const CScreenSample& sample, const SearchKernels& kernels) {
    ColourPassScratch scratch;
    return FindFirstByColourPass(screen, members, sample, kernels, scratch);
}

const ColourPassResult& FindFirstByColourPass(const PixelBuffer& screen,
                                              std::span<const ColourPassMember> members,
                                              const CScreenSample& sample,
                                              const SearchKernels& kernels,
                                              ColourPassScratch& scratch) {
    if (members.empty() || screen.IsEmpty()) {
        scratch.result.match.reset();
        scratch.result.deferred.clear();
        return scratch.result;
    }
    return CColourPass(screen, members, sample, kernels, scratch).Run();
}
