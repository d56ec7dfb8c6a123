#pragma once
// The record classes that an archive of level data may create: the object list, the nine level
// records and the resource index. Every archive of level data is created with this registry.

#include "framework/Object.h"

const CClassRegistry& LevelClassRegistry();
