// Counting colours on the screen and in the picture, and picking anchors from the counts.
#include "engine/PictureSearchAnchors.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int32_t kSampleRunLength = 16;  // one cache line of pixels
constexpr int32_t kMaxProfiledPixels = 4096;

uint32_t MixBits(uint32_t value) {
    value ^= value >> 16;
    value *= 0x7FEB352Du;
    value ^= value >> 15;
    value *= 0x846CA68Bu;
    value ^= value >> 16;
    return value;
}

// Cheap hashes for the count tables: colours are spread well enough by one multiply.
uint32_t QuickHash(uint32_t value) {
    return (value * 0x9E3779B1u) >> 7;
}

uint32_t QuickHash(uint64_t value) {
    return QuickHash(static_cast<uint32_t>(value) ^
                     (static_cast<uint32_t>(value >> 32) * 0x85EBCA77u));
}

size_t PowerOfTwoAtLeast(size_t value) {
    size_t power = 16;
    while (power < value) {
        power *= 2;
    }
    return power;
}

int32_t Distance(const PicturePixel& a, const PicturePixel& b) {
    return std::max(std::abs(a.x - b.x), std::abs(a.y - b.y));
}

}  // namespace

template <typename Key>
void CKeyCounts<Key>::Reset(size_t capacity) {
    m_slots.assign(PowerOfTwoAtLeast(2 * capacity), 0);
    m_entries.clear();
    m_entries.reserve(capacity);
}

template <typename Key>
size_t CKeyCounts<Key>::SlotOf(Key key) const {
    const size_t mask = m_slots.size() - 1;
    size_t slot = QuickHash(key) & mask;
    while (m_slots[slot] != 0 && m_entries[m_slots[slot] - 1].key != key) {
        slot = (slot + 1) & mask;
    }
    return slot;
}

template <typename Key>
void CKeyCounts<Key>::Add(Key key, uint32_t times) {
    const size_t slot = SlotOf(key);
    if (m_slots[slot] == 0) {
        m_entries.push_back({key, 0});
        m_slots[slot] = static_cast<uint32_t>(m_entries.size());
    }
    m_entries[m_slots[slot] - 1].count += times;
}

template <typename Key>
uint32_t CKeyCounts<Key>::Count(Key key) const {
    const uint32_t index = m_slots[SlotOf(key)];
    return index == 0 ? 0 : m_entries[index - 1].count;
}

template class CKeyCounts<uint32_t>;
template class CKeyCounts<uint64_t>;

void CScreenSample::Take(const PixelBuffer& screen, int32_t runs, bool withPairs) {
    m_colours.Reset(static_cast<size_t>(runs) * kSampleRunLength);
    m_pairs.Reset(withPairs ? static_cast<size_t>(runs) * kSampleRunLength : 0);
    m_nSize = 0;
    m_nPairSize = 0;
    if (screen.IsEmpty()) {
        return;
    }
    const int32_t runLength = std::min(kSampleRunLength, screen.Width());
    for (int32_t run = 0; run < runs; ++run) {
        const int32_t y = static_cast<int32_t>(
            (static_cast<int64_t>(2 * run + 1) * screen.Height()) / (2 * runs));
        const uint32_t room = static_cast<uint32_t>(screen.Width() - runLength + 1);
        const int32_t x = static_cast<int32_t>(MixBits(static_cast<uint32_t>(run) + 1) % room);
        const uint32_t* pixels = screen.Row(y) + x;
        for (int32_t i = 0; i < runLength; ++i) {
            m_colours.Add(pixels[i] & kColourMask);
            if (withPairs && i + 1 < runLength) {
                m_pairs.Add(ColourPair(pixels[i] & kColourMask, pixels[i + 1] & kColourMask));
            }
        }
        m_nSize += static_cast<uint32_t>(runLength);
        m_nPairSize += withPairs ? static_cast<uint32_t>(runLength - 1) : 0;
    }
}

CPictureProfile::CPictureProfile(const PixelBuffer& picture, bool withPairs) {
    ProfileScratch scratch;
    Make(picture, withPairs, scratch);
}

