// The find command: a target list and a screen picture in, what a play step would click out.
#include "tools/cli/FindCommand.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>

#include "engine/DesktopCoords.h"
#include "engine/NearestMatch.h"
#include "engine/PictureSearch.h"
#include "model/TargetListFile.h"
#include "tools/cli/CliText.h"
#include "tools/cli/DisplayOrder.h"
#include "tools/cli/RunCli.h"
#include "tools/cli/ScreenImage.h"

namespace {

struct FindArguments {
    std::filesystem::path list;
    std::filesystem::path screen;
    bool all = false;
    bool explain = false;
    int repeat = 0;
    // The desktop point of the screenshot's pixel (0, 0); every point printed is a desktop point.
    std::optional<Point> origin;
};

// "X,Y" with two whole numbers within int32, either of them negative.
std::optional<Point> ParsePoint(const std::string& text) {
    const size_t comma = text.find(',');
    if (comma == std::string::npos) {
        return std::nullopt;
    }
    Point pt;
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const auto [stopX, errorX] = std::from_chars(begin, begin + comma, pt.x);
    const auto [stopY, errorY] = std::from_chars(begin + comma + 1, end, pt.y);
    if (errorX != std::errc() || stopX != begin + comma || errorY != std::errc() || stopY != end) {
        return std::nullopt;
    }
    return pt;
}

// Fills `parsed` from `args` (after "find"); returns what is wrong, or nothing.
std::string Parse(const std::vector<std::filesystem::path>& args, FindArguments& parsed) {
    std::vector<std::filesystem::path> operands;
    for (size_t index = 1; index < args.size(); ++index) {
        const std::string arg = PathToUtf8(args[index]);
        if (arg == "--all") {
            parsed.all = true;
        } else if (arg == "--explain") {
            parsed.explain = true;
        } else if (arg == "--repeat") {
            const std::string count = index + 1 < args.size() ? PathToUtf8(args[++index]) : "";
            const char* end = count.data() + count.size();
            const auto [stop, error] = std::from_chars(count.data(), end, parsed.repeat);
            if (error != std::errc() || stop != end || parsed.repeat < 1 ||
                parsed.repeat > 1000000) {
                return "--repeat takes a count from 1 to 1000000";
            }
        } else if (arg == "--origin") {
            const std::string value = index + 1 < args.size() ? PathToUtf8(args[++index]) : "";
            parsed.origin = ParsePoint(value);
            if (!parsed.origin) {
                return "--origin takes the desktop point of the screen picture's top-left as X,Y, "
                       "e.g. -1024,-300 (got \"" +
                       value + "\")";
            }
        } else if (arg.starts_with("--")) {
            return "unknown option " + arg + " for find";
        } else {
            operands.push_back(args[index]);
        }
    }
    if (operands.size() != 2) {
        return "find takes 2 arguments: LIST SCREEN";
    }
    parsed.list = operands[0];
    parsed.screen = operands[1];
    return {};
}

std::string TargetTitle(const CTargetObj& target) {
    return "order " + std::to_string(target.m_nOrder) + " " + QuotedText(target.m_strName);
}

// Why `picture` is not on `screen`: where it comes nearest and how far it is from matching there.
std::string NearestPlace(const DesktopImage& screen, const PixelBuffer& picture) {
    const std::optional<NearestMatch> nearest = FindNearestMatch(screen.pixels, picture);
    if (!nearest) {
        return "; no place to compare";
    }
    const Point topLeft = ImageToDesktop(nearest->topLeft, screen.origin);
    return "; nearest at left " + std::to_string(topLeft.x) + ", top " + std::to_string(topLeft.y) +
           ": " + std::to_string(nearest->differingPixels) + " of " +
           std::to_string(nearest->pixelCount) + " pixels differ, largest channel difference " +
           std::to_string(nearest->largestChannelDifference);
}

// One target's own search on the screen, whatever a play step would do with it; with `explain`,
// a target not found also gets its nearest place.
std::string OwnResult(const CTargetObj& target, const DesktopImage& image, bool explain) {
    const PixelBuffer& screen = image.pixels;
    if (target.m_bmpTarget.IsNull()) {
        return "no picture";
    }
    const PixelBuffer* pixels = target.m_bmpTarget.Pixels();
    if (pixels == nullptr) {
        return "undecodable picture";
    }
    if (pixels->Width() > screen.Width() || pixels->Height() > screen.Height()) {
        return "picture larger than the screen";
    }
    if (pixels->IsEmpty()) {
        return "empty picture";
    }
    const auto found = FindPicture(screen, *pixels);
    if (!found) {
        return explain ? "not found" + NearestPlace(image, *pixels) : "not found";
    }
    const TargetHit hit = MakeTargetHit(target, ImageToDesktop(*found, image.origin));
    return "found at left " + std::to_string(hit.topLeft.x) + ", top " +
           std::to_string(hit.topLeft.y) + "; centre x " + std::to_string(hit.centre.x) + ", y " +
           std::to_string(hit.centre.y) + "; click x " + std::to_string(hit.click.x) + ", y " +
           std::to_string(hit.click.y);
}

void WriteEveryTarget(const CTargetObjList& list, const DesktopImage& screen, bool explain,
                      std::ostream& out) {
    const std::vector<const CTargetObj*> searched = TargetsInSearchOrder(list);
    const std::set<const CTargetObj*> searchedSet(searched.begin(), searched.end());
    for (const OrderedTarget& entry : TargetsInDisplayOrder(list)) {
        const CTargetObj& target = *entry.target;
        out << "  " << TargetTitle(target) << ": " << OwnResult(target, screen, explain);
        if (searchedSet.count(&target) == 0) {
            const bool inRange =
                target.m_nOrder >= 0 && static_cast<size_t>(target.m_nOrder) < list.Count();
            out << " (never searched by a play step: "
                << (inRange ? "an earlier target in the list has this order"
                            : "orders run from 0 to " + std::to_string(list.Count() - 1))
                << ")";
        }
        out << '\n';
    }
}

}  // namespace

