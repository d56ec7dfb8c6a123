// The flag dialogs: each box ticked exactly when its bit is set, OK giving back the ticked bits
// and the bits no box stands for, Cancel leaving the value alone.

#include "AppTestSupport.h"
#include "ui/FlagDialogs.h"

#include <QAbstractButton>
#include <QCheckBox>

#include <gtest/gtest.h>

#include <cstdint>
#include <set>

namespace {

class FlagDialogs : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        EnsureQApplication();
    }
};

const CFlagDialogTemplate* const kTemplates[] = {
    &SectorFlagsTemplate(), &SurfaceFlagsTemplate(), &FaceFlagsTemplate(),
    &AdjoinFlagsTemplate(), &ObjectFlagsTemplate(),
};

}  // namespace

TEST_F(FlagDialogs, TemplatesAreAsTheFormsNameThem)
{
    struct Expected {
        int id;
        const char* caption;
        std::size_t boxes;
        std::uint32_t allBits;
    };
    const Expected expected[] = {
        {139, "Flags", 9, 0x507Fu},
        {187, "Surface Flags", 20, 0x801F7EFFu},
        {188, "Face Flags", 2, 0x3u},
        {5001, "Adjoin Flags", 5, 0x1Fu},
        {1090, "Object Flags", 15, 0x2009FC5Fu},
    };
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const CFlagDialogTemplate& t = *kTemplates[i];
        SCOPED_TRACE(t.caption);
        EXPECT_EQ(t.id, expected[i].id);
        EXPECT_STREQ(t.caption, expected[i].caption);
        EXPECT_EQ(t.boxes.size(), expected[i].boxes);
        std::uint32_t all = 0;
        std::set<int> controls;
        for (const CFlagBox& box : t.boxes) {
            EXPECT_EQ(box.bit & (box.bit - 1), 0u) << box.caption << " is one bit";
            EXPECT_EQ(all & box.bit, 0u) << box.caption << " has a bit of its own";
            all |= box.bit;
            EXPECT_TRUE(controls.insert(box.control).second) << box.control;
        }
        EXPECT_EQ(all, expected[i].allBits);
        CFlagDialog dialog(t, 0, nullptr);
        EXPECT_EQ(dialog.objectName(), QString::number(t.id));
        EXPECT_EQ(dialog.windowTitle(), QString::fromLatin1(t.caption));
    }
    // The doubled ampersand of the adjoin caption shows as one.
    CFlagDialog adjoin(AdjoinFlagsTemplate(), 0, nullptr);
    EXPECT_EQ(Control<QCheckBox>(adjoin, 2035)->text(), "Passable, Enemy && Player");
}

TEST_F(FlagDialogs, BoxesShowTheBitsAndOkGivesThemBack)
{
    struct Case {
        const CFlagDialogTemplate* dialog;
        std::uint32_t incoming;
        int tick;    // a box to tick before OK, 0 none
        int untick;  // a box to clear before OK, 0 none
        std::uint32_t afterOk;
    };
    const Case cases[] = {
        // Bits with no box are kept: 0x80 has no box in the sector flags.
        {&SectorFlagsTemplate(), 0x80, 0, 0, 0x80},
        {&SectorFlagsTemplate(), 0x80, 1060, 0, 0x84},
        {&SurfaceFlagsTemplate(), 0x80000001u, 0, 0, 0x80000001u},
        {&SurfaceFlagsTemplate(), 0x80000001u, 0, 209, 0x1},
        {&FaceFlagsTemplate(), 0xF0, 1077, 0, 0xF2},
        {&AdjoinFlagsTemplate(), 0x7, 0, 2035, 0x5},
        {&ObjectFlagsTemplate(), 0x20000000, 220, 0, 0x20000001},
        {&ObjectFlagsTemplate(), 0xFFFFFFFFu, 0, 1087, 0xDFFFFFFFu},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(
            QStringLiteral("%1 0x%2").arg(c.dialog->caption).arg(c.incoming, 0, 16).toStdString());
        CFlagDialog dialog(*c.dialog, c.incoming, nullptr);
        for (const CFlagBox& box : c.dialog->boxes)
            EXPECT_EQ(Control<QCheckBox>(dialog, box.control)->isChecked(),
                      (c.incoming & box.bit) != 0)
                << box.caption;
        if (c.tick != 0)
            Control<QCheckBox>(dialog, c.tick)->setChecked(true);
        if (c.untick != 0)
            Control<QCheckBox>(dialog, c.untick)->setChecked(false);
        Click(dialog, 1);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.Flags(), c.afterOk);
    }
}

TEST_F(FlagDialogs, CancelKeepsTheValue)
{
    CFlagsDlg dialog(0x41, nullptr);
    Control<QCheckBox>(dialog, 1007)->setChecked(false);
    Click(dialog, 2);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.Flags(), 0x41u);
}

TEST_F(FlagDialogs, EveryDialogEndsWithOkCancelAndHelp)
{
    unsigned int shown = 0;
    const CHelpHandler old = SetHelpHandler([&shown](unsigned int context) { shown = context; });
    for (const CFlagDialogTemplate* t : kTemplates) {
        SCOPED_TRACE(t->caption);
        CFlagDialog dialog(*t, 0, nullptr);
        EXPECT_EQ(Control<QAbstractButton>(dialog, 1)->text(), "&OK");
        EXPECT_EQ(Control<QAbstractButton>(dialog, 2)->text(), "&Cancel");
        EXPECT_EQ(Control<QAbstractButton>(dialog, 57670)->text(), "&Help");
        // Help shows the dialog's page and leaves it open.
        shown = 0;
        Click(dialog, 57670);
        EXPECT_EQ(shown, 0x20000u + static_cast<unsigned int>(t->id));
        EXPECT_EQ(dialog.result(), 0);
    }
    SetHelpHandler(old);
}
