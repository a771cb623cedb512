// Choosing the picture pixels that screen candidate positions: colours rare in the picture and
// rare on the screen make few candidates pass.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/PictureSearchKernels.h"
#include "engine/PixelBuffer.h"

// Counts of keys (colours, or pairs of colours) in a small open-addressing table.
template <typename Key>
class CKeyCounts {
public:
    struct Entry {
        Key key;
        uint32_t count;
    };

    // Room for `capacity` distinct keys.
    explicit CKeyCounts(size_t capacity) { Reset(capacity); }
    CKeyCounts() : CKeyCounts(0) {}
    // Forgets every key and makes room for `capacity` distinct keys, keeping the storage it has.
    void Reset(size_t capacity);
    void Add(Key key, uint32_t times = 1);
    uint32_t Count(Key key) const;
    // Every key added, once, in no particular order.
    const std::vector<Entry>& Entries() const { return m_entries; }

private:
    size_t SlotOf(Key key) const;

    std::vector<Entry> m_entries;
    std::vector<uint32_t> m_slots;  // index into m_entries + 1 per hash slot, 0 when free
};

// Two horizontally neighbouring colours (blue, green and red only) as one key: left << 32 | right.
constexpr uint64_t ColourPair(uint32_t left, uint32_t right) {
    return (uint64_t{left} << 32) | right;
}

// How often colours, and pairs of neighbouring colours, occur on one screen, from about a
// thousand pixels in short runs spread over it: cheap next to a pass over the screen, and
// enough to tell common colours from rare ones.
class CScreenSample {
public:
    // Samples `runs` runs of 16 pixels, counting pairs only when asked. A single search needs
    // few runs and no pairs; a list search, which picks pairs of neighbouring colours, gains
    // from more runs.
    explicit CScreenSample(const PixelBuffer& screen, int32_t runs = kSingleSearchRuns,
                           bool withPairs = false) {
        Take(screen, runs, withPairs);
    }
    // A sample of nothing, to be taken later.
    CScreenSample() = default;
    // Samples `screen` afresh, as the constructor does, in the storage of the samples before.
    void Take(const PixelBuffer& screen, int32_t runs, bool withPairs);

    static constexpr int32_t kSingleSearchRuns = 64;
    static constexpr int32_t kListSearchRuns = 512;

    // How many sampled pixels had `colour` (blue, green and red only), of Size().
    uint32_t Count(uint32_t colour) const { return m_colours.Count(colour); }
    uint32_t Size() const { return m_nSize; }
    // How many sampled pixels were followed on their right by the second colour, of PairSize().
    uint32_t PairCount(uint64_t pair) const { return m_pairs.Count(pair); }
    uint32_t PairSize() const { return m_nPairSize; }
    const CKeyCounts<uint32_t>& Colours() const { return m_colours; }
    const CKeyCounts<uint64_t>& Pairs() const { return m_pairs; }

private:
    CKeyCounts<uint32_t> m_colours;
    CKeyCounts<uint64_t> m_pairs;
    uint32_t m_nSize = 0;
    uint32_t m_nPairSize = 0;
};

// A pixel of a picture (column, row from the top) and its colour (blue, green and red only).
struct PicturePixel {
    int32_t x = 0;
    int32_t y = 0;
    uint32_t colour = 0;
};

struct ProfileScratch;

// What a picture offers as anchors: its rarest colours, each with two of its places, and its
// rarest horizontal pairs of neighbouring pixels. Made once per picture and kept while the
// picture is unchanged.
class CPictureProfile {
public:
    // `picture` must not be empty. Pairs are made only when asked (for the list search).
    explicit CPictureProfile(const PixelBuffer& picture, bool withPairs = false);
    // A profile of no picture: no colours, no pairs.
    CPictureProfile() = default;
    // Makes the profile of `picture` afresh, as the constructor does, working in `scratch` and
    // keeping the storage of the profile before: a profile made again and again allocates
    // nothing once its storage and the scratch have grown.
    void Make(const PixelBuffer& picture, bool withPairs, ProfileScratch& scratch);

    struct Colour {
        uint32_t colour;     // blue, green and red only
        uint32_t count;      // how often it occurs among the pixels examined
        uint32_t tieBreak;   // spreads equally rare colours over the picture
        PicturePixel first;  // first place in row order
        PicturePixel last;   // last place in row order
        // The pixel of another colour in the row of `first` whose colour is rarest in the
        // picture; a second anchor there costs the vector screening little, since it reads the
        // same screen row. Absent (x < 0) when the row has one colour.
        PicturePixel rowPartner{-1, -1, 0};
    };

    // A pixel and its right neighbour.
    struct Pair {
        PicturePixel left;
        uint32_t right;      // colour of the pixel at (left.x + 1, left.y)
        uint32_t count = 0;  // how often the two colours stand side by side in the picture
    };

    // The rarest colours of the picture, rarest first; at most kMaxColours.
    const std::vector<Colour>& Colours() const { return m_colours; }
    // The rarest pairs of the picture, rarest first, at most kMaxPairs; none in a picture one
    // pixel wide or when not asked for.
    const std::vector<Pair>& Pairs() const { return m_pairs; }

    static constexpr size_t kMaxColours = 48;
    static constexpr size_t kMaxPairs = 64;

private:
    std::vector<Colour> m_colours;
    std::vector<Pair> m_pairs;
};

// The working storage of CPictureProfile::Make, shared by the profiles made one after another.
struct ProfileScratch {
    // Per examined row, the pixels of its two rarest colours.
    struct RowRarest {
        PicturePixel pixel[2];
        uint32_t count[2] = {UINT32_MAX, UINT32_MAX};
    };
    std::vector<CPictureProfile::Colour> colours;  // every colour examined, first seen first
    std::vector<uint32_t> slots;                   // hash table of colours: index + 1, 0 free
    std::vector<uint32_t> entryOf;                 // each examined pixel's colour
    std::vector<RowRarest> rowRarest;
    std::vector<uint32_t> order;  // colours, rarest first
    CKeyCounts<uint64_t> pairCounts;
    std::vector<CPictureProfile::Pair> pairs;
};

// Up to kMaxScreenAnchors distinct picture pixels, the most selective first, and the rarest
// pair of neighbouring pixels, on which the shared pass over the screen stops.
struct AnchorChoice {
    PicturePixel anchors[kMaxScreenAnchors];
    int count = 0;
    // How many sampled screen pixels showed the first anchor's colour, of how many.
    uint32_t firstScreenCount = 0;
    uint32_t sampleSize = 0;

    bool hasPair = false;  // false for a picture one pixel wide
    CPictureProfile::Pair pair;
    // How many sampled neighbouring screen pixels showed the pair, of how many.
    uint32_t pairScreenCount = 0;
    uint32_t pairSampleSize = 0;
};

// Picks the anchors of a picture for one screen: the colour rarest on the screen (then in the
// picture) first; then its row partner, unless that colour is common on the screen; then the
// next rarest colours at places far from the anchors already taken;
// and the pair rarest on the screen (then in the picture, then by its colours on the screen).
AnchorChoice ChooseAnchors(const CPictureProfile& profile, const CScreenSample& sample);