void WriteTargetHit(const TargetHit& hit, std::ostream& out) {
    const PixelBuffer* pixels = hit.target->m_bmpTarget.Pixels();
    out << "Clicks " << TargetTitle(*hit.target) << '\n';
    out << "  Found at:    left " << hit.topLeft.x << ", top " << hit.topLeft.y << " ("
        << (pixels != nullptr ? pixels->Width() : 0) << " x "
        << (pixels != nullptr ? pixels->Height() : 0) << ")\n";
    out << "  Centre:      x " << hit.centre.x << ", y " << hit.centre.y << '\n';
    out << "  Click point: x " << hit.click.x << ", y " << hit.click.y << '\n';
}

int RunFind(const std::vector<std::filesystem::path>& args, std::ostream& out, std::ostream& err) {
    FindArguments parsed;
    if (const std::string problem = Parse(args, parsed); !problem.empty()) {
        err << "tarvik-cli: " << problem << "\n\n" << CliUsage();
        return kExitUsage;
    }
    const std::unique_ptr<CTargetObjList> list = LoadTargetListFile(parsed.list);
    const DesktopImage image{LoadScreenImage(parsed.screen), parsed.origin.value_or(Point{})};
    const PixelBuffer& screen = image.pixels;
    const CTargetSearch search(*list);
    out << "Screen: " << screen.Width() << " x " << screen.Height();
    if (parsed.origin) {
        out << " at desktop x " << image.origin.x << ", y " << image.origin.y;
    }
    out << "; " << list->Count() << " targets, " << search.SearchedCount()
        << " searched by a play step\n";
    if (parsed.all || parsed.explain) {
        out << "Every target on its own, in display order:\n";
        WriteEveryTarget(*list, image, parsed.explain, out);
    }
    std::optional<TargetHit> hit = search.FindFirst(screen);
    if (hit) {
        hit = MakeTargetHit(*hit->target, ImageToDesktop(hit->topLeft, image.origin));
    }
    if (parsed.repeat > 0) {
        std::vector<double> times;
        for (int run = 0; run < parsed.repeat; ++run) {
            const auto start = std::chrono::steady_clock::now();
            const bool found = search.FindFirst(screen).has_value();
            times.push_back(
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
            if (found != hit.has_value()) {
                throw std::runtime_error("the search gave different answers on the same screen");
            }
        }
        std::sort(times.begin(), times.end());
        char text[64];
        std::snprintf(text, sizeof text, "%.3f", times[times.size() / 2] * 1e3);
        out << "Search time: " << text << " ms (median of " << parsed.repeat << " runs, "
            << (Avx2Available() ? "AVX2" : "SSE2") << ")\n";
    }
    if (!hit) {
        out << "Not found: a play step would click nothing\n";
        return kExitFailure;
    }
    WriteTargetHit(*hit, out);
    return kExitSuccess;
}
