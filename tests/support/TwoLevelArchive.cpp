#include "support/TwoLevelArchive.h"

#include "level/GameResources.h"
#include "level/QzlWriter.h"
#include "support/FixtureLevels.h"

#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> Bytes(std::string_view text)
{
    return {text.begin(), text.end()};
}

}  // namespace

CGobArchive MakeTwoLevelArchive()
{
    const CGameResources game;
    CQzlSections a = MakeBoxRoom();
    AddCog(a, "door.cog", {});
    a.m_cogScripts.push_back("door.cog");
    CQzlSections b = MakeTwoJoinedRooms();
    AddCog(b, "lift.cog", {});
    b.m_cogScripts.push_back("lift.cog");
    CGobArchive archive;
    archive.Add("qzl\\a.qzl", Bytes(WriteQzl(a, game, 0)));
    archive.Add("qzl\\b.qzl", Bytes(WriteQzl(b, game, 0)));
    archive.Add("cog\\door.cog", Bytes("door"));
    archive.Add("cog\\lift.cog", Bytes("lift!"));
    archive.Add("mat\\wall.mat", Bytes("wall"));
    return archive;
}
