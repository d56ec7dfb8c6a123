#pragma once
// Builds expected archive bytes by hand, and stores and loads level records through archives of
// the level class registry.

#include "ByteBuilder.h"

#include "framework/Archive.h"
#include "level/LevelClassRegistry.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The object form of obj in a fresh storing archive.
inline Bytes StoreObject(const CObject& obj)
{
    CArchive ar(LevelClassRegistry());
    ar.WriteObject(&obj);
    return ar.TakeBuffer();
}

// Reads one object of class T from bytes, which must be consumed entirely.
template <class T>
std::unique_ptr<T> LoadObject(const Bytes& bytes)
{
    CArchive ar(LevelClassRegistry(), bytes);
    auto obj = ar.ReadObjectOf<T>();
    EXPECT_TRUE(ar.AtEnd());
    return obj;
}

// The cause of the archive exception that read throws on bytes (fails the test when none).
template <class F>
CArchiveException::Cause LoadFailure(const Bytes& bytes, F read)
{
    CArchive ar(LevelClassRegistry(), bytes);
    try {
        read(ar);
    } catch (const CArchiveException& e) {
        EXPECT_STRNE(e.what(), "");
        return e.GetCause();
    }
    ADD_FAILURE() << "no exception";
    return CArchiveException::badFormat;
}
