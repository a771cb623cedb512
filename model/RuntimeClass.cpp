// The table of serialisable classes.
#include "model/RuntimeClass.h"

void CRuntimeClassTable::Register(const CRuntimeClass& runtimeClass) {
    if (Find(runtimeClass.m_strClassName) == nullptr) {
        m_classes.push_back(&runtimeClass);
    }
}

const CRuntimeClass* CRuntimeClassTable::Find(std::string_view name) const {
    for (const CRuntimeClass* runtimeClass : m_classes) {
        if (runtimeClass->m_strClassName == name) {
            return runtimeClass;
        }
    }
    return nullptr;
}
