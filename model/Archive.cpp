// Buffered reading and writing of values, strings and object records.
#include "model/Archive.h"

#include <algorithm>
#include <bit>
#include <cstring>

// Strings go to and from the file as raw UTF-16LE blocks.
static_assert(std::endian::native == std::endian::little);

namespace {

constexpr uint16_t kNewClassTag = 0xFFFF;
constexpr uint16_t kClassTagBit = 0x8000;
constexpr uint16_t kBigObjectTag = 0x7FFF;
constexpr uint32_t kBigClassTagBit = 0x80000000;
constexpr uint16_t kMaxClassNameBytes = 64;

}  // namespace

CArchive::CArchive(CByteSink& sink, std::filesystem::path path)
    : m_pSink(&sink), m_path(std::move(path)) {}

CArchive::CArchive(CByteSource& source, std::filesystem::path path,
                   const CRuntimeClassTable& classes)
    : m_pSource(&source), m_pClasses(&classes), m_path(std::move(path)) {}

void CArchive::Fail(FileErrorKind kind) const {
    throw CFileException(kind, m_path);
}

// ---- storing ----

void CArchive::Put(const void* src, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(src);
    while (size > 0) {
        if (m_nBufEnd == kBufferSize) {
            Flush();
        }
        const size_t count = std::min(size, kBufferSize - m_nBufEnd);
        std::memcpy(m_buffer.data() + m_nBufEnd, bytes, count);
        m_nBufEnd += count;
        bytes += count;
        size -= count;
    }
}

void CArchive::Flush() {
    if (m_pSink != nullptr && m_nBufEnd > 0) {
        m_pSink->Write(m_buffer.data(), m_nBufEnd);
    }
    m_nBufEnd = 0;
}

void CArchive::WriteWord(uint16_t value) {
    const uint8_t bytes[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
    Put(bytes, sizeof bytes);
}

void CArchive::WriteDword(uint32_t value) {
    const uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                              static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    Put(bytes, sizeof bytes);
}

void CArchive::WriteInt(int32_t value) {
    WriteDword(static_cast<uint32_t>(value));
}

void CArchive::WriteBlock(std::span<const uint8_t> bytes) {
    Put(bytes.data(), bytes.size());
}

void CArchive::WriteCount(uint32_t count) {
    if (count < 0xFFFF) {
        WriteWord(static_cast<uint16_t>(count));
    } else {
        WriteWord(0xFFFF);
        WriteDword(count);
    }
}

void CArchive::WriteString(std::u16string_view text) {
    WriteInt(static_cast<int32_t>(text.size()));
    Put(text.data(), text.size() * sizeof(char16_t));
}

void CArchive::WriteObject(CObject& object) {
    const CRuntimeClass& runtimeClass = object.GetRuntimeClass();
    const auto known =
        std::find_if(m_storedClasses.begin(), m_storedClasses.end(),
                     [&](const auto& entry) { return entry.first == &runtimeClass; });
    if (known == m_storedClasses.end()) {
        WriteWord(kNewClassTag);
        WriteWord(runtimeClass.m_wSchema);
        WriteWord(static_cast<uint16_t>(runtimeClass.m_strClassName.size()));
        Put(runtimeClass.m_strClassName.data(), runtimeClass.m_strClassName.size());
        m_storedClasses.emplace_back(&runtimeClass, m_nNextStoreIndex++);
    } else if (known->second < kBigObjectTag) {
        WriteWord(static_cast<uint16_t>(kClassTagBit | known->second));
    } else {
        WriteWord(kBigObjectTag);
        WriteDword(kBigClassTagBit | known->second);
    }
    ++m_nNextStoreIndex;  // the object's own index
    object.Serialize(*this);
}

// ---- loading ----

bool CArchive::FillBuffer() {
    if (m_pSource == nullptr) {
        return false;
    }
    m_nBufPos = 0;
    m_nBufEnd = m_pSource->Read(m_buffer.data(), kBufferSize);
    return m_nBufEnd > 0;
}

size_t CArchive::Take(void* dest, size_t size) {
    auto* bytes = static_cast<uint8_t*>(dest);
    size_t taken = 0;
    while (taken < size) {
        if (m_nBufPos == m_nBufEnd && !FillBuffer()) {
            break;
        }
        const size_t count = std::min(size - taken, m_nBufEnd - m_nBufPos);
        std::memcpy(bytes + taken, m_buffer.data() + m_nBufPos, count);
        m_nBufPos += count;
        taken += count;
    }
    return taken;
}

void CArchive::TakeExact(void* dest, size_t size) {
    if (Take(dest, size) != size) {
        Fail(FileErrorKind::EndOfFile);
    }
}

uint64_t CArchive::BytesLeft() const {
    return (m_nBufEnd - m_nBufPos) + (m_pSource != nullptr ? m_pSource->BytesLeft() : 0);
}

bool CArchive::PeekEquals(std::span<const uint8_t> prefix) {
    if (prefix.size() > kBufferSize) {
        return false;
    }
    // Move what is left to the front and top the buffer up so the prefix can be seen whole.
    if (m_nBufEnd - m_nBufPos < prefix.size()) {
        std::memmove(m_buffer.data(), m_buffer.data() + m_nBufPos, m_nBufEnd - m_nBufPos);
        m_nBufEnd -= m_nBufPos;
        m_nBufPos = 0;
        while (m_nBufEnd < prefix.size() && m_pSource != nullptr) {
            const size_t count =
                m_pSource->Read(m_buffer.data() + m_nBufEnd, kBufferSize - m_nBufEnd);
            if (count == 0) {
                break;
            }
            m_nBufEnd += count;
        }
    }
    return m_nBufEnd - m_nBufPos >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), m_buffer.begin() + m_nBufPos);
}

