#pragma once
// Serialisable objects: a run-time class record (name, schema, factory) per record class and a
// registry that the archive uses to resolve the class names it reads.

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

class CArchive;
class CObject;

struct CRuntimeClass {
    const char* m_lpszClassName;                      // exact class name as stored in archives
    std::uint16_t m_wSchema;                          // newest schema, the one written
    std::unique_ptr<CObject> (*m_pfnCreateObject)();  // null for pseudo-classes (CObArray)
};

class CObject {
public:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
    CObject(CObject&&) = default;
    CObject& operator=(CObject&&) = default;
    virtual ~CObject() = default;

    virtual const CRuntimeClass& GetRuntimeClass() const = 0;
    virtual void Serialize(CArchive& ar);
};

// The object-list pseudo-class of the archive format: class name "CObArray", schema 0.
extern const CRuntimeClass g_classCObArray;

// The set of classes an archive may create while loading.
class CClassRegistry {
public:
    void Add(const CRuntimeClass& cls);
    const CRuntimeClass* Find(std::string_view name) const;  // exact, case-sensitive

private:
    std::vector<const CRuntimeClass*> m_classes;
};

// Declares the run-time class of a serialisable record. Use inside the class body.
#define QZ_DECLARE_SERIAL(ClassName)                      \
public:                                                   \
    static const CRuntimeClass& StaticClass();            \
    const CRuntimeClass& GetRuntimeClass() const override \
    {                                                     \
        return StaticClass();                             \
    }

// Defines the run-time class in one .cpp file.
#define QZ_IMPLEMENT_SERIAL(ClassName, schema)                                           \
    const CRuntimeClass& ClassName::StaticClass()                                        \
    {                                                                                    \
        static const CRuntimeClass cls{                                                  \
            #ClassName, static_cast<std::uint16_t>(schema),                              \
            []() -> std::unique_ptr<CObject> { return std::make_unique<ClassName>(); }}; \
        return cls;                                                                      \
    }
