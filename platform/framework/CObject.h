#pragma once
// The root of the layer's classes, and runtime classes: a class name plus a
// factory, so that templates and splitters can create documents, frames and
// views of a class they only know by its runtime class.

class CObject;

struct CRuntimeClass {
    const char* m_lpszClassName;
    CObject* (*m_pfnCreateObject)();
    const CRuntimeClass* m_pBaseClass;

    CObject* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
    bool IsDerivedFrom(const CRuntimeClass* base) const
    {
        for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass)
            if (c == base)
                return true;
        return false;
    }
};

class CObject {
public:
    virtual ~CObject() = default;
    static const CRuntimeClass classCObject;
    virtual const CRuntimeClass* GetRuntimeClass() const { return &classCObject; }
    bool IsKindOf(const CRuntimeClass* c) const { return GetRuntimeClass()->IsDerivedFrom(c); }
};

inline const CRuntimeClass CObject::classCObject = {"CObject", nullptr, nullptr};

#define RUNTIME_CLASS(name) (&name::class##name)

// In the class body: a runtime class without a factory, or with one.
#define DECLARE_DYNAMIC(name)                                                                   \
public:                                                                                         \
    static const CRuntimeClass class##name;                                                     \
    const CRuntimeClass* GetRuntimeClass() const override { return &class##name; }

#define DECLARE_DYNCREATE(name)                                                                 \
    DECLARE_DYNAMIC(name)                                                                       \
    static CObject* CreateObject();

// In one source file.
#define IMPLEMENT_DYNAMIC(name, base)                                                           \
    const CRuntimeClass name::class##name = {#name, nullptr, RUNTIME_CLASS(base)};

#define IMPLEMENT_DYNCREATE(name, base)                                                         \
    CObject* name::CreateObject() { return new name; }                                          \
    const CRuntimeClass name::class##name = {#name, &name::CreateObject, RUNTIME_CLASS(base)};
