// Describing a target list on the console.
#include "tools/cli/InfoCommand.h"

#include "model/TargetListFile.h"
#include "model/TargetObj.h"
#include "tools/cli/CliText.h"
#include "tools/cli/DisplayOrder.h"

void WriteListInfo(const CTargetObjList& list, std::ostream& out) {
    out << "Header:  " << QuotedText(list.m_strHeader) << '\n';
    out << "Version: " << list.m_nVersion << '\n';
    out << "Targets: " << list.Count() << '\n';
    for (const OrderedTarget& entry : TargetsInDisplayOrder(list)) {
        const CTargetObj& target = *entry.target;
        const Rect& rect = target.m_rcTarget;
        out << '\n';
        out << "Order " << target.m_nOrder << ": " << QuotedText(target.m_strName) << '\n';
        out << "  Target rectangle: left " << rect.left << ", top " << rect.top << ", right "
            << rect.right << ", bottom " << rect.bottom << '\n';
        out << "  Click shift:      x " << target.m_ptClickShift.x << ", y "
            << target.m_ptClickShift.y << '\n';
        out << "  Target picture:   " << PictureSizeText(target.m_bmpTarget) << '\n';
        out << "  Area picture:     " << PictureSizeText(target.m_bmpArea) << '\n';
    }
}

void RunInfo(const std::filesystem::path& file, std::ostream& out) {
    const std::unique_ptr<CTargetObjList> list = LoadTargetListFile(file);
    WriteListInfo(*list, out);
}
