#pragma once
// Archive helpers shared by the level records: vectors and boxes as raw floats, and the schema
// check of a record being loaded.

#include "framework/Archive.h"
#include "geometry/BoundingBox.h"
#include "geometry/Vector3.h"

#include <cstdint>
#include <string>

inline void WriteVector3(CArchive& ar, const CVector3& v)
{
    ar.WriteFloat(v.x);
    ar.WriteFloat(v.y);
    ar.WriteFloat(v.z);
}

inline CVector3 ReadVector3(CArchive& ar)
{
    CVector3 v;
    v.x = ar.ReadFloat();
    v.y = ar.ReadFloat();
    v.z = ar.ReadFloat();
    return v;
}

inline void WriteBox(CArchive& ar, const CBoundingBox& box)
{
    WriteVector3(ar, box.min);
    WriteVector3(ar, box.max);
}

inline CBoundingBox ReadBox(CArchive& ar)
{
    CBoundingBox box;
    box.min = ReadVector3(ar);
    box.max = ReadVector3(ar);
    return box;
}

// The stored schema of the record whose Serialize is loading. Must be called before any nested
// object is read. A schema this program does not know (0, or newer than cls writes) is refused.
inline std::uint16_t LoadedSchema(const CArchive& ar, const CRuntimeClass& cls)
{
    const std::uint16_t schema = ar.GetObjectSchema();
    if (schema == 0 || schema > cls.m_wSchema)
        throw CArchiveException(CArchiveException::badSchema, std::string(cls.m_lpszClassName) +
                                                                  ": unknown schema " +
                                                                  std::to_string(schema));
    return schema;
}
