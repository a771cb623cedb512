// The nearest place of a picture on a screen: the plain scan and the pruned search.
#include "engine/NearestMatch.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/PictureSearch.h"

namespace {

constexpr uint32_t kColour = 0x00FFFFFF;

bool HasPlace(const PixelBuffer& screen, const PixelBuffer& picture) {
    return picture.Width() >= 1 && picture.Height() >= 1 && picture.Width() <= screen.Width() &&
           picture.Height() <= screen.Height();
}

int32_t ChannelDifference(uint32_t a, uint32_t b) {
    int32_t largest = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int32_t one = static_cast<int32_t>((a >> shift) & 0xFF);
        const int32_t other = static_cast<int32_t>((b >> shift) & 0xFF);
        largest = std::max(largest, std::abs(one - other));
    }
    return largest;
}

// Counts every differing pixel of the picture at `topLeft` and the largest channel difference.
NearestMatch Measure(const PixelBuffer& screen, const PixelBuffer& picture, Point topLeft) {
    NearestMatch match;
    match.topLeft = topLeft;
    match.pixelCount = int64_t{picture.Width()} * picture.Height();
    for (int32_t y = 0; y < picture.Height(); ++y) {
        const uint32_t* screenRow = screen.Row(topLeft.y + y) + topLeft.x;
        const uint32_t* pictureRow = picture.Row(y);
        for (int32_t x = 0; x < picture.Width(); ++x) {
            if (((screenRow[x] ^ pictureRow[x]) & kColour) != 0) {
                ++match.differingPixels;
                match.largestChannelDifference = std::max(
                    match.largestChannelDifference, ChannelDifference(screenRow[x], pictureRow[x]));
            }
        }
    }
    return match;
}

// Whether place `a` comes before place `b` in the exact search's order (same picture size).
bool ComesFirst(Point a, Point b) {
    return a.y > b.y || (a.y == b.y && a.x < b.x);
}

// The distinct colours of a picture, each with its pixels, looked up by colour.
class CPictureColours {
public:
    struct Colour {
        uint32_t colour = 0;
        std::vector<Point> pixels;  // picture pixels of this colour, in row order
        int64_t screenCount = 0;    // screen pixels of this colour
        bool voted = false;         // counted per place by votes rather than compared
    };

    explicit CPictureColours(const PixelBuffer& picture) {
        size_t slots = 16;
        while (slots < static_cast<size_t>(picture.Width()) * picture.Height() * 2) {
            slots *= 2;
        }
        m_slots.assign(slots, 0);
        m_nMask = slots - 1;
        for (int32_t y = 0; y < picture.Height(); ++y) {
            for (int32_t x = 0; x < picture.Width(); ++x) {
                const uint32_t colour = picture.At(x, y) & kColour;
                size_t slot = SlotOf(colour);
                while (m_slots[slot] != 0 && m_colours[m_slots[slot] - 1].colour != colour) {
                    slot = (slot + 1) & m_nMask;
                }
                if (m_slots[slot] == 0) {
                    m_colours.push_back({colour, {}, 0, false});
                    m_slots[slot] = static_cast<uint32_t>(m_colours.size());
                }
                m_colours[m_slots[slot] - 1].pixels.push_back({x, y});
            }
        }
    }

    // The colour entry of `pixel` (blue, green and red only), or null when the picture lacks it.
    Colour* Find(uint32_t pixel) {
        const uint32_t colour = pixel & kColour;
        for (size_t slot = SlotOf(colour); m_slots[slot] != 0; slot = (slot + 1) & m_nMask) {
            Colour& entry = m_colours[m_slots[slot] - 1];
            if (entry.colour == colour) {
                return &entry;
            }
        }
        return nullptr;
    }

    std::vector<Colour>& Colours() { return m_colours; }

private:
    size_t SlotOf(uint32_t colour) const { return ((colour * 2654435761u) >> 7) & m_nMask; }

    std::vector<Colour> m_colours;
    std::vector<uint32_t> m_slots;  // index into m_colours + 1, 0 when free
    size_t m_nMask = 0;
};

// A picture pixel compared at every place: its offset from the place's top-left on the screen.
struct Probe {
    ptrdiff_t offset;
    uint32_t colour;
    int32_t x;
    int32_t y;
};

// The differing pixels of a place are those of the voted colours that did not vote for it, plus
// those of the other colours found by comparing. Pixels of colours the screen seldom shows vote:
// each screen pixel of such a colour votes for the places that would put a picture pixel of that
// colour on it, which costs little and bounds every place from below at once, so a picture far
// from everywhere is not compared pixel by pixel at every place. The other pixels are compared
// rarest colour first, leaving a place as soon as it cannot beat the best one so far.
class CNearestSearch {
public:
    CNearestSearch(const PixelBuffer& screen, const PixelBuffer& picture)
        : m_screen(screen),
          m_picture(picture),
          m_colours(picture),
          m_nPlacesWide(screen.Width() - picture.Width() + 1),
          m_nPlacesHigh(screen.Height() - picture.Height() + 1),
          m_nBest(int64_t{picture.Width()} * picture.Height() + 1) {}