void CPictureProfile::Make(const PixelBuffer& picture, bool withPairs, ProfileScratch& scratch) {
    m_colours.clear();
    m_pairs.clear();

    // Large pictures are examined on a grid: anchors need a few rare pixels, not all of them.
    const int64_t area = static_cast<int64_t>(picture.Width()) * picture.Height();
    int32_t step = 1;
    while (area / (static_cast<int64_t>(step) * step) > kMaxProfiledPixels) {
        ++step;
    }
    const int32_t columns = (picture.Width() + step - 1) / step;
    const int32_t rows = (picture.Height() + step - 1) / step;
    const size_t examined = static_cast<size_t>(columns) * static_cast<size_t>(rows);

    // Count the colours; remember each examined pixel's colour entry.
    std::vector<Colour>& colours = scratch.colours;
    colours.clear();
    std::vector<uint32_t>& slots = scratch.slots;
    slots.assign(PowerOfTwoAtLeast(2 * examined), 0);
    const uint32_t slotMask = static_cast<uint32_t>(slots.size() - 1);
    std::vector<uint32_t>& entryOf = scratch.entryOf;
    entryOf.resize(examined);
    size_t at = 0;
    for (int32_t y = 0; y < picture.Height(); y += step) {
        for (int32_t x = 0; x < picture.Width(); x += step, ++at) {
            const PicturePixel pixel{x, y, picture.At(x, y) & kColourMask};
            uint32_t slot = QuickHash(pixel.colour) & slotMask;
            while (slots[slot] != 0 && colours[slots[slot] - 1].colour != pixel.colour) {
                slot = (slot + 1) & slotMask;
            }
            if (slots[slot] == 0) {
                const uint32_t tieBreak =
                    QuickHash((static_cast<uint32_t>(y) << 16) ^ static_cast<uint32_t>(x));
                colours.push_back({pixel.colour, 0, tieBreak, pixel, pixel});
                slots[slot] = static_cast<uint32_t>(colours.size());
            }
            entryOf[at] = slots[slot] - 1;
            Colour& entry = colours[slots[slot] - 1];
            ++entry.count;
            entry.last = pixel;
        }
    }

    // The row partners: per examined row, the pixels of its two rarest colours.
    using RowRarest = ProfileScratch::RowRarest;
    std::vector<RowRarest>& rowRarest = scratch.rowRarest;
    rowRarest.assign(static_cast<size_t>(rows), RowRarest{});
    at = 0;
    for (int32_t row = 0; row < rows; ++row) {
        RowRarest& rarest = rowRarest[static_cast<size_t>(row)];
        for (int32_t column = 0; column < columns; ++column, ++at) {
            const Colour& entry = colours[entryOf[at]];
            const PicturePixel pixel{column * step, row * step, entry.colour};
            const bool sameAsRarest =
                rarest.count[0] != UINT32_MAX && entry.colour == rarest.pixel[0].colour;
            if (sameAsRarest) {
                continue;
            }
            if (entry.count < rarest.count[0]) {
                rarest.pixel[1] = rarest.pixel[0];
                rarest.count[1] = rarest.count[0];
                rarest.pixel[0] = pixel;
                rarest.count[0] = entry.count;
            } else if (entry.count < rarest.count[1]) {
                rarest.pixel[1] = pixel;
                rarest.count[1] = entry.count;
            }
        }
    }

    // Keep the rarest colours (rarest first), each with its partner.
    std::vector<uint32_t>& order = scratch.order;
    order.resize(colours.size());
    for (uint32_t index = 0; index < order.size(); ++index) {
        order[index] = index;
    }
    const auto rarer = [&](uint32_t a, uint32_t b) {
        const Colour& left = colours[a];
        const Colour& right = colours[b];
        return left.count != right.count ? left.count < right.count
                                         : left.tieBreak < right.tieBreak;
    };
    const size_t kept = std::min(order.size(), kMaxColours);
    std::nth_element(order.begin(), order.begin() + static_cast<ptrdiff_t>(kept - 1), order.end(),
                     rarer);
    std::sort(order.begin(), order.begin() + static_cast<ptrdiff_t>(kept), rarer);
    m_colours.reserve(kept);
    for (size_t index = 0; index < kept; ++index) {
        Colour entry = colours[order[index]];
        const RowRarest& rarest = rowRarest[static_cast<size_t>(entry.first.y / step)];
        for (int k = 0; k < 2; ++k) {
            if (rarest.count[k] != UINT32_MAX && rarest.pixel[k].colour != entry.colour) {
                entry.rowPartner = rarest.pixel[k];
                break;
            }
        }
        m_colours.push_back(entry);
    }

    // Pairs on the same grid, a pixel with its right neighbour; rarest in the picture first.
    if (!withPairs || picture.Width() < 2) {
        return;
    }
    CKeyCounts<uint64_t>& pairCounts = scratch.pairCounts;
    pairCounts.Reset(examined);
    std::vector<Pair>& pairs = scratch.pairs;
    pairs.clear();
    for (int32_t y = 0; y < picture.Height(); y += step) {
        for (int32_t x = 0; x + 1 < picture.Width(); x += step) {
            const Pair pair{{x, y, picture.At(x, y) & kColourMask},
                            picture.At(x + 1, y) & kColourMask};
            const uint64_t key = ColourPair(pair.left.colour, pair.right);
            if (pairCounts.Count(key) == 0) {
                pairs.push_back(pair);
            }
            pairCounts.Add(key);
        }
    }
    for (Pair& pair : pairs) {
        pair.count = pairCounts.Count(ColourPair(pair.left.colour, pair.right));
    }
    const size_t keptPairs = std::min(pairs.size(), kMaxPairs);
    std::partial_sort(pairs.begin(), pairs.begin() + static_cast<ptrdiff_t>(keptPairs), pairs.end(),
                      [](const Pair& a, const Pair& b) { return a.count < b.count; });
    m_pairs.assign(pairs.begin(), pairs.begin() + static_cast<ptrdiff_t>(keptPairs));
}

