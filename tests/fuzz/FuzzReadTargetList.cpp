// Fuzz target: any byte string given to the target-list reader either loads or raises a file
// error; a list that loads writes back to bytes that load to the same bytes again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "model/TargetListFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<CTargetObjList> list;
    try {
        CMemorySource source(std::span<const uint8_t>(data, size));
        list = ReadTargetList(source, "fuzz.trvk");
    } catch (const CFileException&) {
        return 0;
    }
    CMemorySink first;
    WriteTargetList(*list, first, "fuzz.trvk");
    CMemorySource again(first.Bytes());
    std::unique_ptr<CTargetObjList> reloaded = ReadTargetList(again, "fuzz.trvk");
    CMemorySink second;
    WriteTargetList(*reloaded, second, "fuzz.trvk");
    if (second.Bytes() != first.Bytes() || reloaded->Count() != list->Count()) {
        std::abort();
    }
    return 0;
}
