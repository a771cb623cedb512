// Splitting a key-colour picture into rectangle runs, 2000 to a batch.
#include "engine/RegionRuns.h"

#include <algorithm>

namespace {

constexpr Rect kEmptyBounds = {0x7FFFFFFF, 0x7FFFFFFF, 0, 0};

// The accepted band of one channel around the key's value.
struct ChannelBand {
    explicit ChannelBand(uint32_t key)
        : low(std::max<int32_t>(static_cast<int32_t>(key) - kKeyColourTolerance, 0)),
          high(std::min<int32_t>(static_cast<int32_t>(key) + kKeyColourTolerance, 255)) {}
    bool Contains(uint32_t value) const {
        return static_cast<int32_t>(value) >= low && static_cast<int32_t>(value) <= high;
    }
    int32_t low;
    int32_t high;
};

class CRunCollector {
public:
    void Add(const Rect& rect) {
        if (m_batches.empty() || m_batches.back().rects.size() == kRegionRunsPerBatch) {
            m_batches.push_back({{}, kEmptyBounds});
            m_batches.back().rects.reserve(kRegionRunsPerBatch);
        }
        RegionRunBatch& batch = m_batches.back();
        batch.rects.push_back(rect);
        batch.bounds.left = std::min(batch.bounds.left, rect.left);
        batch.bounds.top = std::min(batch.bounds.top, rect.top);
        batch.bounds.right = std::max(batch.bounds.right, rect.right);
        batch.bounds.bottom = std::max(batch.bounds.bottom, rect.bottom);
    }
    std::vector<RegionRunBatch> Take() { return std::move(m_batches); }

private:
    std::vector<RegionRunBatch> m_batches;
};

}  // namespace

std::vector<RegionRunBatch> RegionRunsFromKeyColour(const PixelBuffer& picture) {
    CRunCollector collector;
    if (picture.IsEmpty()) {
        return collector.Take();
    }
    const uint32_t key = picture.At(0, 0);
    const ChannelBand red((key >> 16) & 0xFF);
    const ChannelBand green((key >> 8) & 0xFF);
    const ChannelBand blue(key & 0xFF);
    const auto isOpaque = [&](uint32_t pixel) {
        return !(red.Contains((pixel >> 16) & 0xFF) && green.Contains((pixel >> 8) & 0xFF) &&
                 blue.Contains(pixel & 0xFF));
    };
    for (int32_t y = 0; y < picture.Height(); ++y) {
        const uint32_t* row = picture.Row(y);
        int32_t x = 0;
        while (x < picture.Width()) {
            if (!isOpaque(row[x])) {
                ++x;
                continue;
            }
            const int32_t start = x;
            while (x < picture.Width() && isOpaque(row[x])) {
                ++x;
            }
            collector.Add({start, y, x, y + 1});
        }
    }
    return collector.Take();
}