AnchorChoice ChooseAnchors(const CPictureProfile& profile, const CScreenSample& sample) {
    struct Ranked {
        const CPictureProfile::Colour* colour;
        uint32_t screenCount;
    };
    // Ranked on the stack (a profile keeps at most kMaxColours colours), since the list search
    // does this for every target on every play tick; insertion keeps equal counts in profile
    // order, as the ranking needs.
    Ranked ranked[CPictureProfile::kMaxColours];
    const size_t rankedCount = std::min(profile.Colours().size(), CPictureProfile::kMaxColours);
    for (size_t i = 0; i < rankedCount; ++i) {
        const CPictureProfile::Colour& colour = profile.Colours()[i];
        Ranked entry{&colour, sample.Count(colour.colour)};
        size_t at = i;
        for (; at > 0 && ranked[at - 1].screenCount > entry.screenCount; --at) {
            ranked[at] = ranked[at - 1];
        }
        ranked[at] = entry;
    }

    AnchorChoice choice;
    choice.sampleSize = sample.Size();
    if (rankedCount == 0) {
        return choice;
    }
    choice.anchors[0] = ranked[0].colour->first;
    choice.firstScreenCount = ranked[0].screenCount;
    choice.count = 1;
    const PicturePixel& partner = ranked[0].colour->rowPartner;
    if (partner.x >= 0 &&
        static_cast<uint64_t>(sample.Count(partner.colour)) * 32 <= sample.Size()) {
        choice.anchors[choice.count++] = partner;
    }
    const auto distanceToChosen = [&](const PicturePixel& pixel) {
        int32_t nearest = INT32_MAX;
        for (int k = 0; k < choice.count; ++k) {
            nearest = std::min(nearest, Distance(pixel, choice.anchors[k]));
        }
        return nearest;
    };
    // Further anchors: among the colours least common on the screen, the place farthest from the
    // anchors taken, since neighbouring pixels tend to pass or fail together.
    bool used[CPictureProfile::kMaxColours] = {};
    used[0] = true;
    while (choice.count < kMaxScreenAnchors) {
        int best = -1;
        PicturePixel bestPixel;
        int32_t bestDistance = 0;
        for (size_t i = 0; i < rankedCount; ++i) {
            if (used[i]) {
                continue;
            }
            if (best >= 0 &&
                ranked[i].screenCount > ranked[static_cast<size_t>(best)].screenCount) {
                break;
            }
            for (const PicturePixel& pixel : {ranked[i].colour->first, ranked[i].colour->last}) {
                const int32_t distance = distanceToChosen(pixel);
                if (distance > bestDistance) {
                    best = static_cast<int>(i);
                    bestPixel = pixel;
                    bestDistance = distance;
                }
            }
        }
        if (best < 0) {
            break;
        }
        used[static_cast<size_t>(best)] = true;
        choice.anchors[choice.count++] = bestPixel;
    }
    // A picture of one or two colours: take the other place of each colour too.
    for (size_t i = 0; i < rankedCount && choice.count < kMaxScreenAnchors; ++i) {
        for (const PicturePixel& pixel : {ranked[i].colour->first, ranked[i].colour->last}) {
            if (choice.count < kMaxScreenAnchors && distanceToChosen(pixel) > 0) {
                choice.anchors[choice.count++] = pixel;
            }
        }
    }

    // Ties on the screen sample, which misses most pairs, go to the pair rarest in the picture,
    // then to the one whose colours the sample saw least.
    choice.pairSampleSize = sample.PairSize();
    uint64_t bestScore = UINT64_MAX;
    for (const CPictureProfile::Pair& pair : profile.Pairs()) {
        const uint64_t screenCount = sample.PairCount(ColourPair(pair.left.colour, pair.right));
        const uint64_t colourCount =
            std::min(sample.Count(pair.left.colour), sample.Count(pair.right));
        const uint64_t score = (screenCount << 40) |
                               (uint64_t{std::min(pair.count, 0xFFFFu)} << 24) |
                               std::min<uint64_t>(colourCount, 0xFFFFFF);
        if (score < bestScore) {
            bestScore = score;
            choice.hasPair = true;
            choice.pair = pair;
            choice.pairScreenCount = static_cast<uint32_t>(screenCount);
        }
    }
    return choice;
}
