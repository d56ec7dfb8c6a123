#pragma once
// Opening a level file of either form: the editor's archive form (.qze, the autosave file) or the
// game's text level (.qzl). The form is taken from the file's content, so that a level opens
// whatever its name (a "level.qzl.bak" holding text is a text level).

#include "level/QzeFile.h"

#include <cstdint>
#include <filesystem>
#include <span>

enum class ELevelForm {
    archive,  // begins with the archive's tag: a length byte and "QZ"
    text,     // text: no byte 0 and no control characters but tab, line and page ends
};

// The form of a level file's content. What is neither is given to the archive reader, whose
// message then says what is wrong.
ELevelForm LevelFormOf(std::span<const std::uint8_t> bytes);

struct CLevelFile {
    ELevelForm m_form = ELevelForm::archive;
    // The level; the version and the document's fields only from the archive form (a text level
    // carries none: version 0 and the fields empty).
    CQzeContents m_contents;
};

// Reads the level file at path in the form its content has (product 1 reads the text of the
// expansion). Throws CFileException when the file cannot be read (also when path is no regular
// file) and CArchiveException when its content is not a whole level, with a message for the user:
// a text level cut short, or text without the game's level section, is refused as well.
CLevelFile LoadLevelFile(const std::filesystem::path& path, int product);
