#pragma once
// The level part of the editor's archive (.qze, sector libraries, autosave, undo snapshots):
// the container written member by member, tagged "QZ" + version digit.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class CArchive;
class CQzlSections;

constexpr int kLevelArchiveVersion = 5;

// Stores (version 5, tag "QZ5") or loads the level part of an archive. On load the seven record
// lists and every other stored member are replaced and files of older versions are converted; the
// out version is the file's. The archive must have been made with LevelClassRegistry(). Throws
// CArchiveException on malformed input; the container is then partly replaced, so callers load
// into a fresh container (ReadLevelArchive does).
void SerializeLevel(CQzlSections& level, CArchive& ar, int& version);

// Parses the version number of a tag: the decimal number after the first two characters, as atoi
// reads it (a tag of only two letters gives 0).
int LevelTagVersion(const std::string& tag);
