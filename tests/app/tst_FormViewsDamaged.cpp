// The Sector, Surface and Things forms shown for every element of each damaged level the editor
// opens: an index beyond its list shows as none (an empty name), a number field shows the stored
// number, showing changes nothing, and an edit of another field keeps the damaged index for Clean
// Up to repair.

#include "FormViewTestSupport.h"

#include "app/SectorView.h"
#include "app/SurfaceView.h"
#include "app/ThingsView.h"
#include "framework/Indices.h"
#include "framework/StringUtil.h"
#include "level/QzlAdjoin.h"
#include "level/QzlMaterial.h"
#include "level/QzlSector.h"
#include "level/QzlThing.h"
#include "support/DamagedLevelTests.h"
#include "support/DamagedLevels.h"

#include <QPushButton>

#include <string>
#include <vector>

namespace {

// The name of index in names, lower case; empty for an index the list does not hold.
template <typename List, typename Name>
QString ShownName(const List& names, int index, Name name)
{
    if (!InRange(names, index))
        return {};
    return QString::fromStdString(ToLowerAscii(name(At(names, index))));
}

class FormViewsDamaged : public FormViewTest {};

}  // namespace

TEST_F(FormViewsDamaged, SectorFormShowsABadColorMapOrSoundAsNone)
{
    Start(MakeUndamagedLevel());
    for (const CDamagedLevel& damage : OpenedDamagedLevels()) {
        SCOPED_TRACE(damage.m_name);
        Reload(MakeDamagedLevel(damage));
        CQzlSections& level = *m_doc->m_level;
        QWidget& view = Pane(0);
        ASSERT_NE(dynamic_cast<CSectorView*>(&view), nullptr);
        const std::vector<std::int32_t> stored = StoredIndices(level);
        for (int s = 0; s < static_cast<int>(level.m_sectors.size()); ++s) {
            Select(s);
            const CQzlSector& sector = *At(level.m_sectors, s);
            const auto same = [](const std::string& n) { return n; };
            EXPECT_EQ(Text(view, Ctl::kSectorNumber), QString::number(s));
            EXPECT_EQ(Text(view, Ctl::kSectorColorMap),
                      ShownName(level.m_colormaps, sector.m_colormap, same));
            EXPECT_EQ(Text(view, Ctl::kSectorSound),
                      ShownName(level.m_sounds, sector.m_sound, same));
            EXPECT_TRUE(Enabled(view, Ctl::kSectorExtraLight));
        }
        EXPECT_EQ(StoredIndices(level), stored);
        EXPECT_FALSE(m_doc->IsModified());
        // An edit of the extra light writes it and nothing else.
        for (int s = 0; s < static_cast<int>(level.m_sectors.size()); ++s) {
            Select(s);
            TypeAndLeave(view, Ctl::kSectorExtraLight, "0.5");
            EXPECT_EQ(At(level.m_sectors, s)->m_extraLight, 0.5f);
        }
        EXPECT_EQ(StoredIndices(level), stored);
    }
}

TEST_F(FormViewsDamaged, SurfaceFormShowsABadMaterialAsNoneAndABadAdjoinDisabled)
{
    Start(MakeUndamagedLevel());
    for (const CDamagedLevel& damage : OpenedDamagedLevels()) {
        SCOPED_TRACE(damage.m_name);
        Reload(MakeDamagedLevel(damage));
        CQzlSections& level = *m_doc->m_level;
        QWidget& view = Pane(1);
        ASSERT_NE(dynamic_cast<CSurfaceView*>(&view), nullptr);
        const std::vector<std::int32_t> stored = StoredIndices(level);
        for (int s = 0; s < static_cast<int>(level.m_sectors.size()); ++s) {
            for (const std::int32_t f : At(level.m_sectors, s)->m_surfaces) {
                SCOPED_TRACE("surface " + std::to_string(f));
                Select(s, f);
                const CQzlSurface& surface = *At(level.m_surfaces, f);
                EXPECT_EQ(Text(view, Ctl::kSurfaceNumber), QString::number(f));
                EXPECT_EQ(Text(view, Ctl::kSurfaceMaterial),
                          ShownName(level.m_materials, surface.m_material,
                                    [](const auto& m) { return m->m_name; }));
                EXPECT_EQ(Text(view, Ctl::kSurfaceAdjoin), QString::number(surface.m_adjoin));
                const bool adjoined = InRange(level.m_adjoins, surface.m_adjoin);
                EXPECT_EQ(Enabled(view, Ctl::kAdjoinFlags), adjoined);
                EXPECT_EQ(Enabled(view, Ctl::kCopyToOther), adjoined);
                // Copy To Other finds the other side through the mirror, or no surface.
                if (adjoined)
                    Control<QPushButton>(view, Ctl::kCopyToOther)->click();
            }
        }
        EXPECT_EQ(StoredIndices(level), stored);
        // An edit of the extra light keeps a material the list does not hold.
        for (int s = 0; s < static_cast<int>(level.m_sectors.size()); ++s) {
            for (const std::int32_t f : At(level.m_sectors, s)->m_surfaces) {
                Select(s, f);
                TypeAndLeave(view, Ctl::kSurfaceExtraLight, "0.5");
                EXPECT_EQ(At(level.m_surfaces, f)->m_extraLight, 0.5f) << f;
            }
        }
        EXPECT_EQ(StoredIndices(level), stored);
    }
}

TEST_F(FormViewsDamaged, ThingsFormShowsTheStoredSector)
{
    Start(MakeUndamagedLevel());
    for (const CDamagedLevel& damage : OpenedDamagedLevels()) {
        SCOPED_TRACE(damage.m_name);
        Reload(MakeDamagedLevel(damage));
        m_doc->m_state.m_editMode = 7;
        m_doc->SwitchPropertyView(PropertyView::kThings);
        CQzlSections& level = *m_doc->m_level;
        QWidget& view = Pane(1);
        ASSERT_NE(dynamic_cast<CThingsView*>(&view), nullptr);
        const std::vector<std::int32_t> stored = StoredIndices(level);
        for (int t = 0; t < static_cast<int>(level.m_things.size()); ++t) {
            m_engine->m_selection.m_thing = t;
            m_doc->UpdateAllViews(nullptr);
            EXPECT_EQ(Text(view, Ctl::kThingNumber), QString::number(t));
            EXPECT_EQ(Text(view, Ctl::kThingSector),
                      QString::number(At(level.m_things, t)->m_sector));
        }
        EXPECT_EQ(StoredIndices(level), stored);
        EXPECT_FALSE(m_doc->IsModified());
        m_doc->m_state.m_editMode = 0;
        m_doc->SwitchPropertyView(PropertyView::kSurface);
    }
}
