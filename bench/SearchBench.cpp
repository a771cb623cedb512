// The search section: the fast picture search and list search side by side with the plain scan
// and with the physical floor, reading the screen once, on screens that favour and that defeat
// the search; and play ticks with a search made anew or kept from tick to tick.
#include <immintrin.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bench/BenchSections.h"
#include "bench/BenchUtil.h"
#include "bench/HeapCounter.h"
#include "bench/SearchScreens.h"
#include "engine/PictureSearch.h"
#include "engine/TargetSearch.h"
#include "model/Picture.h"

namespace {

constexpr int32_t kPictureWidth = 40;
constexpr int32_t kPictureHeight = 20;
constexpr int kListSizes[] = {1, 10, 50};
constexpr ScreenKind kKinds[] = {ScreenKind::Noise, ScreenKind::Desktop, ScreenKind::Uniform,
                                 ScreenKind::Stripes};

struct ScreenSize {
    int32_t width;
    int32_t height;
    double listLimit;  // 50 absent targets: at most this many floors
};
constexpr ScreenSize kSizes[] = {{1920, 1080, 100}, {3840, 2160, 30}};

// Tells the compiler that the memory behind `pointer` may be read or changed here, so that a
// repeated pass over an unchanged buffer cannot be folded away.
inline void Escape(const void* pointer) {
    asm volatile("" : : "g"(pointer) : "memory");
}

// The floor: one streaming read of the whole buffer, summed with the widest vectors available.
__attribute__((target("avx2"))) uint32_t SumAvx2(const uint32_t* words, size_t count) {
    __m256i a = _mm256_setzero_si256();
    __m256i b = a;
    __m256i c = a;
    __m256i d = a;
    size_t i = 0;
    for (; i + 32 <= count; i += 32) {
        const auto* at = reinterpret_cast<const __m256i*>(words + i);
        a = _mm256_add_epi32(a, _mm256_loadu_si256(at));
        b = _mm256_add_epi32(b, _mm256_loadu_si256(at + 1));
        c = _mm256_add_epi32(c, _mm256_loadu_si256(at + 2));
        d = _mm256_add_epi32(d, _mm256_loadu_si256(at + 3));
    }
    const __m256i sum = _mm256_add_epi32(_mm256_add_epi32(a, b), _mm256_add_epi32(c, d));
    const __m128i half =
        _mm_add_epi32(_mm256_castsi256_si128(sum), _mm256_extracti128_si256(sum, 1));
    uint32_t total = static_cast<uint32_t>(_mm_cvtsi128_si32(half)) +
                     static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(half, 4))) +
                     static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(half, 8))) +
                     static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(half, 12)));
    for (; i < count; ++i) {
        total += words[i];
    }
    return total;
}

uint32_t SumSse2(const uint32_t* words, size_t count) {
    __m128i a = _mm_setzero_si128();
    __m128i b = a;
    __m128i c = a;
    __m128i d = a;
    size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        const auto* at = reinterpret_cast<const __m128i*>(words + i);
        a = _mm_add_epi32(a, _mm_loadu_si128(at));
        b = _mm_add_epi32(b, _mm_loadu_si128(at + 1));
        c = _mm_add_epi32(c, _mm_loadu_si128(at + 2));
        d = _mm_add_epi32(d, _mm_loadu_si128(at + 3));
    }
    const __m128i sum = _mm_add_epi32(_mm_add_epi32(a, b), _mm_add_epi32(c, d));
    uint32_t total = static_cast<uint32_t>(_mm_cvtsi128_si32(sum)) +
                     static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(sum, 4))) +
                     static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(sum, 8))) +
                     static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(sum, 12)));
    for (; i < count; ++i) {
        total += words[i];
    }
    return total;
}

// One streaming read of `screen`, the floor every search is compared with. The sum goes to a
// volatile so that the read cannot be left out.
volatile uint32_t g_nFloorSum = 0;

void ReadOnce(const PixelBuffer& screen) {
    Escape(screen.Data());
    const size_t count = screen.SizeInBytes() / 4;
    g_nFloorSum = Avx2Available() ? SumAvx2(screen.Data(), count) : SumSse2(screen.Data(), count);
}

