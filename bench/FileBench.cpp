// The file section: saving and loading a 1,000-target list, its file size and its heap use.
#include <cstdint>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/BenchSections.h"
#include "bench/BenchUtil.h"
#include "bench/HeapCounter.h"
#include "engine/PixelBuffer.h"
#include "model/ByteStream.h"
#include "model/Picture.h"
#include "model/PictureString.h"
#include "model/TargetListFile.h"

namespace {

constexpr int kTargetCount = 1000;
constexpr int32_t kTargetWidth = 40;
constexpr int32_t kTargetHeight = 20;
constexpr int32_t kAreaSize = 100;

PixelBuffer RandomPixels(int32_t width, int32_t height, std::mt19937& random) {
    PixelBuffer pixels(width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            pixels.Set(x, y, random() & 0x00FFFFFF);
        }
    }
    return pixels;
}

void PutLe(std::vector<uint8_t>& image, size_t at, uint32_t value, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        image[at + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

// The 24-bit BMP image other programs write: 54 bytes of headers, bottom-up rows of blue, green
// and red bytes padded to 4 bytes.
std::vector<uint8_t> Encode24BitBmp(const PixelBuffer& pixels) {
    const size_t stride = (static_cast<size_t>(pixels.Width()) * 3 + 3) / 4 * 4;
    const size_t pixelBytes = stride * static_cast<size_t>(pixels.Height());
    std::vector<uint8_t> image(54 + pixelBytes, 0);
    PutLe(image, 0, 0x4D42, 2);
    PutLe(image, 2, static_cast<uint32_t>(image.size()), 4);
    PutLe(image, 10, 54, 4);
    PutLe(image, 14, 40, 4);
    PutLe(image, 18, static_cast<uint32_t>(pixels.Width()), 4);
    PutLe(image, 22, static_cast<uint32_t>(pixels.Height()), 4);
    PutLe(image, 26, 1, 2);
    PutLe(image, 28, 24, 2);
    PutLe(image, 34, static_cast<uint32_t>(pixelBytes), 4);
    for (int32_t y = 0; y < pixels.Height(); ++y) {
        size_t at = 54 + stride * static_cast<size_t>(pixels.Height() - 1 - y);
        for (int32_t x = 0; x < pixels.Width(); ++x) {
            PutLe(image, at, pixels.At(x, y), 3);
            at += 3;
        }
    }
    return image;
}

// A picture as loaded from a file that stores it as a 24-bit image.
CPicture Stored24BitPicture(const PixelBuffer& pixels) {
    return StringToPicture(BytesToPictureString(Encode24BitBmp(pixels)));
}

std::unique_ptr<CTargetObjList> BuildList(bool stored24Bit) {
    auto list = std::make_unique<CTargetObjList>();
    std::mt19937 random(2024);
    for (int index = 0; index < kTargetCount; ++index) {
        auto target = std::make_unique<CTargetObj>();
        PixelBuffer targetPixels = RandomPixels(kTargetWidth, kTargetHeight, random);
        PixelBuffer areaPixels = RandomPixels(kAreaSize, kAreaSize, random);
        if (stored24Bit) {
            target->m_bmpTarget = Stored24BitPicture(targetPixels);
            target->m_bmpArea = Stored24BitPicture(areaPixels);
        } else {
            target->m_bmpTarget = CPicture(std::move(targetPixels));
            target->m_bmpArea = CPicture(std::move(areaPixels));
        }
        target->m_strName =
            u"Target " + std::u16string(1, static_cast<char16_t>(u'A' + index % 26));
        const int32_t left = (index * 37) % 1800;
        const int32_t top = (index * 53) % 1000;
        target->m_rcTarget = {left, top, left + kTargetWidth, top + kTargetHeight};
        target->m_ptClickShift = {index % 7 - 3, index % 5 - 2};
        target->m_nOrder = index;
        list->AddTail(std::move(target));
    }
    return list;
}

// Width * height * 4 summed over every picture that has pixels.
size_t PixelBytes(const CTargetObjList& list) {
    size_t bytes = 0;
    for (const auto& target : list) {
        for (const CPicture* picture : {&target->m_bmpTarget, &target->m_bmpArea}) {
            if (const PixelBuffer* pixels = picture->Pixels()) {
                bytes += pixels->SizeInBytes();
            }
        }
    }
    return bytes;
}

struct HeapFigures {
    size_t peakExtra = 0;
    size_t retainedExtra = 0;
    size_t pixelBytes = 0;
};

struct FileFigures {
    size_t fileSize = 0;
    size_t pixelBytes = 0;
    double saveMemorySeconds = 0;
    double saveFileSeconds = 0;
    double loadMemorySeconds = 0;
    double loadFileSeconds = 0;
    size_t savePeakExtra = 0;
    HeapFigures loadMemoryHeap;
    HeapFigures loadFileHeap;
};

template <typename Load>
HeapFigures MeasureLoadHeap(Load&& load, size_t expectedPixelBytes) {
    HeapFigures figures;
    const HeapWatch watch;
    const std::unique_ptr<CTargetObjList> loaded = load();
    figures.peakExtra = watch.PeakExtra();
    figures.retainedExtra = watch.RetainedExtra();
    figures.pixelBytes = PixelBytes(*loaded);
    // A load that lost pictures would make every figure meaningless.
    if (loaded->Count() != kTargetCount || figures.pixelBytes != expectedPixelBytes) {
        throw std::runtime_error("the loaded list differs from the saved one");
    }
    return figures;
}

FileFigures Measure(CTargetObjList& list, const std::filesystem::path& file, int runs) {
    FileFigures figures;
    figures.pixelBytes = PixelBytes(list);

    figures.saveMemorySeconds = MedianSeconds(runs, [&] {
        CMemorySink sink;
        WriteTargetList(list, sink, file);
        return sink;
    });
    figures.saveFileSeconds = MedianSeconds(runs, [&] { SaveTargetListFile(list, file); });
    {
        const HeapWatch watch;
        SaveTargetListFile(list, file);
        figures.savePeakExtra = watch.PeakExtra();
    }

    CMemorySink sink;
    WriteTargetList(list, sink, file);
    const std::vector<uint8_t> bytes = sink.TakeBytes();
    figures.fileSize = bytes.size();

    const auto loadFromMemory = [&] {
        CMemorySource source(bytes);
        return ReadTargetList(source, file);
    };
    const auto loadFromFile = [&] { return LoadTargetListFile(file); };
    figures.loadMemorySeconds = MedianSeconds(runs, loadFromMemory);
    figures.loadFileSeconds = MedianSeconds(runs, loadFromFile);
    figures.loadMemoryHeap = MeasureLoadHeap(loadFromMemory, figures.pixelBytes);
    figures.loadFileHeap = MeasureLoadHeap(loadFromFile, figures.pixelBytes);
    return figures;
}

std::string HeapText(size_t bytes, size_t pixelBytes) {
    return Megabytes(static_cast<double>(bytes)) + " = " +
           Fixed(static_cast<double>(bytes) / static_cast<double>(pixelBytes), 2) +
           " x picture bytes";
}

}  // namespace

void RunFileBench(const BenchOptions& options, std::ostream& out) {
    const TempFolder folder("tarvik-bench");
    std::vector<FileFigures> columns;
    for (const bool stored24Bit : {false, true}) {
        const std::unique_ptr<CTargetObjList> list = BuildList(stored24Bit);
        const auto file = folder.Path() / (stored24Bit ? "list-24bit.trvk" : "list-32bit.trvk");
        columns.push_back(Measure(*list, file, options.runs));
    }

    out << "Target-list file: " << kTargetCount << " targets, each a " << kTargetWidth << " x "
        << kTargetHeight << " target and a " << kAreaSize << " x " << kAreaSize
        << " area picture of random pixels; "
        << (options.runs == 1 ? std::string("one run")
                              : "median of " + std::to_string(options.runs) + " runs")
        << "\n\n";

    Table table({"", "32-bit stored pictures", "24-bit stored pictures"});
    const auto row = [&](const std::string& label, auto cell) {
        std::vector<std::string> cells = {label};
        for (const FileFigures& figures : columns) {
            cells.push_back(cell(figures));
        }
        table.AddRow(std::move(cells));
    };
    row("Picture pixel bytes",
        [](const FileFigures& f) { return Megabytes(double(f.pixelBytes)); });
    row("File size", [](const FileFigures& f) { return Megabytes(double(f.fileSize)); });
    row("Save to memory",
        [](const FileFigures& f) { return TimeAndRate(f.saveMemorySeconds, double(f.fileSize)); });
    row("Save to file (atomic)",
        [](const FileFigures& f) { return TimeAndRate(f.saveFileSeconds, double(f.fileSize)); });
    row("Load from memory",
        [](const FileFigures& f) { return TimeAndRate(f.loadMemorySeconds, double(f.fileSize)); });
    row("Load from file",
        [](const FileFigures& f) { return TimeAndRate(f.loadFileSeconds, double(f.fileSize)); });
    row("Save peak heap (file)",
        [](const FileFigures& f) { return HeapText(f.savePeakExtra, f.pixelBytes); });
    row("Load peak heap (memory)",
        [](const FileFigures& f) { return HeapText(f.loadMemoryHeap.peakExtra, f.pixelBytes); });
    row("Load peak heap (file)",
        [](const FileFigures& f) { return HeapText(f.loadFileHeap.peakExtra, f.pixelBytes); });
    row("Heap kept by the loaded list",
        [](const FileFigures& f) { return HeapText(f.loadFileHeap.retainedExtra, f.pixelBytes); });
    table.Print(out);
    out << "Heap figures: bytes asked for with new above what was live before the step; "
           "picture bytes = width x height x 4 summed over the loaded pictures.\n";
}
