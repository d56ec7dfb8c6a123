#include "SyntheticGame.h"
#include "framework/StringUtil.h"
#include "level/NameLists.h"
#include "level/QzlSections.h"
#include "level/TemplateList.h"
#include "level/TemplateParams.h"
#include "resources/GameIndex.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace {

using TemplateList = std::vector<std::unique_ptr<CQzlTemplate>>;

// Template entries from lines of the product's template file: name, based-on, parameter text.
TemplateList Templates(std::initializer_list<std::string_view> lines)
{
    TemplateList list;
    for (const std::string_view line : lines) {
        auto entry = std::make_unique<CQzlTemplate>();
        const std::size_t nameEnd = line.find(' ');
        entry->m_name = std::string(line.substr(0, nameEnd));
        std::string_view rest = nameEnd == std::string_view::npos ? "" : line.substr(nameEnd + 1);
        const std::size_t baseEnd = rest.find(' ');
        entry->m_basedOn = std::string(rest.substr(0, baseEnd));
        entry->m_params =
            baseEnd == std::string_view::npos ? "" : std::string(rest.substr(baseEnd + 1));
        bool found = false;
        entry->m_model = ParamValue(entry->m_params, "model3d=", found);
        list.push_back(std::move(entry));
    }
    return list;
}

std::string Names(const TemplateList& list)
{
    std::string names;
    for (const auto& entry : list)
        names += (names.empty() ? "" : ",") + entry->m_name;
    return names;
}

std::string Join(const std::vector<std::string>& list)
{
    std::string text;
    for (const std::string& entry : list)
        text += (text.empty() ? "" : ",") + entry;
    return text;
}

// Every list that parameter texts feed, in one line.
std::string Lists(const CQzlSections& level)
{
    std::string materials;
    for (const auto& material : level.m_materials)
        materials += (materials.empty() ? "" : ",") + material->m_name;
    return "models=" + Join(level.m_models) + " puppets=" + Join(level.m_puppets) +
           " soundclasses=" + Join(level.m_soundClasses) + " cogs=" + Join(level.m_cogScripts) +
           " ai=" + Join(level.m_aiClasses) + " sprites=" + Join(level.m_sprites) +
           " materials=" + materials;
}

}  // namespace

TEST(TemplateParams, CollectTemplateResources)
{
    struct Case {
        const char* params;
        const char* lists;
    };
    // The level starts with models b.3do, sprites z.spr, AI classes m.ai and the material
    // Stone.mat.
    const Case cases[] = {
        {"", "models=b.3do puppets= soundclasses= cogs= ai=m.ai sprites=z.spr materials=Stone.mat"},
        {"model3d=none", "models=b.3do puppets= soundclasses= cogs= ai=m.ai sprites=z.spr "
                         "materials=Stone.mat"},
        // Capitals are lower-cased; a new model goes to its sorted place, a new sprite to the end.
        {"model3d=A.3DO sprite=a.spr", "models=a.3do,b.3do puppets= soundclasses= cogs= ai=m.ai "
                                       "sprites=z.spr,a.spr materials=Stone.mat"},
        {"model3d=B.3do sprite=Z.SPR material=stone.mat",
         "models=b.3do puppets= soundclasses= cogs= ai=m.ai sprites=z.spr materials=Stone.mat"},
        {"size=0.1 puppet=hero.pup soundclass=hero.snd cog=door.cog aiclass=a.ai "
         "material=glass.mat",
         "models=b.3do puppets=hero.pup soundclasses=hero.snd cogs=door.cog ai=a.ai,m.ai "
         "sprites=z.spr materials=Stone.mat,glass.mat"},
        {"aiclass=z.ai\tmodel3d=c.3do", "models=b.3do,c.3do puppets= soundclasses= cogs= "
                                        "ai=m.ai,z.ai sprites=z.spr materials=Stone.mat"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.params);
        CQzlSections level;
        level.m_models = {"b.3do"};
        level.m_sprites = {"z.spr"};
        level.m_aiClasses = {"m.ai"};
        level.m_materials.push_back(std::make_unique<CQzlMaterial>("Stone.mat"));
        CollectTemplateResources(level, c.params);
        EXPECT_EQ(Lists(level), c.lists);
        EXPECT_EQ(level.m_materials.back()->m_xTile, 1.0f);
    }
}

TEST(TemplateParams, GetReferencedTemplates)
{
    struct Case {
        const char* params;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"", {}},
        {"model3d=a.3do size=0.1", {}},
        {"fire=+bolt\tburst=+flash", {"+bolt", "+flash"}},
        {"debris=chunk explode=boom", {"chunk", "boom"}},
        // A value that begins with a plus sign is named once.
        {"explode=+boom", {"+boom"}},
        // References keep the order of the text, whichever key comes first.
        {"explode=boom debris=chunk", {"boom", "chunk"}},
        {"creatething=ghost fire=+bolt fleshhit=+blood", {"ghost", "+bolt", "+blood"}},
        {"fleshhit=red xdebris=bits", {"red", "bits"}},
        {"debris=", {""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.params);
        std::vector<std::string> names{"kept"};
        GetReferencedTemplates(c.params, names);
        std::vector<std::string> expected{"kept"};
        expected.insert(expected.end(), c.names.begin(), c.names.end());
        EXPECT_EQ(names, expected);
    }
}