// Median seconds of each piece of work, timed in turns (the first, the second, ..., the first
// again), so that a machine getting faster or slower during the measurement affects all alike.
std::vector<double> MedianSecondsInTurns(int runs,
                                         const std::vector<std::function<void()>>& works) {
    std::vector<std::vector<double>> samples(works.size());
    for (int run = 0; run < runs; ++run) {
        for (size_t index = 0; index < works.size(); ++index) {
            const Stopwatch watch;
            works[index]();
            samples[index].push_back(watch.Seconds());
        }
    }
    std::vector<double> medians;
    for (std::vector<double>& times : samples) {
        medians.push_back(Median(std::move(times)));
    }
    return medians;
}

std::string Milliseconds(double seconds) {
    return Fixed(seconds * 1e3, seconds < 0.01 ? 3 : 1) + " ms";
}

std::string Times(double ratio) {
    return Fixed(ratio, ratio < 10 ? 2 : 0) + "x";
}

std::string Where(const std::optional<Point>& point) {
    return point ? std::to_string(point->x) + "," + std::to_string(point->y) : "-";
}

// "ok", or what was missed: a bound is "at most" (a floor multiple) or "at least" (a speed-up).
struct Verdict {
    std::vector<std::string> misses;
    void AtMost(const char* what, double value, double limit) {
        if (value > limit) {
            misses.push_back(std::string(what) + " > " + Fixed(limit, 1) + "x");
        }
    }
    void AtLeast(const char* what, double value, double limit) {
        if (value < limit) {
            misses.push_back(std::string(what) + " < " + Fixed(limit, 0) + "x");
        }
    }
    std::string Text() const {
        std::string text;
        for (const std::string& miss : misses) {
            text += (text.empty() ? "MISS " : ", ") + miss;
        }
        return text.empty() ? "ok" : text;
    }
};

struct Setup {
    ScreenKind kind;
    PixelBuffer screen;
    PixelBuffer shown;  // the screen with the first absent picture pasted near its top
    std::vector<PixelBuffer> absent;
};

Setup MakeSetup(ScreenKind kind, const ScreenSize& size) {
    Setup setup{kind, MakeScreen(kind, size.width, size.height), {}, {}};
    setup.absent = MakeAbsentPictures(kind, setup.screen, 50, kPictureWidth, kPictureHeight);
    setup.shown = setup.screen;
    const PixelBuffer& picture = setup.absent.front();
    const int32_t left = size.width * 3 / 5;
    for (int32_t y = 0; y < picture.Height(); ++y) {
        std::copy(picture.Row(y), picture.Row(y) + picture.Width(), setup.shown.Row(24 + y) + left);
    }
    return setup;
}

// Adds the absent and present rows; returns the floor measured with the absent picture.
double AddPictureRows(const Setup& setup, const ScreenSize& size, const BenchOptions& options,
                      Table& table, bool& allMet) {
    double absentFloor = 0;
    const int fastRuns = options.quick ? 5 : 41;
    const int referenceRuns = options.quick ? 1 : 3;
    const PixelBuffer& picture = setup.absent.front();
    for (const bool present : {false, true}) {
        const PixelBuffer& screen = present ? setup.shown : setup.screen;
        std::optional<Point> reference;
        std::optional<Point> sse2;
        std::optional<Point> best;
        const double referenceTime = MedianSeconds(
            referenceRuns, [&] { reference = FindPictureReference(screen, picture); });
        const std::vector<double> times = MedianSecondsInTurns(
            fastRuns, {[&] { ReadOnce(screen); },
                       [&] { sse2 = FindPicture(screen, picture, SearchPath::Sse2); },
                       [&] { best = FindPicture(screen, picture, SearchPath::Best); }});
        const double floor = times[0];
        const double sse2Time = times[1];
        const double bestTime = times[2];
        absentFloor = present ? absentFloor : floor;
        Verdict verdict;
        if (sse2 != reference || best != reference || reference.has_value() != present) {
            verdict.misses.push_back("WRONG RESULT");
        }
        if (!present) {
            const bool stripes = setup.kind == ScreenKind::Stripes;
            verdict.AtMost("best", bestTime / floor, stripes ? 5 : 1.5);
            verdict.AtMost("SSE2", sse2Time / floor, stripes ? 5 : 2.5);
            if (setup.kind == ScreenKind::Desktop) {
                verdict.AtLeast("ref/best", referenceTime / bestTime, 100);
            } else if (setup.kind == ScreenKind::Uniform) {
                verdict.AtLeast("ref/best", referenceTime / bestTime, 1000);
            }
        }
        allMet = allMet && verdict.misses.empty();
        table.AddRow({std::to_string(size.width) + "x" + std::to_string(size.height),
                      ScreenKindName(setup.kind), present ? "present" : "absent", Where(best),
                      Milliseconds(floor), Milliseconds(referenceTime), Milliseconds(sse2Time),
                      Milliseconds(bestTime), Times(sse2Time / floor), Times(bestTime / floor),
                      Times(referenceTime / bestTime), verdict.Text()});
    }
    return absentFloor;
}

