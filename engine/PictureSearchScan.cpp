// The anchor scan: banded vector screening, ordered verification, and its adaptations.
#include "engine/PictureSearchScan.h"

#include <algorithm>

namespace {

// Candidate rows screened together. Within a band the rows are read top to bottom, the order the
// memory prefetchers follow; reading whole rows bottom-up is several times slower once the screen
// no longer fits the cache.
constexpr int32_t kBandRows = 64;

class CAnchorScan {
public:
    CAnchorScan(const PixelBuffer& screen, const PixelBuffer& picture, const AnchorChoice& choice,
                const SearchKernels& kernels, AnchorScanScratch& scratch)
        : m_screen(screen),
          m_picture(picture),
          m_kernels(kernels),
          m_hashScratch(scratch.hash),
          m_nColumns(screen.Width() - picture.Width() + 1),
          m_nRows(screen.Height() - picture.Height() + 1),
          m_nAvailable(choice.count) {
        std::copy(std::begin(choice.anchors), std::end(choice.anchors), m_anchors);
        // Screen with more anchors at once when the first one's colour is common on the
        // screen. A second anchor in the first one's row is cheap (the same screen row is read);
        // one in another row costs about half a read of the screen more, which pays only once
        // survivors are more than a fraction of a percent.
        const uint64_t seen = choice.firstScreenCount;
        const bool partnerInRow = choice.count > 1 && choice.anchors[1].y == choice.anchors[0].y;
        m_nInUse = seen == 0                         ? 1
                   : seen * 256 <= choice.sampleSize ? (partnerInRow ? 2 : 1)
                   : seen * 32 <= choice.sampleSize  ? 2
                                                     : 3;
        m_nInUse = std::min(m_nInUse, m_nAvailable);
        m_nDenseLimit = 1024 + static_cast<int64_t>(kBandRows) * m_nColumns / 128;
        m_hits = scratch.hits.Room(static_cast<size_t>(m_nDenseLimit + m_nColumns));
        m_nPictureArea = static_cast<int64_t>(picture.Width()) * picture.Height();
    }

    std::optional<Point> Run() {
        int32_t rowStart[kBandRows + 1];
        for (int32_t high = m_nRows - 1; high >= 0; high -= kBandRows) {
            const int32_t low = std::max(0, high - kBandRows + 1);
            int64_t total = 0;
            bool dense = false;
            for (int32_t row = low; row <= high; ++row) {
                rowStart[row - low] = static_cast<int32_t>(total);
                total += m_kernels.screenRow(RowsFor(row), m_nColumns, m_hits + total);
                if (total > m_nDenseLimit) {
                    dense = true;
                    break;
                }
            }
            if (!dense) {
                rowStart[high - low + 1] = static_cast<int32_t>(total);
                AddScreened(static_cast<int64_t>(high - low + 1) * m_nColumns);
                for (int32_t row = high; row >= low; --row) {
                    for (int32_t i = rowStart[row - low]; i < rowStart[row - low + 1]; ++i) {
                        if (IsSettledBy(m_hits[static_cast<size_t>(i)], row)) {
                            return m_result;
                        }
                    }
                }
                Adapt();
                continue;
            }
            // Many survivors: go row by row, bottom first, adapting the anchors after each row
            // so that a better anchor takes effect at once.
            for (int32_t row = high; row >= low; --row) {
                const int32_t count = m_kernels.screenRow(RowsFor(row), m_nColumns, m_hits);
                AddScreened(m_nColumns);
                for (int32_t i = 0; i < count; ++i) {
                    if (IsSettledBy(m_hits[static_cast<size_t>(i)], row)) {
                        return m_result;
                    }
                }
                Adapt();
            }
        }
        return std::nullopt;
    }

private:
    // Checks the survivor at (x, row). True when the search is over, with the answer in
    // m_result: a match here, or the rolling hash's answer for the rest of the screen once
    // verification has cost more than a few comparisons per candidate.
    bool IsSettledBy(int32_t x, int32_t row) {
        if (Verify(x, row)) {
            m_result = Point{x, row};
            return true;
        }
        if (m_nWork > 4 * m_nScreenedTotal + 16 * m_nPictureArea + 65536) {
            const PixelBuffer* members[] = {&m_picture};
            const auto match =
                FindFirstOfGroupByHash(m_screen, members, row, x + 1, m_kernels, m_hashScratch);
            if (match) {
                m_result = match->topLeft;
            }
            return true;
        }
        return false;
    }

    AnchorRows RowsFor(int32_t row) const {
        AnchorRows rows;
        rows.count = m_nInUse;
        for (int k = 0; k < m_nInUse; ++k) {
            rows.rows[k] = m_screen.Row(row + m_anchors[k].y) + m_anchors[k].x;
            rows.colours[k] = m_anchors[k].colour;
        }
        return rows;
    }

