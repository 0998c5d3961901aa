#pragma once

#include "platform/core/types.h"
#include "platform/ui/UiExport.h"

class CObject;

// A class record: the class name, its base record and, for classes declared
// with DECLARE_DYNCREATE, a factory. Records are static objects that live for
// the whole run; compare them by address.
struct PLATFORMUI_API CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    CObject* (*m_pfnCreateObject)();
    CRuntimeClass* (*m_pfnGetBaseClass)();

    // A new object of this class, or null when the class cannot be created
    // dynamically (no DECLARE_DYNCREATE). The caller owns the object.
    CObject* CreateObject() const;
    // True when this class is pBaseClass or derives from it (null: false).
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
    // The record of a class with this name among the classes that declared
    // dynamic creation and have been linked in; null when unknown.
    static CRuntimeClass* FromName(const char* lpszClassName);
};

// The root of the framework's classes: a virtual destructor and the class
// record, so that kind tests work on any framework object.
class PLATFORMUI_API CObject {
public:
    virtual ~CObject() = default;
    virtual CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* pClass) const;

    static CRuntimeClass classCObject;
    static CRuntimeClass* GetThisClass();

protected:
    CObject() = default;
};

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

namespace lumo {
// Keeps records of dynamically creatable classes findable by name.
struct PLATFORMUI_API ClassRegistration {
    explicit ClassRegistration(CRuntimeClass* record);
};
} // namespace lumo

// Declares the class record (kind tests).
#define DECLARE_DYNAMIC(class_name)                                                                \
public:                                                                                            \
    static CRuntimeClass class##class_name;                                                        \
    static CRuntimeClass* GetThisClass();                                                          \
    CRuntimeClass* GetRuntimeClass() const override;

// Declares the class record and a factory (the class needs a default constructor).
#define DECLARE_DYNCREATE(class_name)                                                              \
    DECLARE_DYNAMIC(class_name)                                                                    \
    static CObject* CreateObject();

#define LUMO_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, pfnNew)                           \
    CRuntimeClass class_name::class##class_name = {#class_name,                                    \
                                                   static_cast<int>(sizeof(class_name)), pfnNew,   \
                                                   &base_class_name::GetThisClass};                \
    CRuntimeClass* class_name::GetThisClass() {                                                    \
        return &class_name::class##class_name;                                                     \
    }                                                                                              \
    CRuntimeClass* class_name::GetRuntimeClass() const {                                           \
        return &class_name::class##class_name;                                                     \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                             \
    LUMO_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                           \
    CObject* class_name::CreateObject() {                                                          \
        return new class_name;                                                                     \
    }                                                                                              \
    LUMO_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, &class_name::CreateObject)            \
    static ::lumo::ClassRegistration lumo_registration_##class_name(&class_name::class##class_name);
