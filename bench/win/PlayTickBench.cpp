// tarvik-play-bench: what one play tick costs on the real screen: grabbing it, preparing the
// target list and searching it for 1, 10 and 50 absent targets, with a search made anew each tick
// and with one kept from tick to tick as the panel keeps it, timed side by side.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/BenchUtil.h"
#include "bench/HeapCounter.h"
#include "bench/SearchScreens.h"
#include "bench/win/DesktopBlit.h"
#include "bench/win/ScreenPictureWnd.h"
#include "engine/MonitorLayout.h"
#include "engine/PictureSearch.h"
#include "engine/ScreenGrab.h"
#include "engine/TargetSearch.h"
#include "engine/UncoveredBlackout.h"
#include "framework/HandleCounts.h"
#include "model/Picture.h"

namespace {

constexpr int32_t kWantedWidth = 1920;
constexpr int32_t kWantedHeight = 1080;
constexpr double kTickSeconds = 0.5;  // the play loop's period
constexpr int kListSizes[] = {1, 10, 50};
constexpr int kMostTargets = 50;

struct PictureSize {
    int32_t width;
    int32_t height;
};
// Targets are captured in all sizes: a button label first (the one target of the shortest
// list), then an icon, a small glyph, a toolbar button and a wide text field, in turn.
constexpr PictureSize kPictureSizes[] = {{40, 20}, {16, 16}, {24, 24}, {64, 32}, {120, 28}};

struct Options {
    int runs = 15;
    bool quick = false;
};

// The bench cannot measure what it means to (a grab failed, an absent target was found).
class BenchFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

void PrintUsage(std::ostream& out) {
    out << "Usage: tarvik-play-bench [--quick] [--runs N]\n"
           "  --quick   2 runs instead of 15 (a smoke test)\n"
           "  --runs N  timings are the median of N runs\n"
           "Shows a busy desktop picture over the whole virtual screen (every monitor), then "
           "times\n"
           "play ticks (grab, preparing the target list, search) for 1, 10 and 50 absent "
           "targets.\n";
}

std::string Duration(double seconds) {
    if (seconds < 1e-4) {
        return Fixed(seconds * 1e6, 1) + " us";
    }
    return Fixed(seconds * 1e3, seconds < 0.01 ? 3 : 1) + " ms";
}

std::string Bytes(size_t bytes) {
    return bytes < 10000 ? std::to_string(bytes) + " B" : Fixed(bytes / 1e3, 1) + " KB";
}

std::string TargetCount(int count) {
    return std::to_string(count) + (count == 1 ? " target" : " targets");
}

size_t CountDifferentPixels(const PixelBuffer& a, const PixelBuffer& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) {
        return static_cast<size_t>(std::max(a.Width(), b.Width())) *
               static_cast<size_t>(std::max(a.Height(), b.Height()));
    }
    const size_t count = a.SizeInBytes() / 4;
    size_t different = 0;
    for (size_t i = 0; i < count; ++i) {
        different += a.Data()[i] != b.Data()[i] ? 1 : 0;
    }
    return different;
}

void Grab(CScreenGrabber& grabber, PixelBuffer& screen) {
    // The picture's storage moves in and out, so a grab of the same size allocates nothing.
    DesktopImage image{std::move(screen), {}};
    const bool bGrabbed = grabber.Grab(image);
    screen = std::move(image.pixels);
    if (!bGrabbed) {
        throw BenchFailure("the screen grab failed");
    }
}

// Grabs until the screen shows `picture`, for at most about ten seconds: Wine maps and paints a
// new window in its own time. Returns how many pixels still differ.
size_t GrabUntilShown(CScreenGrabber& grabber, PixelBuffer& screen, const PixelBuffer& picture) {
    size_t different = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        PumpMessages();
        Grab(grabber, screen);
        different = CountDifferentPixels(screen, picture);
        if (different == 0) {
            break;
        }
        ::Sleep(100);
    }
    return different;
}

