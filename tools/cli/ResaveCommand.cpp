// Reading a target-list file and writing it back elsewhere.
#include "tools/cli/ResaveCommand.h"

#include "model/TargetListFile.h"
#include "tools/cli/CliText.h"

void RunResave(const std::filesystem::path& in, const std::filesystem::path& out,
               std::ostream& log) {
    const std::unique_ptr<CTargetObjList> list = LoadTargetListFile(in);
    SaveTargetListFile(*list, out);
    log << "saved " << PathToUtf8(out) << " (" << list->Count() << " targets)\n";
}
