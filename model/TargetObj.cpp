// Reading and writing of one target record.
#include "model/TargetObj.h"

#include <array>

#include "model/Archive.h"

const CRuntimeClass CTargetObj::s_runtimeClass = {
    "CTargetObj", 1, []() -> std::unique_ptr<CObject> { return std::make_unique<CTargetObj>(); }};

namespace {

// The rectangle and the point travel as raw little-endian blocks of int32 values.
template <size_t N>
std::array<uint8_t, N * 4> PackInts(const std::array<int32_t, N>& values) {
    std::array<uint8_t, N * 4> bytes{};
    for (size_t i = 0; i < N; ++i) {
        const auto value = static_cast<uint32_t>(values[i]);
        for (size_t b = 0; b < 4; ++b) {
            bytes[i * 4 + b] = static_cast<uint8_t>(value >> (8 * b));
        }
    }
    return bytes;
}

template <size_t N>
std::array<int32_t, N> UnpackInts(const std::array<uint8_t, N * 4>& bytes) {
    std::array<int32_t, N> values{};
    for (size_t i = 0; i < N; ++i) {
        uint32_t value = 0;
        for (size_t b = 0; b < 4; ++b) {
            value |= uint32_t{bytes[i * 4 + b]} << (8 * b);
        }
        values[i] = static_cast<int32_t>(value);
    }
    return values;
}

}  // namespace

void CTargetObj::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteInt(m_nOrder);
        ar.WriteBlock(
            PackInts<4>({m_rcTarget.left, m_rcTarget.top, m_rcTarget.right, m_rcTarget.bottom}));
        ar.WriteBlock(PackInts<2>({m_ptClickShift.x, m_ptClickShift.y}));
        for (const int32_t reserved :
             {m_nReserved1, m_nReserved2, m_nReserved3, m_nReserved4, m_nReserved5}) {
            ar.WriteInt(reserved);
        }
        ar.WriteString(PictureToString(m_bmpTarget));
        ar.WriteString(PictureToString(m_bmpArea));
        for (const std::u16string* text :
             {&m_strName, &m_strReserved1, &m_strReserved2, &m_strReserved3}) {
            ar.WriteString(*text);
        }
        return;
    }
    m_nOrder = ar.ReadInt();
    std::array<uint8_t, 16> rect{};
    ar.ReadExactBlock(rect);
    const auto [left, top, right, bottom] = UnpackInts<4>(rect);
    m_rcTarget = {left, top, right, bottom};
    std::array<uint8_t, 8> point{};
    ar.ReadExactBlock(point);
    const auto [x, y] = UnpackInts<2>(point);
    m_ptClickShift = {x, y};
    for (int32_t* reserved :
         {&m_nReserved1, &m_nReserved2, &m_nReserved3, &m_nReserved4, &m_nReserved5}) {
        *reserved = ar.ReadInt();
    }
    m_bmpTarget = StringToPicture(ar.ReadString());
    m_bmpArea = StringToPicture(ar.ReadString());
    for (std::u16string* text : {&m_strName, &m_strReserved1, &m_strReserved2, &m_strReserved3}) {
        *text = ar.ReadString();
    }
}
