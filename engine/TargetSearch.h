// The search a play step makes: the first target, by order number, whose picture is on screen.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "engine/PictureSearch.h"
#include "engine/PictureSearchAnchors.h"
#include "engine/PictureSearchColourPass.h"
#include "engine/PictureSearchScan.h"
#include "engine/PixelBuffer.h"
#include "model/TargetObjList.h"

// What a play step would click.
struct TargetHit {
    const CTargetObj* target = nullptr;
    Point topLeft;  // where the target's picture was found, screen pixels
    Point centre;   // PictureCentre of the found picture
    Point click;    // centre + the target's m_ptClickShift, held within int32; may lie off the
                    // screen
    friend bool operator==(const TargetHit&, const TargetHit&) = default;
};

// The hit for `target` found at `topLeft`: the one place where a found picture's centre and
// click shift make the click point.
TargetHit MakeTargetHit(const CTargetObj& target, Point topLeft);
// The same with `ptShift` in place of the target's own shift: the Target Editor shows where a
// shift typed but not yet kept would click.
TargetHit MakeTargetHit(const CTargetObj& target, Point topLeft, Point ptShift);

// The search order of a list: for order numbers k = 0, 1, ..., count - 1, the first target in list
// order whose m_nOrder is k; orders that no target bears are skipped, and so are targets with a
// duplicate or out-of-range order.
std::vector<const CTargetObj*> TargetsInSearchOrder(const CTargetObjList& list);

// The plain search: each target of TargetsInSearchOrder in turn with FindPictureReference on its
// own decoded pixels; the first one found wins. A target without pixels is never found.
std::optional<TargetHit> FindFirstTargetReference(const CTargetObjList& list,
                                                  const PixelBuffer& screen);

// A target list prepared for searching screen after screen. It keeps pointers into the list and
// its targets' pictures: rebuild it (or make a new one) whenever the list, an order or a picture
// may have changed. It also keeps the working storage of its searches, so that one object kept
// from tick to tick, rebuilt and searched each time, allocates nothing once that storage has
// grown to the largest list and screen it has seen. FindFirst works in that storage although it
// is const, so one CTargetSearch must not be searched from two threads at once.
class CTargetSearch {
public:
    // A search of an empty list, to be rebuilt.
    CTargetSearch() = default;
    // A search of `list`, for one search or many. It keeps no room for rebuilding.
    explicit CTargetSearch(const CTargetObjList& list);

    // Prepares the search for `list` exactly as a new CTargetSearch(list) would be, reusing the
    // storage held for earlier lists; nothing of the earlier lists is kept but room.
    void Rebuild(const CTargetObjList& list);

    // Returns exactly what FindFirstTargetReference returns for `screen` (top-down rows), with a
    // cost that grows little with the number of targets: targets with a pair of neighbouring
    // colours rare on this screen share one pass over it, targets of one size with common colours
    // share one rolling-hash pass, and the rest are searched one by one.
    std::optional<TargetHit> FindFirst(const PixelBuffer& screen,
                                       SearchPath path = SearchPath::Best) const;

    // How many targets a play step searches: those in the search order with decoded pixels.
    size_t SearchedCount() const { return m_entries.size(); }

private:
    struct Entry {
        const CTargetObj* target;
        const PixelBuffer* pixels;
    };

    // A target of one size, for grouping the targets that share a rolling-hash pass.
    struct SizedEntry {
        int32_t width;
        int32_t height;
        size_t index;
    };

    // What one search works in, kept for the next.
    struct Scratch {
        std::vector<size_t> fitting;  // entries no larger than the screen
        CScreenSample sample;
        std::vector<AnchorChoice> choices;  // per entry; only fitting ones are set
        AnchorScanScratch anchorScan;       // its hash scratch serves the hash groups too
        std::vector<ColourPassMember> members;
        std::vector<size_t> memberEntries;
        ColourPassScratch colourPass;
        std::vector<size_t> pending;
        std::vector<SizedEntry> sized;
        std::vector<size_t> separate;
        std::vector<const PixelBuffer*> groupPictures;
        std::vector<size_t> groupEntries;
    };

    std::vector<Entry> m_entries;  // in search order
    // m_profiles[i] belongs to m_entries[i]; those beyond m_entries.size() are storage kept from a
    // longer list.
    std::vector<CPictureProfile> m_profiles;
    std::vector<const CTargetObj*> m_searchOrder;
    ProfileScratch m_profileScratch;
    mutable Scratch m_scratch;
};
