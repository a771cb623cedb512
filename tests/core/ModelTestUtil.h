// Helpers shared by the model tests: building lists and moving them through memory.
#pragma once

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/PixelBuffer.h"
#include "model/ByteStream.h"
#include "model/TargetListFile.h"

inline PixelBuffer RandomPicture(int32_t width, int32_t height, uint32_t seed) {
    PixelBuffer picture(width, height);
    std::mt19937 random(seed);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            picture.Set(x, y, random() & 0x00FFFFFF);
        }
    }
    return picture;
}

inline std::unique_ptr<CTargetObj> MakeTarget(const std::u16string& name, int32_t width,
                                              int32_t height, uint32_t seed) {
    auto target = std::make_unique<CTargetObj>();
    target->m_strName = name;
    target->m_bmpTarget = CPicture(RandomPicture(width, height, seed));
    target->m_bmpArea = CPicture(RandomPicture(100, 100, seed + 1));
    target->m_rcTarget = {10, 20, 10 + width, 20 + height};
    target->m_ptClickShift = {3, -4};
    return target;
}

inline std::vector<uint8_t> WriteToBytes(CTargetObjList& list) {
    CMemorySink sink;
    WriteTargetList(list, sink, "memory.trvk");
    return sink.TakeBytes();
}

inline std::unique_ptr<CTargetObjList> ReadFromBytes(const std::vector<uint8_t>& bytes) {
    CMemorySource source(bytes);
    return ReadTargetList(source, "/lists/damaged.trvk");
}

// Little-endian builders for hand-made files.
inline void PutWord(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

inline void PutDword(std::vector<uint8_t>& out, uint32_t value) {
    PutWord(out, static_cast<uint16_t>(value));
    PutWord(out, static_cast<uint16_t>(value >> 16));
}

inline void PutAscii(std::vector<uint8_t>& out, const std::string& text) {
    out.insert(out.end(), text.begin(), text.end());
}

inline void PutString(std::vector<uint8_t>& out, const std::u16string& text) {
    PutDword(out, static_cast<uint32_t>(text.size()));
    for (const char16_t unit : text) {
        PutWord(out, unit);
    }
}