uint16_t CArchive::ReadWord() {
    uint8_t bytes[2];
    TakeExact(bytes, sizeof bytes);
    return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

uint32_t CArchive::ReadDword() {
    uint8_t bytes[4];
    TakeExact(bytes, sizeof bytes);
    return uint32_t{bytes[0]} | (uint32_t{bytes[1]} << 8) | (uint32_t{bytes[2]} << 16) |
           (uint32_t{bytes[3]} << 24);
}

int32_t CArchive::ReadInt() {
    return static_cast<int32_t>(ReadDword());
}

size_t CArchive::ReadBlock(std::span<uint8_t> dest) {
    return Take(dest.data(), dest.size());
}

void CArchive::ReadExactBlock(std::span<uint8_t> dest) {
    TakeExact(dest.data(), dest.size());
}

uint32_t CArchive::ReadCount() {
    const uint16_t word = ReadWord();
    return word != 0xFFFF ? word : ReadDword();
}

std::u16string CArchive::ReadString() {
    return ReadStringOfLength(ReadInt());
}

std::u16string CArchive::ReadStringOfLength(int32_t length) {
    if (length < 0) {
        Fail(FileErrorKind::InvalidArgument);
    }
    // A damaged length must not make us allocate more than the file could still hold.
    const uint64_t available = BytesLeft() / 2;
    const size_t units = static_cast<size_t>(std::min<uint64_t>(available, uint64_t(length)));
    std::u16string text(units, u'\0');
    const size_t bytes = Take(text.data(), units * sizeof(char16_t));
    // A half unit at the very end belongs to no character.
    text.resize(bytes / sizeof(char16_t));
    if (const size_t zero = text.find(u'\0'); zero != std::u16string::npos) {
        text.resize(zero);
    }
    return text;
}

const CRuntimeClass& CArchive::ReadClassDescription(const CRuntimeClass& expected) {
    const uint16_t schema = ReadWord();
    const uint16_t nameLength = ReadWord();
    if (nameLength >= kMaxClassNameBytes) {
        Fail(FileErrorKind::BadClass);
    }
    char name[kMaxClassNameBytes];
    if (Take(name, nameLength) != nameLength) {
        Fail(FileErrorKind::BadClass);
    }
    const CRuntimeClass* found = m_pClasses->Find(std::string_view(name, nameLength));
    if (found == nullptr || found != &expected) {
        Fail(FileErrorKind::BadClass);
    }
    if (schema != found->m_wSchema) {
        Fail(FileErrorKind::BadSchema);
    }
    m_loadIndex.push_back({found});
    return *found;
}

const CRuntimeClass& CArchive::ClassAtIndex(uint32_t index, const CRuntimeClass& expected) const {
    if (index == 0 || index > m_loadIndex.size() || m_loadIndex[index - 1].m_pClass == nullptr) {
        Fail(FileErrorKind::BadFormat);
    }
    const CRuntimeClass& runtimeClass = *m_loadIndex[index - 1].m_pClass;
    if (&runtimeClass != &expected) {
        Fail(FileErrorKind::BadClass);
    }
    return runtimeClass;
}

std::unique_ptr<CObject> CArchive::ReadObject(const CRuntimeClass& expected) {
    const uint16_t tag = ReadWord();
    const CRuntimeClass* runtimeClass = nullptr;
    if (tag == kNewClassTag) {
        runtimeClass = &ReadClassDescription(expected);
    } else if (tag == kBigObjectTag) {
        const uint32_t bigTag = ReadDword();
        if ((bigTag & kBigClassTagBit) == 0) {
            Fail(FileErrorKind::BadFormat);  // a reference to an old object, not a new one
        }
        runtimeClass = &ClassAtIndex(bigTag & ~kBigClassTagBit, expected);
    } else if ((tag & kClassTagBit) != 0) {
        runtimeClass = &ClassAtIndex(tag & ~kClassTagBit, expected);
    } else {
        Fail(FileErrorKind::BadFormat);  // null or an object already read: never a new object
    }
    std::unique_ptr<CObject> object = runtimeClass->m_pfnCreateObject();
    m_loadIndex.push_back({nullptr});
    object->Serialize(*this);
    return object;
}
