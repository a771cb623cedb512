// The bench sections: each measures one part of the program and prints its own table.
#pragma once

#include <ostream>

struct BenchOptions {
    int runs = 5;        // timings are the median of this many runs
    bool quick = false;  // a smoke test: one run each
};

// Saving and loading target-list files: time, file size and heap use.
void RunFileBench(const BenchOptions& options, std::ostream& out);
// Picture and target-list search against the plain scan and one read of the screen.
void RunSearchBench(const BenchOptions& options, std::ostream& out);
// How long the nearest place of a picture takes, near the screen and far from it.
void RunNearestBench(const BenchOptions& options, std::ostream& out);
// The capture overlay's frame per pointer move of a drag: whole frame against changed parts.
void RunDragBench(const BenchOptions& options, std::ostream& out);
// One tile picture for stored rectangles up to the int32 limits.
void RunTileBench(const BenchOptions& options, std::ostream& out);

struct BenchSection {
    const char* name;  // as given on the command line
    const char* description;
    void (*run)(const BenchOptions& options, std::ostream& out);
};

// Run in this order when no section is named.
inline constexpr BenchSection kBenchSections[] = {
    {"file", "saving and loading target-list files", &RunFileBench},
    {"search", "picture and target-list search against the plain scan", &RunSearchBench},
    {"nearest", "the nearest place of a picture that is not found", &RunNearestBench},
    {"drag", "the capture overlay's frame per pointer move of a drag", &RunDragBench},
    {"tile", "one tile picture for stored rectangles up to the int32 limits", &RunTileBench},
};
