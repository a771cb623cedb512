// The search a play step makes: the first target, by order number, whose picture is on screen.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "engine/PictureSearch.h"
#include "engine/PictureSearchAnchors.h"
#include "engine/PixelBuffer.h"
#include "model/TargetObjList.h"

// What a play step would click.
struct TargetHit {
    const CTargetObj* target = nullptr;
    Point topLeft;  // where the target's picture was found, screen pixels
    Point centre;   // PictureCentre of the found picture
    Point click;    // centre + the target's m_ptClickShift; may lie off the screen
    friend bool operator==(const TargetHit&, const TargetHit&) = default;
};

// The hit for `target` found at `topLeft`.
TargetHit MakeTargetHit(const CTargetObj& target, Point topLeft);

// The search order of a list: for order numbers k = 0, 1, ..., count - 1, the first target in list
// order whose m_nOrder is k; orders that no target bears are skipped, and so are targets with a
// duplicate or out-of-range order.
std::vector<const CTargetObj*> TargetsInSearchOrder(const CTargetObjList& list);

// The plain search: each target of TargetsInSearchOrder in turn with FindPictureReference on its
// own decoded pixels; the first one found wins. A target without pixels is never found.
std::optional<TargetHit> FindFirstTargetReference(const CTargetObjList& list,
                                                  const PixelBuffer& screen);

// A target list prepared for searching screen after screen. It keeps pointers into the list and
// its targets' pictures: make a new one whenever the list, an order or a picture changes.
class CTargetSearch {
public:
    explicit CTargetSearch(const CTargetObjList& list);

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
        CPictureProfile profile;
    };

    std::vector<Entry> m_entries;  // in search order
};