// The first `count` absent pictures as a captured target list.
std::unique_ptr<CTargetObjList> MakeAbsentList(const Setup& setup, int count) {
    auto list = std::make_unique<CTargetObjList>();
    for (int index = 0; index < count; ++index) {
        auto target = std::make_unique<CTargetObj>();
        target->m_bmpTarget = CPicture(setup.absent[static_cast<size_t>(index)]);
        list->AddCaptured(std::move(target));
    }
    return list;
}

// `floor` comes from the picture rows: timed in turns with list searches, the read of the
// screen would find less of it in the cache and look slower than it is.
void AddListRow(const Setup& setup, const ScreenSize& size, double floor,
                const BenchOptions& options, Table& table, bool& allMet) {
    const int runs = options.quick ? 3 : 21;
    std::vector<std::unique_ptr<CTargetObjList>> lists;
    std::vector<std::unique_ptr<CTargetSearch>> searches;
    for (const int count : kListSizes) {
        lists.push_back(MakeAbsentList(setup, count));
        searches.push_back(std::make_unique<CTargetSearch>(*lists.back()));
    }
    bool found = false;
    std::vector<double> times;
    for (const auto& search : searches) {
        times.push_back(MedianSeconds(
            runs, [&] { found = search->FindFirst(setup.screen).has_value() || found; }));
    }
    times.push_back(MedianSeconds(runs, [&] {
        found = searches.back()->FindFirst(setup.screen, SearchPath::Sse2).has_value() || found;
    }));
    const double fifty = times[2];
    const double fiftySse2 = times[3];
    Verdict verdict;
    if (found) {
        verdict.misses.push_back("WRONG RESULT");
    }
    verdict.AtMost("50 targets", fifty / floor, size.listLimit);
    allMet = allMet && verdict.misses.empty();
    table.AddRow({std::to_string(size.width) + "x" + std::to_string(size.height),
                  ScreenKindName(setup.kind), Milliseconds(floor), Milliseconds(times[0]),
                  Milliseconds(times[1]), Milliseconds(fifty), Times(fifty / floor),
                  Milliseconds(fiftySse2), Times(fiftySse2 / floor), Fixed(size.listLimit, 0) + "x",
                  verdict.Text()});
}

std::string Bytes(size_t bytes) {
    return bytes < 10000 ? std::to_string(bytes) + " B" : Fixed(bytes / 1e3, 1) + " KB";
}

