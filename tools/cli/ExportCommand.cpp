// Writing a list's pictures out as BMP files.
#include "tools/cli/ExportCommand.h"

#include <map>
#include <system_error>

#include "model/AtomicFile.h"
#include "model/FileErrors.h"
#include "model/TargetListFile.h"
#include "tools/cli/CliText.h"
#include "tools/cli/DisplayOrder.h"

std::vector<ExportFile> PlanExport(const CTargetObjList& list) {
    std::map<int32_t, size_t> targetsPerOrder;
    for (const auto& target : list) {
        ++targetsPerOrder[target->m_nOrder];
    }
    std::vector<ExportFile> files;
    for (const OrderedTarget& entry : TargetsInDisplayOrder(list)) {
        const CTargetObj& target = *entry.target;
        std::string stem = std::to_string(target.m_nOrder);
        if (targetsPerOrder[target.m_nOrder] > 1) {
            stem += "-pos" + std::to_string(entry.listPosition);
        }
        files.push_back({&target, &target.m_bmpTarget, "target", stem + "-target.bmp"});
        files.push_back({&target, &target.m_bmpArea, "area", stem + "-area.bmp"});
    }
    return files;
}

void ExportPictures(const CTargetObjList& list, const std::filesystem::path& dir,
                    std::ostream& log) {
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) {
        throw CFileException(FileErrorKind::WriteFailed, dir);
    }
    size_t written = 0;
    size_t skipped = 0;
    for (const ExportFile& file : PlanExport(list)) {
        const std::filesystem::path path = dir / file.fileName;
        if (file.picture->IsNull()) {
            log << "skipped " << PathToUtf8(path) << ": the target has no " << file.kind
                << " picture\n";
            ++skipped;
            continue;
        }
        const std::vector<uint8_t> image = file.picture->BmpImage();
        if (image.empty()) {
            // Only a picture made in memory can be; a loaded one always has its stored image.
            log << "skipped " << PathToUtf8(path) << ": too large for a BMP file\n";
            ++skipped;
            continue;
        }
        WriteFileAtomically(path, [&](CByteSink& sink) { sink.Write(image.data(), image.size()); });
        log << "wrote " << PathToUtf8(path) << " (" << PictureSizeText(*file.picture) << ", "
            << image.size() << " bytes)\n";
        ++written;
    }
    log << written << " files written, " << skipped << " skipped\n";
}

void RunExport(const std::filesystem::path& file, const std::filesystem::path& dir,
               std::ostream& log) {
    const std::unique_ptr<CTargetObjList> list = LoadTargetListFile(file);
    ExportPictures(*list, dir, log);
}
