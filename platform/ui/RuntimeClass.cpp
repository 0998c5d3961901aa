#include "platform/ui/RuntimeClass.h"

#include <cstring>
#include <map>
#include <string>

namespace {

std::map<std::string, CRuntimeClass*>& classesByName() {
    static std::map<std::string, CRuntimeClass*> classes;
    return classes;
}

CRuntimeClass* noBaseClass() {
    return nullptr;
}

} // namespace

CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), nullptr,
                                       &noBaseClass};

CRuntimeClass* CObject::GetThisClass() {
    return &classCObject;
}

CRuntimeClass* CObject::GetRuntimeClass() const {
    return &classCObject;
}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const {
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

CObject* CRuntimeClass::CreateObject() const {
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
    if (!pBaseClass)
        return FALSE;
    for (const CRuntimeClass* record = this; record;
         record = record->m_pfnGetBaseClass ? record->m_pfnGetBaseClass() : nullptr) {
        if (record == pBaseClass)
            return TRUE;
    }
    return FALSE;
}

CRuntimeClass* CRuntimeClass::FromName(const char* lpszClassName) {
    if (!lpszClassName)
        return nullptr;
    auto found = classesByName().find(lpszClassName);
    return found == classesByName().end() ? nullptr : found->second;
}

lumo::ClassRegistration::ClassRegistration(CRuntimeClass* record) {
    classesByName()[record->m_lpszClassName] = record;
}
