// Serialisable objects: the base class and the table of classes the reader may create.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

class CArchive;
class CObject;

// One serialisable class: its name in files, its schema number and how to make an empty one.
struct CRuntimeClass {
    std::string_view m_strClassName;
    uint16_t m_wSchema;
    std::unique_ptr<CObject> (*m_pfnCreateObject)();
};

class CObject {
public:
    virtual ~CObject() = default;
    virtual const CRuntimeClass& GetRuntimeClass() const = 0;
    virtual void Serialize(CArchive& ar) = 0;
};

// The classes a reader may meet, looked up by name. Filled before the first read.
class CRuntimeClassTable {
public:
    void Register(const CRuntimeClass& runtimeClass);
    // The class of that name, or null when none is registered.
    const CRuntimeClass* Find(std::string_view name) const;

private:
    std::vector<const CRuntimeClass*> m_classes;
};
