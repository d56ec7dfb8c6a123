#pragma once
// Archive helpers shared by the level records: vectors and boxes as raw floats, and the schema
// check of a record being loaded.

#include "framework/Archive.h"
#include "math/BoundingBox.h"
#include "math/Vector3.h"

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
