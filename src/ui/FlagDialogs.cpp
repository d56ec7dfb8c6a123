#include "ui/FlagDialogs.h"

#include "ui/DialogButtons.h"
#include "ui/UiServices.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QVBoxLayout>

namespace {

constexpr CFlagBox kSectorBoxes[] = {
    {1007, 0x1, "No Gravity"},
    {1009, 0x2, "Under Water"},
    {1060, 0x4, "Used in COG"},
    {1013, 0x8, "Contains Thrust"},
    {1066, 0x10, "Hide on Map"},
    {1071, 0x20, "Cannot Enter"},
    {1017, 0x40, "Pit"},
    {1019, 0x1000, "Contains Colide Box"},
    {1074, 0x4000, "Shown on Map"},
};

constexpr CFlagBox kSurfaceBoxes[] = {
    {1066, 0x1, "Floor Hide on Map"},
    {1060, 0x2, "Used in COG"},
    {1063, 0x4, "Impassable"},
    {214, 0x8, "Enemy Cannot Walk"},
    {1058, 0x10, "Double Texture Scale"},
    {1076, 0x20, "1/2 Texture Scale"},
    {1079, 0x40, "1/8 Texture Scale"},
    {216, 0x80, "No Falling Damage"},
    {1069, 0x200, "Sky (Wall)"},
    {1082, 0x400, "Sky (Ceiling)"},
    {1085, 0x800, "Scrolling"},
    {1088, 0x1000, "Icy"},
    {1092, 0x2000, "Very Icy"},
    {1073, 0x4000, "Magnetic Sealed"},
    {1096, 0x10000, "Metal Floor"},
    {200, 0x20000, "Deep Water"},
    {207, 0x40000, "Shallow Water"},
    {210, 0x80000, "Dirt Floor"},
    {204, 0x100000, "Very Deep Water"},
    {209, 0x80000000u, "Texture Flipped"},
};

constexpr CFlagBox kFaceBoxes[] = {
    {1108, 0x1, "Two Sided"},
    {1077, 0x2, "Transparent"},
};

constexpr CFlagBox kAdjoinBoxes[] = {
    {4022, 0x1, "Through Rendering"},     {2035, 0x2, "Passable, Enemy && Player"},
    {2036, 0x4, "Through Sound"},         {2070, 0x8, "Passable, Player Only"},
    {2038, 0x10, "Passable, Enemy Only"},
};

constexpr CFlagBox kObjectBoxes[] = {
    {220, 0x1, "Emits Light"},
    {221, 0x2, "Dead"},
    {1073, 0x4, "Magneticly Sealed"},
    {1095, 0x8, "Part of World Geometry"},
    {1091, 0x10, "Invisible"},
    {1099, 0x40, "Can Stand On"},
    {1060, 0x400, "Used in COG"},
    {203, 0x800, "No Crush"},
    {1064, 0x1000, "Not Present on Easy"},
    {1067, 0x2000, "Not Present on Medium"},
    {1070, 0x4000, "Not Present on Hard"},
    {1078, 0x8000, "Not Present on Multiplayer"},
    {1081, 0x10000, "Not Present on Singleplayer"},
    {1084, 0x80000, "Disabled"},
    {1087, 0x20000000, "Reborn"},
};

// The help context of a dialog template.
constexpr unsigned int HelpContext(int templateId)
{
    return 0x20000u + static_cast<unsigned int>(templateId);
}

}  // namespace

const CFlagDialogTemplate& SectorFlagsTemplate()
{
    static const CFlagDialogTemplate t{139, "Flags", kSectorBoxes};
    return t;
}

const CFlagDialogTemplate& SurfaceFlagsTemplate()
{
    static const CFlagDialogTemplate t{187, "Surface Flags", kSurfaceBoxes};
    return t;
}

const CFlagDialogTemplate& FaceFlagsTemplate()
{
    static const CFlagDialogTemplate t{188, "Face Flags", kFaceBoxes};
    return t;
}

const CFlagDialogTemplate& AdjoinFlagsTemplate()
{
    static const CFlagDialogTemplate t{5001, "Adjoin Flags", kAdjoinBoxes};
    return t;
}

const CFlagDialogTemplate& ObjectFlagsTemplate()
{
    static const CFlagDialogTemplate t{1090, "Object Flags", kObjectBoxes};
    return t;
}

std::uint32_t FlagsAfterOk(const CFlagDialogTemplate& dialog, std::uint32_t incoming,
                           std::uint32_t ticked)
{
    std::uint32_t known = 0;
    for (const CFlagBox& box : dialog.boxes)
        known |= box.bit;
    return (incoming & ~known) | (ticked & known);
}

CFlagDialog::CFlagDialog(const CFlagDialogTemplate& dialog, std::uint32_t flags, QWidget* parent)
    : QDialog(parent), m_template(dialog), m_flags(flags)
{
    setObjectName(QString::number(dialog.id));
    setWindowTitle(QString::fromLatin1(dialog.caption));

    // Long tables take two columns, down the first and then the second.
    const int count = static_cast<int>(dialog.boxes.size());
    const int rows = count > 10 ? (count + 1) / 2 : count;
    auto* grid = new QGridLayout;
    for (int i = 0; i < count; ++i) {
        const CFlagBox& box = dialog.boxes[static_cast<std::size_t>(i)];
        auto* check = new QCheckBox(QString::fromLatin1(box.caption), this);
        check->setObjectName(QString::number(box.control));
        check->setChecked((flags & box.bit) != 0);
        grid->addWidget(check, i % rows, i / rows);
    }

    const unsigned int help = HelpContext(dialog.id);
    QDialogButtonBox* buttons =
        MakeDialogButtons(*this, Qt::Horizontal, QStringLiteral("&OK"), QStringLiteral("&Cancel"),
                          57670, [help] { QzHelp(help); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    FitDialog(*this, QSize());
}

void CFlagDialog::accept()
{
    std::uint32_t ticked = 0;
    for (const CFlagBox& box : m_template.boxes) {
        const auto* check = findChild<QCheckBox*>(QString::number(box.control));
        if (check != nullptr && check->isChecked())
            ticked |= box.bit;
    }
    m_flags = FlagsAfterOk(m_template, m_flags, ticked);
    QDialog::accept();
}
