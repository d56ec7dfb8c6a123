// The "Create Switch" dialog driven by control id over an engine with the synthetic game: the
// switch list from a "materials.dat" of the test's own (sorted), X and Y following the chosen
// material's texture, the siding from the material picker, the ranges, the fit check and the
// refusals without a switch material or its texture, each keeping the dialog open.

#include "AppTestSupport.h"

#include "SyntheticGame.h"
#include "engine/ui/PreviewWidget.h"
#include "framework/DataFolders.h"
#include "support/FixtureLevels.h"
#include "tools/Switch.h"
#include "tools/ui/CreateSwitchDlg.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <fstream>
#include <memory>
#include <string>
#include <utility>

namespace {

QString Latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

class CreateSwitchDlgTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        m_engine.m_game = std::move(m_synthetic->m_resources);
        m_engine.m_view.m_selection.m_sector = 0;
        m_engine.m_view.m_selection.m_surface = BoxSurface(m_engine.m_level, 0, kBoxZLow);
        m_engine.m_view.m_selection.m_pickedNodes = {{2, 1, 0}, {2, 2, 0}};
    }

    // The switch list of a materials.dat holding text.
    std::vector<std::string> List(const char* text)
    {
        std::filesystem::create_directories(ProgramDir());
        std::ofstream(ProgramDir() / "materials.dat", std::ios::binary) << text;
        return ReadSwitchList(CDataFolders{ProgramDir(), {}});
    }

    static QStringList Items(QWidget& dialog)
    {
        QStringList texts;
        const QComboBox* list = Control<QComboBox>(dialog, Ctl::kSwitchList);
        for (int i = 0; list != nullptr && i < list->count(); ++i)
            texts << list->itemText(i);
        return texts;
    }
    static QString Text(QWidget& dialog, int id)
    {
        const auto* edit = Control<QLineEdit>(dialog, id);
        return edit != nullptr ? edit->text() : QString();
    }
    static void SetText(QWidget& dialog, int id, const char* text)
    {
        if (auto* edit = Control<QLineEdit>(dialog, id))
            edit->setText(QString::fromLatin1(text));
    }

    // The group "switch" with a header line, members on lines that begin with a blank, and the
    // next group, which ends it.
    static constexpr const char* kGroups = "wall brick.mat\n"
                                           "switch lava.mat\n"
                                           " brick.mat\n"
                                           "  floor.mat\n"
                                           "sky sky.mat\n"
                                           " dflt.mat\n";

    std::unique_ptr<CSyntheticGame> m_synthetic = MakeSyntheticGame(0);
    CFixtureEngine m_engine{[] {
        // A room from (0, 0, 0) to (4, 3, 4).
        CQzlSections level = MakeEmptyLevel();
        AddBoxSector(level, {0, 0, 0}, {4, 3, 4});
        FinishFixture(level);
        return level;
    }()};
};

TEST_F(CreateSwitchDlgTest, ListsTheSwitchGroupSortedAndShowsTheTextureSize)
{
    EXPECT_TRUE(ReadSwitchList(CDataFolders{Temp() / "nowhere", {}}).empty());
    CCreateSwitchDlg dialog(m_engine.m_view, List(kGroups));
    EXPECT_EQ(dialog.objectName(), Id(Dlg::kCreateSwitch));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Create Switch"));
    EXPECT_EQ(Items(dialog), (QStringList{"brick.mat", "floor.mat", "lava.mat"}));
    EXPECT_EQ(Control<QComboBox>(dialog, Ctl::kSwitchList)->currentIndex(), 0);
    EXPECT_NE(Control<CPreviewWidget>(dialog, Ctl::kSwitchPreview), nullptr);

    // The defaults; the siding and the size are shown, not edited; Cancel is the default button.
    EXPECT_EQ(Text(dialog, Ctl::kSwitchDepth), QStringLiteral("0.01"));
    EXPECT_EQ(Text(dialog, Ctl::kSwitchHeight), QStringLiteral("0.08"));
    EXPECT_EQ(Text(dialog, Ctl::kSwitchWidth), QStringLiteral("0.08"));
    EXPECT_EQ(Text(dialog, Ctl::kSwitchSiding), QStringLiteral("00red.mat"));
    for (const int id : {Ctl::kSwitchSiding, Ctl::kSwitchX, Ctl::kSwitchY})
        EXPECT_FALSE(Control<QWidget>(dialog, id)->isEnabled()) << id;
    EXPECT_TRUE(Control<QPushButton>(dialog, Ctl::kCancel)->isDefault());
    EXPECT_NE(Control<QPushButton>(dialog, Ctl::kHelp), nullptr);

    // brick.mat is 64 x 32, lava.mat 32 x 32.
    EXPECT_EQ(Text(dialog, Ctl::kSwitchX), QStringLiteral("64"));
    EXPECT_EQ(Text(dialog, Ctl::kSwitchY), QStringLiteral("32"));
    Control<QComboBox>(dialog, Ctl::kSwitchList)->setCurrentIndex(2);
    EXPECT_EQ(Text(dialog, Ctl::kSwitchX), QStringLiteral("32"));
    EXPECT_EQ(Text(dialog, Ctl::kSwitchY), QStringLiteral("32"));

    dialog.show();
    ASSERT_TRUE(PressOk(dialog, {}));
    const CSwitchParams& p = dialog.Params();
    EXPECT_EQ(p.m_switchMaterial, "lava.mat");
    EXPECT_EQ(p.m_sidingMaterial, "00red.mat");
    EXPECT_EQ(p.m_textureWidth, 32);
    EXPECT_EQ(p.m_textureHeight, 32);
    EXPECT_FLOAT_EQ(p.m_depth, 0.01f);
    EXPECT_FLOAT_EQ(p.m_width, 0.08f);
    EXPECT_FLOAT_EQ(p.m_height, 0.08f);
}