    void AddScreened(int64_t candidates) {
        m_nScreened += candidates;
        m_nScreenedTotal += candidates;
    }

    // Compares the candidate at (x, row) whose screened anchors passed: the anchors not
    // screened, the pixel that failed last time, then the rows from the bottom up.
    bool Verify(int32_t x, int32_t row) {
        ++m_nSurvivors;
        for (int k = m_nInUse; k < m_nAvailable; ++k) {
            const uint32_t pixel = m_screen.Row(row + m_anchors[k].y)[x + m_anchors[k].x];
            if (((pixel ^ m_anchors[k].colour) & kColourMask) != 0) {
                ++m_nWork;
                return false;
            }
        }
        if (m_bHot) {
            const uint32_t pixel = m_screen.Row(row + m_hot.y)[x + m_hot.x];
            if (((pixel ^ m_hot.colour) & kColourMask) != 0) {
                ++m_nWork;
                ++m_nHotFailures;
                return false;
            }
        }
        const int32_t width = m_picture.Width();
        for (int32_t j = m_picture.Height() - 1; j >= 0; --j) {
            const int32_t differs =
                m_kernels.firstMismatch(m_screen.Row(row + j) + x, m_picture.Row(j), width);
            m_nWork += std::min(differs + 1, width);
            if (differs < width) {
                m_hot = {differs, j, m_picture.At(differs, j) & kColourMask};
                m_bHot = true;
                return false;
            }
        }
        return true;
    }

    bool IsAnchor(const PicturePixel& pixel) const {
        for (int k = 0; k < m_nInUse; ++k) {
            if (m_anchors[k].x == pixel.x && m_anchors[k].y == pixel.y) {
                return true;
            }
        }
        return false;
    }

    // When more than 1 in 256 candidates survived since the last look: a pixel at which most
    // survivors failed becomes the second anchor (in a periodic picture it is often the one pixel
    // that breaks the pattern, and the first anchor and it then let nothing through); otherwise
    // one more of the chosen anchors is screened.
    void Adapt() {
        if (m_nSurvivors >= 16 && m_nSurvivors * 256 > m_nScreened) {
            if (m_bHot && m_nHotFailures * 2 >= m_nSurvivors && !IsAnchor(m_hot)) {
                if (m_nAvailable > 1) {
                    m_anchors[2] = m_anchors[1];
                }
                m_anchors[1] = m_hot;
                m_nAvailable = std::min(m_nAvailable + 1, kMaxScreenAnchors);
                m_nInUse = 2;
                m_bHot = false;
            } else if (m_nInUse < m_nAvailable) {
                ++m_nInUse;
            }
        }
        m_nSurvivors = 0;
        m_nHotFailures = 0;
        m_nScreened = 0;
    }

    const PixelBuffer& m_screen;
    const PixelBuffer& m_picture;
    const SearchKernels& m_kernels;
    HashScratch& m_hashScratch;
    const int32_t m_nColumns;  // candidate columns
    const int32_t m_nRows;     // candidate rows
    PicturePixel m_anchors[kMaxScreenAnchors];
    int m_nAvailable;  // anchors chosen
    int m_nInUse = 1;  // the first ones, screened with vector instructions
    PicturePixel m_hot;
    bool m_bHot = false;  // m_hot holds the pixel at which the last verification failed
    int64_t m_nDenseLimit = 0;
    int64_t m_nPictureArea = 0;
    int32_t* m_hits = nullptr;  // room for m_nDenseLimit + m_nColumns entries
    std::optional<Point> m_result;
    // Since the last adaptation.
    int64_t m_nSurvivors = 0;
    int64_t m_nHotFailures = 0;
    int64_t m_nScreened = 0;
    // Since the start: pixels compared in verification, and candidates screened.
    int64_t m_nWork = 0;
    int64_t m_nScreenedTotal = 0;
};

}  // namespace

std::optional<Point> FindPictureByAnchors(const PixelBuffer& screen, const PixelBuffer& picture,
                                          const AnchorChoice& choice,
                                          const SearchKernels& kernels) {
    AnchorScanScratch scratch;
    return FindPictureByAnchors(screen, picture, choice, kernels, scratch);
}

std::optional<Point> FindPictureByAnchors(const PixelBuffer& screen, const PixelBuffer& picture,
                                          const AnchorChoice& choice, const SearchKernels& kernels,
                                          AnchorScanScratch& scratch) {
    if (choice.count < 1) {
        return std::nullopt;
    }
    return CAnchorScan(screen, picture, choice, kernels, scratch).Run();
}
