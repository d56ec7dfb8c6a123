#include "support/OpenedLevel.h"

#include "engine/RenderData.h"
#include "level/LevelFile.h"
#include "level/QzeFile.h"
#include "support/FixtureLevels.h"

#include <utility>

std::vector<std::uint8_t> OpenedLevelBytes(const std::filesystem::path& path)
{
    CLevelFile file = LoadLevelFile(path, 0);
    CFixtureEngine engine(std::move(file.m_contents.m_level));
    RebuildAll(engine.m_view, true);
    return WriteQzeBytes(engine.m_level, file.m_contents.m_document);
}