// kMostTargets pictures absent from `screen`, each a piece of it with one pixel changed, their
// sizes taken from kPictureSizes in turn.
std::vector<PixelBuffer> MakeTargetPictures(const PixelBuffer& screen) {
    constexpr int kSizeCount = static_cast<int>(std::size(kPictureSizes));
    constexpr int kPerSize = (kMostTargets + kSizeCount - 1) / kSizeCount;
    std::vector<std::vector<PixelBuffer>> bySize;
    for (const PictureSize& size : kPictureSizes) {
        bySize.push_back(
            MakeAbsentPictures(ScreenKind::Desktop, screen, kPerSize, size.width, size.height));
    }
    std::vector<PixelBuffer> pictures;
    for (int index = 0; index < kMostTargets; ++index) {
        pictures.push_back(std::move(bySize[static_cast<size_t>(index % kSizeCount)]
                                           [static_cast<size_t>(index / kSizeCount)]));
    }
    return pictures;
}

// The first `count` pictures as captured targets, searched in the pictures' order.
std::unique_ptr<CTargetObjList> MakeAbsentTargetList(const std::vector<PixelBuffer>& pictures,
                                                     int count) {
    auto list = std::make_unique<CTargetObjList>();
    for (int index = 0; index < count; ++index) {
        auto target = std::make_unique<CTargetObj>();
        const std::string number = std::to_string(index + 1);
        target->m_strName = u"Absent " + std::u16string(number.begin(), number.end());
        target->m_bmpTarget = CPicture(pictures[static_cast<size_t>(index)]);
        list->AddCaptured(std::move(target));
    }
    return list;
}

// Every target is meant to be absent: a hit means the figures are not those of a full search.
void ExpectNoHit(const std::optional<TargetHit>& hit, int count) {
    if (hit) {
        throw BenchFailure("target " + std::to_string(hit->target->m_nOrder + 1) + " of the " +
                           TargetCount(count) + " list was found at " +
                           std::to_string(hit->topLeft.x) + "," + std::to_string(hit->topLeft.y) +
                           " although it is not on the screen");
    }
}