    Point Run() {
        CountScreenColours();
        ChooseVotedColours();
        Vote();
        CountCommonestColour();
        OrderProbes();
        SeedAtMostVotes();
        SeedAtRareProbes();
        for (int32_t top = m_nPlacesHigh - 1; top >= 0; --top) {
            int32_t left = 0;
            for (; left + kLanes <= m_nPlacesWide; left += kLanes) {
                TryNeighbours({left, top});
            }
            for (; left < m_nPlacesWide; ++left) {
                Try({left, top});
            }
        }
        return m_ptBest;
    }

private:
    size_t PlaceIndex(Point place) const {
        return static_cast<size_t>(place.y) * static_cast<size_t>(m_nPlacesWide) +
               static_cast<size_t>(place.x);
    }

    void CountScreenColours() {
        for (int32_t y = 0; y < m_screen.Height(); ++y) {
            const uint32_t* row = m_screen.Row(y);
            for (int32_t x = 0; x < m_screen.Width(); ++x) {
                if (CPictureColours::Colour* colour = m_colours.Find(row[x])) {
                    ++colour->screenCount;
                }
            }
        }
    }

    // Cheapest colours first, while their votes stay within a few per place; the counts are
    // kept in 16 bits, so at most 65535 pixels vote.
    void ChooseVotedColours() {
        std::vector<CPictureColours::Colour*> byCost;
        for (CPictureColours::Colour& colour : m_colours.Colours()) {
            byCost.push_back(&colour);
        }
        const auto cost = [](const CPictureColours::Colour* colour) {
            return colour->screenCount * static_cast<int64_t>(colour->pixels.size());
        };
        std::sort(byCost.begin(), byCost.end(),
                  [&](const auto* a, const auto* b) { return cost(a) < cost(b); });
        const int64_t budget = 4 * int64_t{m_nPlacesWide} * m_nPlacesHigh;
        int64_t spent = 0;
        for (CPictureColours::Colour* colour : byCost) {
            const int64_t pixels = static_cast<int64_t>(colour->pixels.size());
            if (spent + cost(colour) > budget || m_nVotedPixels + pixels > 65535) {
                break;
            }
            colour->voted = true;
            spent += cost(colour);
            m_nVotedPixels += pixels;
        }
    }

    void Vote() {
        if (m_nVotedPixels == 0) {
            return;
        }
        m_votes.assign(static_cast<size_t>(m_nPlacesWide) * static_cast<size_t>(m_nPlacesHigh), 0);
        for (int32_t y = 0; y < m_screen.Height(); ++y) {
            const uint32_t* row = m_screen.Row(y);
            for (int32_t x = 0; x < m_screen.Width(); ++x) {
                const CPictureColours::Colour* colour = m_colours.Find(row[x]);
                if (colour == nullptr || !colour->voted) {
                    continue;
                }
                for (const Point pixel : colour->pixels) {
                    const Point place{x - pixel.x, y - pixel.y};
                    if (place.x >= 0 && place.x < m_nPlacesWide && place.y >= 0 &&
                        place.y < m_nPlacesHigh) {
                        ++m_votes[PlaceIndex(place)];
                    }
                }
            }
        }
    }

    // The compared colour with the most pixels, most often a picture's background: a place
    // whose window shows that colour fewer times than the picture has it differs in at least the
    // difference, which a table of running counts gives for every place at once. This settles
    // the places at the edges of wide areas of that colour, where comparing pixel after pixel
    // would find the first difference late.
    void CountCommonestColour() {
        const CPictureColours::Colour* commonest = nullptr;
        for (const CPictureColours::Colour& colour : m_colours.Colours()) {
            if (!colour.voted &&
                (commonest == nullptr || colour.pixels.size() > commonest->pixels.size())) {
                commonest = &colour;
            }
        }
        if (commonest == nullptr || commonest->screenCount == 0) {
            return;
        }
        m_nCommonestPixels = static_cast<int64_t>(commonest->pixels.size());
        const size_t wide = static_cast<size_t>(m_screen.Width()) + 1;
        m_runningCounts.assign(wide * (static_cast<size_t>(m_screen.Height()) + 1), 0);
        for (int32_t y = 0; y < m_screen.Height(); ++y) {
            const uint32_t* row = m_screen.Row(y);
            uint32_t inRow = 0;
            uint32_t* above = m_runningCounts.data() + static_cast<size_t>(y) * wide;
            uint32_t* here = above + wide;
            for (int32_t x = 0; x < m_screen.Width(); ++x) {
                inRow += ((row[x] ^ commonest->colour) & kColour) == 0 ? 1 : 0;
                here[x + 1] = above[x + 1] + inRow;
            }
        }
    }