TEST_F(CreateSwitchDlgTest, OkChecksTheRangesTheFitAndTheSwitchMaterial)
{
    const QString depthRange = QStringLiteral("Please enter a number between 0 and 0.1.");
    const QString sizeRange = QStringLiteral("Please enter a number between 0.01 and 1.");
    const QString exceeds = Latin1(kSwitchExceedsText);
    const struct {
        const char* name;
        const char* groups;
        float roomHeight;
        const char* depth;
        const char* height;
        const char* width;
        QString message;  // empty: accepted
    } cases[] = {
        {"depth 0", kGroups, 3, "0", "0.08", "0.08", {}},
        {"depth 0.1, size 1", kGroups, 3, "0.1", "1", "1", {}},
        {"depth below 0", kGroups, 3, "-0.01", "0.08", "0.08", depthRange},
        {"depth above 0.1", kGroups, 3, "0.11", "0.08", "0.08", depthRange},
        {"height below 0.01", kGroups, 3, "0.01", "0.005", "0.08", sizeRange},
        {"width above 1", kGroups, 3, "0.01", "0.08", "1.5", sizeRange},
        // The wall is 0.5 high above the first node.
        {"higher than the wall", kGroups, 1.5f, "0.01", "1", "0.08", exceeds},
        {"no switch group", "wall brick.mat\n", 3, "0.01", "0.08", "0.08",
         Latin1(kSwitchNoMaterialText)},
        {"texture found nowhere", "switch nosuch.mat\n", 3, "0.01", "0.08", "0.08",
         Latin1(SwitchNoTextureText("nosuch.mat"))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CQzlSections level = MakeEmptyLevel();
        AddBoxSector(level, {0, 0, 0}, {4, c.roomHeight, 4});
        FinishFixture(level);
        m_engine.m_level = std::move(level);
        CCreateSwitchDlg dialog(m_engine.m_view, List(c.groups));
        dialog.show();
        SetText(dialog, Ctl::kSwitchDepth, c.depth);
        SetText(dialog, Ctl::kSwitchHeight, c.height);
        SetText(dialog, Ctl::kSwitchWidth, c.width);
        PressOk(dialog, c.message);
    }
}

TEST_F(CreateSwitchDlgTest, TextureTakesTheSidingFromThePickerInAddMode)
{
    CCreateSwitchDlg dialog(m_engine.m_view, List(kGroups));
    CMaterialChoice choice;
    choice.m_name = "floor.mat";
    m_engine.m_host.m_materialChoices = {std::nullopt, choice};
    Click(dialog, Ctl::kSwitchTexture);
    EXPECT_EQ(Text(dialog, Ctl::kSwitchSiding), QStringLiteral("00red.mat"));
    Click(dialog, Ctl::kSwitchTexture);
    EXPECT_EQ(Text(dialog, Ctl::kSwitchSiding), QStringLiteral("floor.mat"));
    EXPECT_EQ(m_engine.m_host.Numbers(CRecordingEngineHost::ECall::PickMaterial),
              (std::vector<int>{kPickToAdd, kPickToAdd}));
    dialog.show();
    ASSERT_TRUE(PressOk(dialog, {}));
    EXPECT_EQ(dialog.Params().m_sidingMaterial, "floor.mat");
}

}  // namespace