// This thread's user and kernel time so far.
double ThreadCpuSeconds() {
    FILETIME creation;
    FILETIME exit;
    FILETIME kernel;
    FILETIME user;
    if (!::GetThreadTimes(::GetCurrentThread(), &creation, &exit, &kernel, &user)) {
        return 0;
    }
    const auto seconds = [](const FILETIME& time) {
        return static_cast<double>((uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime) *
               1e-7;
    };
    return seconds(kernel) + seconds(user);
}

struct TickSamples {
    std::vector<double> grab;
    std::vector<double> build;
    std::vector<double> search;
    std::vector<double> tick;  // grab + build + search of the same tick
    // The same tick with the list's kept search, rebuilt (the grab is the same).
    std::vector<double> rebuild;
    std::vector<double> keptSearch;
    std::vector<double> keptTick;  // grab + rebuild + kept search
};

struct Timings {
    std::vector<double> blit;  // the grab's parts, timed apart
    std::vector<double> copy;
    std::vector<double> layout;      // reading the monitor layout
    std::vector<double> uncovered;   // blacking out what no monitor covers
    std::vector<TickSamples> lists;  // one per kListSizes entry
    double grabWallSeconds = 0;      // summed over every timed grab
    double grabCpuSeconds = 0;
};

// Runs of: the grab's two halves apart, then one play tick per list: grab the screen, prepare
// the list's search, search; the search made anew, then the list's kept search (`kept`, one per
// list) rebuilt and searched, as the panel does.
Timings TimeTicks(const Options& options, CScreenGrabber& grabber, PixelBuffer& screen,
                  CDesktopBlit& blit, PixelBuffer& copied, DesktopLayout& layout,
                  const std::vector<std::unique_ptr<CTargetObjList>>& lists,
                  std::vector<CTargetSearch>& kept) {
    Timings timings;
    timings.lists.resize(lists.size());
    for (int run = 0; run < options.runs; ++run) {
        PumpMessages();
        {
            const Stopwatch watch;
            if (!blit.Blit()) {
                throw BenchFailure("the BitBlt of the desktop failed");
            }
            timings.blit.push_back(watch.Seconds());
        }
        {
            const Stopwatch watch;
            blit.CopyMasked(copied);
            timings.copy.push_back(watch.Seconds());
        }
        {
            const Stopwatch watch;
            ReadDesktopLayout(layout);
            timings.layout.push_back(watch.Seconds());
        }
        {
            DesktopImage image{std::move(copied), blit.Origin()};
            const Stopwatch watch;
            BlackOutUncovered(image, layout);
            timings.uncovered.push_back(watch.Seconds());
            copied = std::move(image.pixels);
        }
        for (size_t index = 0; index < lists.size(); ++index) {
            TickSamples& samples = timings.lists[index];
            const double cpuBefore = ThreadCpuSeconds();
            const Stopwatch grabWatch;
            Grab(grabber, screen);
            const double grab = grabWatch.Seconds();
            timings.grabCpuSeconds += ThreadCpuSeconds() - cpuBefore;
            timings.grabWallSeconds += grab;

            const Stopwatch buildWatch;
            const CTargetSearch search(*lists[index]);
            const double build = buildWatch.Seconds();

            const Stopwatch searchWatch;
            const std::optional<TargetHit> hit = search.FindFirst(screen);
            const double found = searchWatch.Seconds();
            ExpectNoHit(hit, static_cast<int>(lists[index]->Count()));

            const Stopwatch rebuildWatch;
            kept[index].Rebuild(*lists[index]);
            const double rebuild = rebuildWatch.Seconds();

            const Stopwatch keptWatch;
            const std::optional<TargetHit> keptHit = kept[index].FindFirst(screen);
            const double keptFound = keptWatch.Seconds();
            ExpectNoHit(keptHit, static_cast<int>(lists[index]->Count()));

            samples.grab.push_back(grab);
            samples.build.push_back(build);
            samples.search.push_back(found);
            samples.tick.push_back(grab + build + found);
            samples.rebuild.push_back(rebuild);
            samples.keptSearch.push_back(keptFound);
            samples.keptTick.push_back(grab + rebuild + keptFound);
        }
    }
    return timings;
}

// Heap bytes through operator new in play ticks after the first, the most any tick needed.
struct HeapFigures {
    size_t grab = 0;    // peak during the grab
    size_t build = 0;   // peak while preparing the search
    size_t search = 0;  // peak during FindFirst
    size_t tick = 0;    // peak over the whole tick
    size_t kept = 0;    // still held once the tick is over
    long handles = 0;   // GDI and DC handles our owners still hold once the tick is over
    // The same with a search kept from tick to tick and rebuilt, as the panel does.
    size_t rebuild = 0;
    size_t keptSearch = 0;
    size_t keptTick = 0;
};

HeapFigures MeasureHeap(int ticks, CScreenGrabber& grabber, PixelBuffer& screen,
                        const CTargetObjList& list) {
    HeapFigures figures;
    const int count = static_cast<int>(list.Count());
    for (int tick = 0; tick < ticks; ++tick) {
        {
            const HeapWatch watch;
            Grab(grabber, screen);
            figures.grab = std::max(figures.grab, watch.PeakExtra());
        }
        std::optional<HeapWatch> buildWatch(std::in_place);
        const CTargetSearch search(list);
        figures.build = std::max(figures.build, buildWatch->PeakExtra());
        buildWatch.reset();
        const HeapWatch searchWatch;
        const std::optional<TargetHit> hit = search.FindFirst(screen);
        figures.search = std::max(figures.search, searchWatch.PeakExtra());
        ExpectNoHit(hit, count);
    }
    // The whole tick apart: the phases' watches each start a new peak.
    for (int tick = 0; tick < ticks; ++tick) {
        const long handlesBefore = CHandleCounts::Total();
        const HeapWatch watch;
        {
            Grab(grabber, screen);
            const CTargetSearch search(list);
            ExpectNoHit(search.FindFirst(screen), count);
        }
        figures.tick = std::max(figures.tick, watch.PeakExtra());
        figures.kept = std::max(figures.kept, watch.RetainedExtra());
        figures.handles = std::max(figures.handles, CHandleCounts::Total() - handlesBefore);
    }
    // A kept search: its first tick grows its storage; the ticks after it are measured.
    CTargetSearch kept;
    kept.Rebuild(list);
    ExpectNoHit(kept.FindFirst(screen), count);
    for (int tick = 0; tick < ticks; ++tick) {
        Grab(grabber, screen);
        {
            const HeapWatch watch;
            kept.Rebuild(list);
            figures.rebuild = std::max(figures.rebuild, watch.PeakExtra());
        }
        const HeapWatch watch;
        ExpectNoHit(kept.FindFirst(screen), count);
        figures.keptSearch = std::max(figures.keptSearch, watch.PeakExtra());
    }
    for (int tick = 0; tick < ticks; ++tick) {
        const HeapWatch watch;
        Grab(grabber, screen);
        kept.Rebuild(list);
        ExpectNoHit(kept.FindFirst(screen), count);
        figures.keptTick = std::max(figures.keptTick, watch.PeakExtra());
    }
    return figures;
}

void PrintTimings(const Timings& timings, std::ostream& out) {
    Table table({"Targets", "Grab", "Build", "Search", "Tick (grab+build+search)", "Search/grab",
                 "Tick per 500 ms"});
    std::string searchRatios;
    std::string tickShares;
    for (size_t index = 0; index < timings.lists.size(); ++index) {
        const TickSamples& samples = timings.lists[index];
        const double grab = Median(samples.grab);
        const double search = Median(samples.search);
        const double tick = Median(samples.tick);
        const double searchPerGrab = search / grab;
        const std::string ratio = Fixed(searchPerGrab, searchPerGrab < 0.1 ? 3 : 2) + "x";
        const std::string share = Fixed(tick / kTickSeconds * 100, 1) + " %";
        table.AddRow({std::to_string(kListSizes[index]), Duration(grab),
                      Duration(Median(samples.build)), Duration(search), Duration(tick), ratio,
                      share + " of one core"});
        const std::string separator = index == 0 ? "" : ", ";
        searchRatios += separator + ratio + " (" + std::to_string(kListSizes[index]) + ")";
        tickShares += separator + share + " (" + std::to_string(kListSizes[index]) + ")";
    }
    table.Print(out);

    out << "\nThe same ticks with the list's search kept from tick to tick and rebuilt, as the "
           "panel does\n(the grab is the same):\n\n";
    Table keptTable({"Targets", "Rebuild", "Search", "Tick (grab+rebuild+search)", "Kept/new tick",
                     "Tick per 500 ms"});
    for (size_t index = 0; index < timings.lists.size(); ++index) {
        const TickSamples& samples = timings.lists[index];
        const double keptTick = Median(samples.keptTick);
        keptTable.AddRow({std::to_string(kListSizes[index]), Duration(Median(samples.rebuild)),
                          Duration(Median(samples.keptSearch)), Duration(keptTick),
                          Fixed(keptTick / Median(samples.tick), 2) + "x",
                          Fixed(keptTick / kTickSeconds * 100, 1) + " % of one core"});
    }
    keptTable.Print(out);
    out << "\nSearch / grab for 1, 10, 50 targets: " << searchRatios
        << "\nTick per 500 ms tick, share of one core for 1, 10, 50 targets: " << tickShares
        << '\n';

    // All grabs together, so that the split compares like with like.
    std::vector<double> grabs;
    for (const TickSamples& samples : timings.lists) {
        grabs.insert(grabs.end(), samples.grab.begin(), samples.grab.end());
    }
    const double grab = Median(grabs);
    out << "\nGrab split (medians, timed apart): the whole grab " << Duration(grab)
        << "\n  BitBlt of the desktop into the DIB section: " << Duration(Median(timings.blit))
        << "\n  copy and mask into the PixelBuffer:         " << Duration(Median(timings.copy))
        << "\n  reading the monitor layout:                 " << Duration(Median(timings.layout))
        << "\n  black where no monitor is:                  " << Duration(Median(timings.uncovered))
        << '\n';
    if (timings.grabCpuSeconds > 0) {
        out << "This thread's CPU time in the grabs: " << Fixed(timings.grabCpuSeconds * 1e3, 0)
            << " ms of " << Fixed(timings.grabWallSeconds * 1e3, 0)
            << " ms wall time (the rest is spent outside the process, e.g. in the X server).\n";
    } else {
        out << "This thread's CPU time in the grabs: not reported by the system.\n";
    }
}

void PrintHeap(const std::vector<HeapFigures>& figures, size_t firstGrab, std::ostream& out) {
    out << "\nHeap through operator new (bench/HeapCounter counts bytes, not blocks): the most "
           "any play tick\nafter the first needed; what the system allocates inside GDI calls is "
           "not counted. The first\ngrab allocated "
        << Megabytes(static_cast<double>(firstGrab))
        << " (the PixelBuffer; the DIB section is GDI memory). Handles kept: GDI and DC\nhandles "
           "our owners still hold after the tick.\n\n";
    Table table(
        {"Targets", "Grab", "Build", "Search", "Whole tick", "Kept after tick", "Handles kept"});
    for (size_t index = 0; index < figures.size(); ++index) {
        const HeapFigures& f = figures[index];
        table.AddRow({std::to_string(kListSizes[index]), Bytes(f.grab), Bytes(f.build),
                      Bytes(f.search), Bytes(f.tick), Bytes(f.kept), std::to_string(f.handles)});
    }
    table.Print(out);
    out << "\nWith the search kept from tick to tick and rebuilt, as the panel does:\n\n";
    Table keptTable({"Targets", "Rebuild", "Search", "Whole tick"});
    for (size_t index = 0; index < figures.size(); ++index) {
        const HeapFigures& f = figures[index];
        keptTable.AddRow({std::to_string(kListSizes[index]), Bytes(f.rebuild), Bytes(f.keptSearch),
                          Bytes(f.keptTick)});
    }
    keptTable.Print(out);
}

std::string RectText(const Rect& rc) {
    return "(" + std::to_string(rc.left) + ", " + std::to_string(rc.top) + ") " +
           std::to_string(rc.right - rc.left) + " x " + std::to_string(rc.bottom - rc.top);
}

void Run(const Options& options, std::ostream& out) {
    const Rect rcVirtual = ReadVirtualScreen();
    const DesktopLayout layout = ReadDesktopLayout();
    const int width = rcVirtual.right - rcVirtual.left;
    const int height = rcVirtual.bottom - rcVirtual.top;
    if (width < 320 || height < 240) {
        throw BenchFailure("the virtual screen is " + std::to_string(width) + " x " +
                           std::to_string(height) + " pixels: too small to search");
    }
    out << "Play tick on the virtual screen: origin (" << rcVirtual.left << ", " << rcVirtual.top
        << "), " << width << " x " << height << " pixels, " << layout.monitors.size()
        << (layout.monitors.size() == 1 ? " monitor" : " monitors") << " (GetSystemMetrics, "
        << "EnumDisplayMonitors); search path "
        << (Avx2Available() ? "AVX2" : "SSE2 (no AVX2 here)") << "; medians of " << options.runs
        << " runs" << (options.quick ? " (--quick: a smoke test, not a measurement)" : "") << ".\n";
    for (const MonitorArea& monitor : layout.monitors) {
        out << "  monitor " << RectText(monitor.rcMonitor) << (monitor.bPrimary ? " (primary)" : "")
            << '\n';
    }
    // The grab keeps one picture of the virtual screen in the PixelBuffer and one in its DIB
    // section, 4 bytes a pixel each, from tick to tick.
    const double grabBytes = 2.0 * 4.0 * static_cast<double>(width) * static_cast<double>(height);
    out << "Memory the grab keeps: " << Megabytes(grabBytes)
        << " (the PixelBuffer and the DIB section, 4 bytes a pixel each).\n";
    if (layout.monitors.size() <= 1 && (width != kWantedWidth || height != kWantedHeight)) {
        out << "WARNING: the screen is " << width << " x " << height << ", not " << kWantedWidth
            << " x " << kWantedHeight << ": these figures are not those of a 1080p play tick.\n";
    }

    // What the grab must read back: the picture where a monitor shows it, black elsewhere.
    const PixelBuffer picture = MakeScreen(ScreenKind::Desktop, width, height);
    CScreenPictureWnd window(picture, Point{rcVirtual.left, rcVirtual.top});
    if (!window.Show()) {
        throw BenchFailure("could not show the desktop picture over the screen");
    }
    DesktopImage expected{picture, Point{rcVirtual.left, rcVirtual.top}};
    BlackOutUncovered(expected, layout);
    CScreenGrabber grabber;
    PixelBuffer screen;
    size_t firstGrab = 0;
    {
        const HeapWatch watch;
        Grab(grabber, screen);
        firstGrab = watch.PeakExtra();
    }
    const size_t different = GrabUntilShown(grabber, screen, expected.pixels);
    const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (different == 0) {
        out << "Screen: a topmost window over the virtual screen showing a synthetic desktop "
               "(windows, text,\nicons); the grab reads it back pixel for pixel, black where no "
               "monitor is.\n";
    } else {
        out << "WARNING: the grab differs from the desktop picture shown in " << different << " of "
            << pixels << " pixels.\n";
        if (different > pixels / 100) {
            throw BenchFailure("the desktop picture did not reach the screen");
        }
    }

    // Cut from the screen as grabbed, so that absent means absent from what the search sees.
    const std::vector<PixelBuffer> pictures = MakeTargetPictures(screen);
    std::vector<std::unique_ptr<CTargetObjList>> lists;
    for (const int count : kListSizes) {
        lists.push_back(MakeAbsentTargetList(pictures, count));
        ExpectNoHit(CTargetSearch(*lists.back()).FindFirst(screen), count);
    }
    out << "Targets: pieces of the screen, each with one pixel near its top changed, so none is "
           "on it;\nsizes 40x20, 16x16, 24x24, 64x32 and 120x28 in turn (1 target: 40x20). "
           "Every tick checks that\nnone is found. Build: constructing a new CTargetSearch; "
           "Rebuild: rebuilding the list's kept one.\n\n";

    CDesktopBlit blit(rcVirtual);
    if (!blit) {
        throw BenchFailure("could not make a DIB section of the screen's size");
    }
    PixelBuffer copied(width, height);
    // One untimed round first: the first BitBlt and the first searches warm up caches and code,
    // and the kept searches grow their storage.
    std::vector<CTargetSearch> kept(lists.size());
    DesktopLayout timedLayout;
    TimeTicks(Options{1, true}, grabber, screen, blit, copied, timedLayout, lists, kept);
    const Timings timings =
        TimeTicks(options, grabber, screen, blit, copied, timedLayout, lists, kept);
    PrintTimings(timings, out);

    std::vector<HeapFigures> heap;
    for (const auto& list : lists) {
        heap.push_back(MeasureHeap(options.quick ? 2 : 5, grabber, screen, *list));
    }
    PrintHeap(heap, firstGrab, out);
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    for (int index = 1; index < argc; ++index) {
        const std::string arg = argv[index];
        if (arg == "--quick") {
            options.quick = true;
            options.runs = 2;
        } else if (arg == "--runs" && index + 1 < argc) {
            options.runs = std::max(1, std::atoi(argv[++index]));
        } else if (arg == "--help" || arg == "-h") {
            PrintUsage(std::cout);
            return 0;
        } else {
            std::cerr << "tarvik-play-bench: unknown option " << arg << "\n\n";
            PrintUsage(std::cerr);
            return 1;
        }
    }
    try {
        Run(options, std::cout);
        std::cout << std::flush;
    } catch (const std::exception& error) {
        std::cout << std::flush;
        std::cerr << "tarvik-play-bench: FAILED: " << error.what() << '\n';
        return 2;
    }
    return 0;
}