    // At least this many pixels of the commonest compared colour differ at `place`.
    int64_t CommonestColourShortfall(Point place) const {
        if (m_runningCounts.empty()) {
            return 0;
        }
        const size_t wide = static_cast<size_t>(m_screen.Width()) + 1;
        const size_t top = static_cast<size_t>(place.y) * wide;
        const size_t bottom = static_cast<size_t>(place.y + m_picture.Height()) * wide;
        const size_t left = static_cast<size_t>(place.x);
        const size_t right = left + static_cast<size_t>(m_picture.Width());
        const int64_t shown = int64_t{m_runningCounts[bottom + right]} -
                              m_runningCounts[bottom + left] - m_runningCounts[top + right] +
                              m_runningCounts[top + left];
        return std::max<int64_t>(0, m_nCommonestPixels - shown);
    }

    // Rare colours first: at a place that is not the picture's, a pixel of a colour the screen
    // seldom shows almost surely differs, so the count passes the best one after few pixels.
    void OrderProbes() {
        struct Keyed {
            int64_t screenCount;
            uint32_t scatter;  // spreads equally rare pixels over the picture: neighbours agree
            Probe probe;
        };
        std::vector<Keyed> keyed;
        for (const CPictureColours::Colour& colour : m_colours.Colours()) {
            if (colour.voted) {
                continue;
            }
            for (const Point pixel : colour.pixels) {
                const uint32_t index = static_cast<uint32_t>(pixel.y * m_picture.Width() + pixel.x);
                keyed.push_back({colour.screenCount,
                                 (index * 2654435761u) ^ (index >> 7),
                                 {static_cast<ptrdiff_t>(pixel.y) * m_screen.Width() + pixel.x,
                                  colour.colour, pixel.x, pixel.y}});
            }
        }
        std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
            return a.screenCount != b.screenCount ? a.screenCount < b.screenCount
                                                  : a.scatter < b.scatter;
        });
        for (const Keyed& entry : keyed) {
            m_probes.push_back(entry.probe);
        }
    }

    // The places with the most votes are the likeliest near ones; a low best count found early
    // makes every later place cheaper.
    void SeedAtMostVotes() {
        if (m_votes.empty()) {
            return;
        }
        const uint16_t most = *std::max_element(m_votes.begin(), m_votes.end());
        constexpr int kMostSeeds = 256;
        int seeds = 0;
        for (int32_t top = m_nPlacesHigh - 1; top >= 0 && seeds < kMostSeeds; --top) {
            for (int32_t left = 0; left < m_nPlacesWide && seeds < kMostSeeds; ++left) {
                if (m_votes[PlaceIndex({left, top})] == most) {
                    Try({left, top});
                    ++seeds;
                }
            }
        }
    }

    // When no colour votes, the places where one of the first few compared pixels matches
    // serve as seeds instead: a near place shares most of them.
    void SeedAtRareProbes() {
        constexpr size_t kSeedProbes = 4;
        constexpr int64_t kMostSeedPlaces = 1 << 15;
        int64_t tried = 0;
        for (size_t index = 0; index < std::min(kSeedProbes, m_probes.size()); ++index) {
            const Probe& probe = m_probes[index];
            for (int32_t y = probe.y; y < m_nPlacesHigh + probe.y; ++y) {
                const uint32_t* row = m_screen.Row(y);
                for (int32_t x = probe.x; x < m_nPlacesWide + probe.x; ++x) {
                    if (((row[x] ^ probe.colour) & kColour) != 0) {
                        continue;
                    }
                    Try({x - probe.x, y - probe.y});
                    if (++tried >= kMostSeedPlaces) {
                        return;
                    }
                }
            }
        }
    }

    // How many differing pixels `place` may have and still beat the best place so far: an
    // earlier place wins a tie, a later one must have fewer. It never grows as the search goes on.
    int64_t Allowed(Point place) const {
        return ComesFirst(place, m_ptBest) ? m_nBest : m_nBest - 1;
    }

    // Differing pixels of the voted colours at `place`, exact.
    int64_t VotedDifferences(Point place) const {
        return m_nVotedPixels - (m_votes.empty() ? 0 : m_votes[PlaceIndex(place)]);
    }

    // Places `first` … `first` + kLanes - 1 of one row compared side by side, four to a vector
    // register: a picture that many places nearly match (few colours, each common) costs a
    // comparison per pixel and place, and this is where the time goes. The lanes only sort out
    // places that cannot win (their count passes what they were allowed when the group began,
    // which only shrinks); the rest are taken through Try one by one, in the search's order.
    void TryNeighbours(Point first) {
        using Lanes = int32_t __attribute__((vector_size(16)));
        Lanes counts[2];
        Lanes limits[2];
        bool anyLive = false;
        for (int32_t lane = 0; lane < kLanes; ++lane) {
            const Point place{first.x + lane, first.y};
            const int64_t allowed = Allowed(place);
            const int64_t count = VotedDifferences(place);
            const bool live =
                count <= allowed && count + CommonestColourShortfall(place) <= allowed;
            anyLive = anyLive || live;
            counts[lane / 4][lane % 4] = static_cast<int32_t>(count);
            // A lane that cannot win is over its limit from the start.
            limits[lane / 4][lane % 4] =
                live ? static_cast<int32_t>(std::min<int64_t>(allowed, INT32_MAX - 1)) : -1;
        }
        if (!anyLive) {
            return;
        }
        const uint32_t* base = m_screen.Row(first.y) + first.x;
        const Lanes colourMask = Lanes{} + static_cast<int32_t>(kColour);
        for (size_t index = 0; index < m_probes.size(); ++index) {
            const Probe& probe = m_probes[index];
            const Lanes colour = Lanes{} + static_cast<int32_t>(probe.colour);
            for (int half = 0; half < 2; ++half) {
                Lanes pixels;
                std::memcpy(&pixels, base + probe.offset + half * 4, sizeof pixels);
                // A comparison gives -1 in each lane where it holds.
                counts[half] -= ((pixels ^ colour) & colourMask) != 0;
            }
            if ((index & 7) == 7) {
                const Lanes over = (counts[0] > limits[0]) & (counts[1] > limits[1]);
                if ((over[0] & over[1] & over[2] & over[3]) != 0) {
                    return;
                }
            }
        }
        for (int32_t lane = 0; lane < kLanes; ++lane) {
            if (counts[lane / 4][lane % 4] <= limits[lane / 4][lane % 4]) {
                Try({first.x + lane, first.y});
            }
        }
    }

    // Takes `place` as the best when it beats the best so far, leaving as soon as it cannot.
    void Try(Point place) {
        const int64_t allowed = Allowed(place);
        int64_t count = VotedDifferences(place);
        if (count > allowed || count + CommonestColourShortfall(place) > allowed) {
            return;
        }
        const uint32_t* base = m_screen.Row(place.y) + place.x;
        for (const Probe& probe : m_probes) {
            if (((base[probe.offset] ^ probe.colour) & kColour) != 0 && ++count > allowed) {
                return;
            }
        }
        m_nBest = count;
        m_ptBest = place;
    }

    static constexpr int32_t kLanes = 8;

    const PixelBuffer& m_screen;
    const PixelBuffer& m_picture;
    CPictureColours m_colours;
    const int32_t m_nPlacesWide;
    const int32_t m_nPlacesHigh;
    int64_t m_nVotedPixels = 0;
    std::vector<uint16_t> m_votes;  // per place (row after row from the top): voted pixels equal
    int64_t m_nCommonestPixels = 0;
    // (width + 1) x (height + 1) counts of the commonest compared colour above and left of each
    // screen pixel; empty when no compared colour is on the screen.
    std::vector<uint32_t> m_runningCounts;
    std::vector<Probe> m_probes;  // the pixels of colours that do not vote, rarest first
    // Differing pixels at m_ptBest; one more than the picture has until a place is taken, so
    // that the first place tried is always taken.
    int64_t m_nBest;
    Point m_ptBest;
};

}  // namespace

std::optional<NearestMatch> FindNearestMatchReference(const PixelBuffer& screen,
                                                      const PixelBuffer& picture) {
    if (!HasPlace(screen, picture)) {
        return std::nullopt;
    }
    std::optional<NearestMatch> best;
    for (int32_t top = screen.Height() - picture.Height(); top >= 0; --top) {
        for (int32_t left = 0; left <= screen.Width() - picture.Width(); ++left) {
            const NearestMatch here = Measure(screen, picture, {left, top});
            if (!best || here.differingPixels < best->differingPixels) {
                best = here;
            }
        }
    }
    return best;
}

std::optional<NearestMatch> FindNearestMatch(const PixelBuffer& screen,
                                             const PixelBuffer& picture) {
    if (!HasPlace(screen, picture)) {
        return std::nullopt;
    }
    if (const std::optional<Point> exact = FindPicture(screen, picture)) {
        return Measure(screen, picture, *exact);
    }
    CNearestSearch search(screen, picture);
    return Measure(screen, picture, search.Run());
}
