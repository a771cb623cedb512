// Reading and writing whole target-list files.
#include "model/TargetListFile.h"

#include <array>
#include <new>

#include "model/Archive.h"
#include "model/AtomicFile.h"

namespace {

const CRuntimeClassTable& ModelClasses() {
    static const CRuntimeClassTable table = [] {
        CRuntimeClassTable classes;
        classes.Register(CTargetObjList::s_runtimeClass);
        classes.Register(CTargetObj::s_runtimeClass);
        return classes;
    }();
    return table;
}

}  // namespace

void WriteTargetList(CTargetObjList& list, CByteSink& sink, const std::filesystem::path& path) {
    CArchive ar(sink, path);
    ar.WriteObject(list);
    ar.Flush();
}

std::unique_ptr<CTargetObjList> ReadTargetList(CByteSource& source,
                                               const std::filesystem::path& path) {
    CArchive ar(source, path, ModelClasses());
    constexpr std::array<uint8_t, 4> kEmptyFileMark = {0x06, 0x00, 0xFF, 0xFF};
    try {
        if (ar.PeekEquals(kEmptyFileMark)) {
            return std::make_unique<CTargetObjList>();
        }
        std::unique_ptr<CObject> object = ar.ReadObject(CTargetObjList::s_runtimeClass);
        return std::unique_ptr<CTargetObjList>(static_cast<CTargetObjList*>(object.release()));
    } catch (const std::bad_alloc&) {
        throw CFileException(FileErrorKind::OutOfMemory, path);
    }
}

std::unique_ptr<CTargetObjList> LoadTargetListFile(const std::filesystem::path& path) {
    CFileSource source(path);
    return ReadTargetList(source, path);
}

void SaveTargetListFile(CTargetObjList& list, const std::filesystem::path& path) {
    WriteFileAtomically(path, [&](CByteSink& sink) { WriteTargetList(list, sink, path); });
}
