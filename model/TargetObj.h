// One target: a captured picture, the area around it, a name and where to click.
#pragma once

#include <cstdint>
#include <string>

#include "engine/PixelBuffer.h"
#include "model/Picture.h"
#include "model/RuntimeClass.h"

class CTargetObj : public CObject {
public:
    static const CRuntimeClass s_runtimeClass;  // "CTargetObj", schema 1

    const CRuntimeClass& GetRuntimeClass() const override { return s_runtimeClass; }
    // Writes or reads the target record: order, target rectangle, click shift, five reserved
    // integers, the two pictures as picture strings, the name and three reserved strings.
    void Serialize(CArchive& ar) override;

    std::u16string m_strName;
    std::u16string m_strReserved1;
    int32_t m_nReserved1 = 0;
    int32_t m_nReserved2 = 0;
    int32_t m_nReserved3 = 0;
    std::u16string m_strReserved2;
    int32_t m_nReserved4 = 0;
    int32_t m_nReserved5 = 0;
    std::u16string m_strReserved3;
    CPicture m_bmpTarget;  // what the play loop searches the screen for
    CPicture m_bmpArea;    // 100 x 100 surroundings, shown by the tile
    int32_t m_nOrder = 0;  // 0-based display and search position
    Rect m_rcTarget;       // where m_bmpTarget was captured, screen pixels
    Point m_ptClickShift;  // click point offset from the found centre
    Rect m_rcArea;         // where m_bmpArea was captured; never stored
};
