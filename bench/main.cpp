// Entry point of tarvik-bench: runs the named sections, or all of them, and prints their tables.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "bench/BenchSections.h"
#include "model/FileErrors.h"
#include "model/TextConvert.h"

namespace {

void PrintUsage(std::ostream& out) {
    out << "Usage: tarvik-bench [--quick] [SECTION...]\n"
           "  --quick  one run per figure instead of the median of 5 (a smoke test)\n"
           "Sections (all when none is named):\n";
    for (const BenchSection& section : kBenchSections) {
        out << "  " << section.name << "  " << section.description << '\n';
    }
}

}  // namespace

int main(int argc, char** argv) {
    BenchOptions options;
    std::vector<const BenchSection*> chosen;
    for (int index = 1; index < argc; ++index) {
        const std::string arg = argv[index];
        if (arg == "--quick") {
            options.quick = true;
            options.runs = 1;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            PrintUsage(std::cout);
            return 0;
        }
        const BenchSection* found = nullptr;
        for (const BenchSection& section : kBenchSections) {
            if (arg == section.name) {
                found = &section;
            }
        }
        if (found == nullptr) {
            std::cerr << "tarvik-bench: unknown section or option " << arg << "\n\n";
            PrintUsage(std::cerr);
            return 1;
        }
        chosen.push_back(found);
    }
    if (chosen.empty()) {
        for (const BenchSection& section : kBenchSections) {
            chosen.push_back(&section);
        }
    }
    try {
        for (const BenchSection* section : chosen) {
            section->run(options, std::cout);
            std::cout << std::endl;
        }
    } catch (const CFileException& error) {
        std::cerr << "tarvik-bench: " << Utf16ToUtf8(error.Message()) << '\n';
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "tarvik-bench: " << error.what() << '\n';
        return 2;
    }
    return 0;
}