TEST(TemplateParams, CollectTemplateRefsPutsDependenciesFirst)
{
    const TemplateList master = Templates({
        "_base none model3d=none",
        "_weapon _base model3d=gun.3do",
        "+bolt _base explode=+boom",
        "+boom _base debris=+chunk",
        "+chunk _base",
        "blaster _weapon fire=+bolt creatething=Ghost",
        "ghost _base",
        "Loner none",
    });
    struct Case {
        const char* name;
        const char* order;
    };
    const Case cases[] = {
        {"_weapon", "_base,_weapon"},
        {"BLASTER", "_base,_weapon,+chunk,+boom,+bolt,ghost,blaster"},
        {"loner", "Loner"},
        {"missing", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CQzlSections level;
        CollectTemplateRefs(level, master, c.name);
        EXPECT_EQ(Names(level.m_templates), c.order);
    }

    // A copy takes name, based-on, parameters and model of the master entry.
    CQzlSections level;
    CollectTemplateRefs(level, master, "_weapon");
    ASSERT_EQ(level.m_templates.size(), 2u);
    EXPECT_EQ(level.m_templates[1]->m_basedOn, "_base");
    EXPECT_EQ(level.m_templates[1]->m_params, "model3d=gun.3do");
    EXPECT_EQ(level.m_templates[1]->m_model, "gun.3do");
}

TEST(TemplateParams, CollectTemplateRefsRefreshesWithoutDuplicates)
{
    const TemplateList master = Templates({
        "_base none",
        "door _base model3d=door.3do",
    });
    CQzlSections level;
    level.m_templates = Templates({"other none", "DOOR old_base model3d=old.3do", "_BASE x y"});
    CollectTemplateRefs(level, master, "door");
    CollectTemplateRefs(level, master, "door");
    EXPECT_EQ(Names(level.m_templates), "other,DOOR,_BASE");
    EXPECT_EQ(level.m_templates[1]->m_basedOn, "_base");
    EXPECT_EQ(level.m_templates[1]->m_params, "model3d=door.3do");
    EXPECT_EQ(level.m_templates[2]->m_basedOn, "none");
    EXPECT_EQ(level.m_templates[2]->m_params, "");
}

TEST(TemplateParams, CollectTemplateRefsEndsReferenceCycles)
{
    const TemplateList master = Templates({
        "self none creatething=self",
        "a b",
        "b none explode=c",
        "c none fire=+d",
        "+d none fleshhit=a",
        "loop loop",
        "x y",
        "y x debris=x",
    });
    struct Case {
        const char* name;
        const char* order;
    };
    const Case cases[] = {
        {"self", "self"}, {"a", "+d,c,b,a"}, {"c", "b,a,+d,c"}, {"loop", "loop"}, {"x", "y,x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CQzlSections level;
        CollectTemplateRefs(level, master, c.name);
        EXPECT_EQ(Names(level.m_templates), c.order);
    }
}

TEST(TemplateParams, CollectTemplateRefsOverTheCyclicTestList)
{
    const TemplateList master = ReadTemplateList(SyntheticCyclicTemplateList());
    CQzlSections level;
    for (const auto& entry : master)
        CollectTemplateRefs(level, master, entry->m_name);
    // Every template once, each after its base wherever the base is not part of a cycle.
    EXPECT_EQ(Names(level.m_templates), "_base,+loopd,+loopc,loopb,loopa,self,safe");
}

TEST(TemplateParams, ReleaseParamResource)
{
    struct Case {
        const char* params;
        const char* levelParams;  // the parameter text of the one template the level keeps
        const char* models;       // the list afterwards
    };
    const Case cases[] = {
        {"model3d=b.3do", "model3d=c.3do", "a.3do,c.3do"},
        {"model3d=b.3do", "model3d=b.3do", "a.3do,b.3do,c.3do"},
        {"model3d=x.3do", "", "a.3do,b.3do,c.3do"},
        {"size=0.1", "", "a.3do,b.3do,c.3do"},
        {"model3d=none", "", "a.3do,b.3do,c.3do"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.params) + " / " + c.levelParams);
        CQzlSections level;
        level.m_templates = Templates({"keeper none"});
        level.m_templates[0]->m_params = c.levelParams;
        std::vector<std::string> models{"a.3do", "b.3do", "c.3do"};
        ReleaseParamResource(level, c.params, "model3d=", models);
        EXPECT_EQ(Join(models), c.models);
    }

    CQzlSections level;
    std::vector<std::string> sprites{"s.spr"};
    ReleaseTemplateResource(level, sprites, "sprite=", "sprite=S.SPR");
    EXPECT_TRUE(sprites.empty());
}

TEST(TemplateParams, FindTemplateWithParam)
{
    CQzlSections level;
    level.m_templates =
        Templates({"door none model3d=door.3do mass=5", "Lift none sound=lift.snd"});
    EXPECT_EQ(FindTemplateWithParam(level, "DOOR", "mass="), 1);
    EXPECT_EQ(FindTemplateWithParam(level, "lift", "sound="), 1);
    EXPECT_EQ(FindTemplateWithParam(level, "door", "MASS="), 0);
    EXPECT_EQ(FindTemplateWithParam(level, "door", "sound="), 0);
    EXPECT_EQ(FindTemplateWithParam(level, "gate", "mass="), 0);
}