// Play ticks as the panel makes them, the list prepared and searched every tick: with a new
// CTargetSearch each tick (fresh), and with one kept from tick to tick and rebuilt (kept). Heap:
// the most any tick after the first took above what was live before it. Time: the median tick,
// fresh and kept timed in turns.
void AddTickRows(const Setup& setup, const ScreenSize& size, const BenchOptions& options,
                 Table& table, bool& allMet) {
    const int runs = options.quick ? 3 : 21;
    constexpr int kHeapTicks = 4;
    for (const int count : kListSizes) {
        const std::unique_ptr<CTargetObjList> list = MakeAbsentList(setup, count);
        bool found = false;
        const auto freshTick = [&] {
            const CTargetSearch search(*list);
            found = search.FindFirst(setup.screen).has_value() || found;
        };
        CTargetSearch kept;
        const auto keptTick = [&] {
            kept.Rebuild(*list);
            found = kept.FindFirst(setup.screen).has_value() || found;
        };
        size_t freshHeap = 0;
        size_t keptHeap = 0;
        for (int tick = 0; tick < kHeapTicks; ++tick) {
            const HeapWatch freshWatch;
            freshTick();
            const size_t fresh = freshWatch.PeakExtra();
            const HeapWatch keptWatch;
            keptTick();
            const size_t kept = keptWatch.PeakExtra();
            if (tick > 0) {
                freshHeap = std::max(freshHeap, fresh);
                keptHeap = std::max(keptHeap, kept);
            }
        }
        const std::vector<double> times = MedianSecondsInTurns(runs, {freshTick, keptTick});
        const double ratio = times[1] / times[0];
        Verdict verdict;
        if (found) {
            verdict.misses.push_back("WRONG RESULT");
        }
        if (keptHeap != 0) {
            verdict.misses.push_back("kept allocates");
        }
        verdict.AtMost("kept/fresh", ratio, 1.1);
        allMet = allMet && verdict.misses.empty();
        table.AddRow({std::to_string(size.width) + "x" + std::to_string(size.height),
                      ScreenKindName(setup.kind), std::to_string(count), Bytes(freshHeap),
                      Bytes(keptHeap), Milliseconds(times[0]), Milliseconds(times[1]),
                      Fixed(ratio, 2) + "x", verdict.Text()});
    }
}

}  // namespace

void RunSearchBench(const BenchOptions& options, std::ostream& out) {
    out << "Picture search: a " << kPictureWidth << " x " << kPictureHeight
        << " picture one pixel away from the screen (absent), and the same pasted near the top\n"
           "(present); on the desktop a label with blank rows below it, as captured buttons are.\n"
           "Floor: one streaming read of the screen, timed in turns with the searches it is "
           "compared\n"
           "with. Best path uses "
        << (Avx2Available() ? "AVX2" : "SSE2 (no AVX2 here)")
        << ". Limits for an absent picture: best 1.5x and SSE2 2.5x the floor (stripes 5x),\n"
           "the reference 100x (desktop) and 1000x (uniform) slower than the best path.\n\n";
    Table pictures({"Screen", "Kind", "Picture", "Found", "Floor", "Reference", "SSE2", "Best",
                    "SSE2/floor", "Best/floor", "Ref/best", "Check"});
    Table lists({"Screen", "Kind", "Floor", "1 target", "10 targets", "50 targets", "50/floor",
                 "50 on SSE2", "SSE2/floor", "Limit", "Check"});
    Table ticks({"Screen", "Kind", "Targets", "Heap fresh", "Heap kept", "Tick fresh", "Tick kept",
                 "Kept/fresh", "Check"});
    bool allMet = true;
    for (const ScreenSize& size : kSizes) {
        for (const ScreenKind kind : kKinds) {
            const Setup setup = MakeSetup(kind, size);
            const double floor = AddPictureRows(setup, size, options, pictures, allMet);
            AddListRow(setup, size, floor, options, lists, allMet);
            AddTickRows(setup, size, options, ticks, allMet);
        }
    }
    pictures.Print(out);
    out << "\nTarget lists of 1, 10 and 50 absent targets (what one play step costs), prepared "
           "once\n"
           "as between play ticks; best path, and 50 also on the SSE2 path. Limit for 50 targets\n"
           "on the best path: 100x the floor at 1920x1080, 30x at 3840x2160.\n\n";
    lists.Print(out);
    out << "\nPlay ticks with the same lists, prepared and searched every tick as the panel does:\n"
           "fresh makes a new CTargetSearch each tick, kept rebuilds one kept from tick to tick.\n"
           "Heap: the most any tick after the first took through operator new above what was\n"
           "live before it (bench/HeapCounter counts bytes). Tick: median time, fresh and kept\n"
           "timed in turns. Limits: kept takes no heap, and at most 1.1x the time of fresh.\n\n";
    ticks.Print(out);
    out << "\n" << (allMet ? "All limits met." : "Some limits missed (see Check).") << '\n';
}
