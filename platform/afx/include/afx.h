// MFC-style framework over the Win32 API ("afx"): the object root with run-time class
// information. Each module that links the framework has its own copy of it (see afxstat_.h).
#pragma once
#include <windows.h>

#include "atltypes.h"

class CObject;

// Run-time class information: a name and the base class, one static record per class.
struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    CRuntimeClass* (*m_pfnGetBaseClass)(); // null for CObject

    CRuntimeClass* GetBaseClass() const { return m_pfnGetBaseClass ? m_pfnGetBaseClass() : nullptr; }
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
};

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

// clang-format off
#define DECLARE_DYNAMIC(class_name)                                                                          \
public:                                                                                                      \
    static CRuntimeClass class##class_name;                                                                  \
    static CRuntimeClass* GetThisClass();                                                                    \
    CRuntimeClass* GetRuntimeClass() const override;

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                                       \
    CRuntimeClass class_name::class##class_name = {#class_name, static_cast<int>(sizeof(class_name)),        \
                                                   &base_class_name::GetThisClass};                          \
    CRuntimeClass* class_name::GetThisClass() { return &class_name::class##class_name; }                     \
    CRuntimeClass* class_name::GetRuntimeClass() const { return &class_name::class##class_name; }
// clang-format on

class CObject {
public:
    static CRuntimeClass classCObject;
    static CRuntimeClass* GetThisClass();
    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() = default;

    BOOL IsKindOf(const CRuntimeClass* pClass) const;

    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;

protected:
    CObject() = default;
};

// The object as T when it is one (by its run-time class), else null.
template <class T> T* AfxDynamicDownCast(CObject* pObject) {
    return pObject && pObject->IsKindOf(RUNTIME_CLASS(T)) ? static_cast<T*>(pObject) : nullptr;
}
#define DYNAMIC_DOWNCAST(class_name, object) AfxDynamicDownCast<class_name>(object)
