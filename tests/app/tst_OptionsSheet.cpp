// The Options sheet (32771) of a document in the running application, driven by its control ids:
// the three pages and the button row, what each page shows, the ranges of every number, OK and
// Apply storing only pages that were shown and nothing of a press that a field stopped, the
// lists and switches and what they store, the display-mode and device lists, the colour dialog
// of the swatches, the Configuration page's ticks, and Help.

#include "AppTestSupport.h"
#include "OptionsSheetDriver.h"

#include "app/ColorsPage.h"
#include "app/ConfigurationPage.h"
#include "app/MainFrame.h"
#include "app/QzEditDoc.h"
#include "engine/C3dView.h"
#include "episode/StartGoalsCogs.h"
#include "geometry/SectorBounds.h"
#include "level/QzlCog.h"
#include "support/FixtureLevels.h"
#include "ui/SheetDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kGeneral = 0;
constexpr int kColors = 1;
constexpr int kConfiguration = 2;

// Every setting as "name=value", to compare two sets of settings and show the difference.
std::vector<std::string> Dump(const CSettings& settings)
{
    std::vector<std::string> rows;
    for (const CSettingInfo& info : CSettings::Table()) {
        std::string value;
        switch (info.kind) {
        case ESettingKind::Int:
            value = std::to_string(settings.*info.intMember);
            break;
        case ESettingKind::Float:
            value = std::to_string(settings.*info.floatMember);
            break;
        case ESettingKind::Color:
            value = std::to_string(settings.*info.colorMember);
            break;
        }
        rows.push_back(std::string(info.name) + "=" + value);
    }
    return rows;
}

// The int setting of that name.
std::int32_t& IntSetting(CSettings& settings, std::string_view name)
{
    for (const CSettingInfo& info : CSettings::Table())
        if (info.name == name && info.kind == ESettingKind::Int)
            return settings.*info.intMember;
    ADD_FAILURE() << "no int setting " << name;
    static std::int32_t none = 0;
    return none;
}

// The value of the setting of that name.
double Value(const CSettings& settings, std::string_view name)
{
    for (const CSettingInfo& info : CSettings::Table())
        if (info.name == name)
            switch (info.kind) {
            case ESettingKind::Int:
                return settings.*info.intMember;
            case ESettingKind::Float:
                return static_cast<double>(settings.*info.floatMember);
            case ESettingKind::Color:
                return settings.*info.colorMember;
            }
    ADD_FAILURE() << "no setting " << name;
    return 0.0;
}

class OptionsSheetTest : public AppTest {
protected:
    void TearDown() override
    {
        CColorsPage::SetColorDialog(nullptr);
        AppTest::TearDown();
    }

    // The main frame shown with one document whose engine (without a device) works on the two
    // joined rooms.
    CQzEditDoc& Start()
    {
        m_doc = StartShownWithDocument();
        EXPECT_NE(m_doc, nullptr);
        GiveDocumentEngine(*m_doc, MakeTwoJoinedRooms());
        return *m_doc;
    }

    CSettings& Settings() { return m_app->m_settings; }

    bool WithOptions(const std::function<void(CSheetDlg&)>& act)
    {
        return WithOptionsSheet(*m_app->m_pMainFrame, act);
    }

    template <typename T>
    static T* Control(QWidget& sheet, int id)
    {
        T* control = sheet.findChild<T*>(Id(id));
        EXPECT_NE(control, nullptr) << id;
        return control;
    }

    // Brings a page to the front as a click on its tab does.
    static void ShowPage(CSheetDlg& sheet, int index)
    {
        Control<QTabWidget>(sheet, Ctl::kTabControl)->setCurrentIndex(index);
    }

    static void Type(CSheetDlg& sheet, int id, const QString& text)
    {
        if (auto* edit = Control<QLineEdit>(sheet, id))
            edit->setText(text);
    }

    static QString Text(CSheetDlg& sheet, int id)
    {
        if (auto* edit = sheet.findChild<QLineEdit*>(Id(id)))
            return edit->text();
        if (auto* list = sheet.findChild<QComboBox*>(Id(id)))
            return list->currentText();
        ADD_FAILURE() << "no edit or list " << id;
        return {};
    }

    static void Choose(CSheetDlg& sheet, int id, const QString& text)
    {
        auto* list = Control<QComboBox>(sheet, id);
        if (list == nullptr)
            return;
        const int index = list->findText(text);
        EXPECT_GE(index, 0) << text.toStdString();
        list->setCurrentIndex(index);
    }

    static QStringList Entries(CSheetDlg& sheet, int id)
    {
        QStringList texts;
        if (auto* list = Control<QComboBox>(sheet, id))
            for (int i = 0; i < list->count(); ++i)
                texts.push_back(list->itemText(i));
        return texts;
    }

    static void Click(CSheetDlg& sheet, int id)
    {
        if (auto* button = Control<QAbstractButton>(sheet, id))
            button->click();
    }

    static bool ApplyEnabled(CSheetDlg& sheet)
    {
        const auto* apply = Control<QPushButton>(sheet, Ctl::kApplyNow);
        return apply != nullptr && apply->isEnabled();
    }

    CQzEditDoc* m_doc = nullptr;
};

TEST_F(OptionsSheetTest, CommandShowsThreePagesAndOneRowOfButtons)
{
    Start();
    const std::vector<std::string> before = Dump(Settings());
    EXPECT_TRUE(WithOptions([&](CSheetDlg& sheet) {
        EXPECT_EQ(sheet.windowTitle(), QStringLiteral("Options"));
        EXPECT_TRUE(sheet.isModal());
        auto* tabs = Control<QTabWidget>(sheet, Ctl::kTabControl);
        ASSERT_NE(tabs, nullptr);
        ASSERT_EQ(tabs->count(), 3);
        EXPECT_EQ(tabs->tabText(0), QStringLiteral("General"));
        EXPECT_EQ(tabs->tabText(1), QStringLiteral("Colors"));
        EXPECT_EQ(tabs->tabText(2), QStringLiteral("Configuration"));
        EXPECT_EQ(tabs->widget(0)->objectName(), Id(Dlg::kGeneralPage));
        EXPECT_EQ(tabs->widget(1)->objectName(), Id(Dlg::kColorsPage));
        EXPECT_EQ(tabs->widget(2)->objectName(), Id(Dlg::kConfigurationPage));
        // The first page is shown and loaded; the others wait until they are shown.
        EXPECT_EQ(sheet.ActivePage(), 0);
        EXPECT_TRUE(sheet.Page(0)->IsInitialized());
        EXPECT_FALSE(sheet.Page(1)->IsInitialized());
        EXPECT_FALSE(sheet.Page(2)->IsInitialized());
        EXPECT_FALSE(ApplyEnabled(sheet));

        // OK, Cancel, Apply and Help side by side from the left, 6 pixels apart, one width.
        std::vector<QRect> row;
        for (const int id : {Ctl::kOk, Ctl::kCancel, Ctl::kApplyNow, Ctl::kHelp}) {
            auto* button = Control<QPushButton>(sheet, id);
            ASSERT_NE(button, nullptr);
            row.push_back(button->geometry());
        }
        EXPECT_EQ(row[0].left(), 6);
        for (std::size_t i = 1; i < row.size(); ++i) {
            EXPECT_EQ(row[i].left(), row[i - 1].right() + 1 + 6);
            EXPECT_EQ(row[i].top(), row[0].top());
            EXPECT_EQ(row[i].size(), row[0].size());
        }
        EXPECT_GE(row[0].width(), 59);
        EXPECT_GE(sheet.width(), 272);
        EXPECT_GT(row[0].top(), tabs->geometry().bottom());

        // Cancel after changes stores nothing.
        Type(sheet, Ctl::kHorizonDistance, QStringLiteral("99"));
        Click(sheet, Ctl::kCancel);
        EXPECT_FALSE(sheet.isVisible());
    }));
    EXPECT_EQ(Dump(Settings()), before);
}

TEST_F(OptionsSheetTest, PagesShowTheSettings)
{
    CQzEditDoc& doc = Start();
    CSettings& s = Settings();
    s.m_horizonDistance = 12.5f;
    s.m_threeDoDistance = 0.0f;
    s.m_gridDistance = 0.05f;
    s.m_alignment = -2;
    s.m_frameRate = 35;
    s.m_vertexScaling = 0.01f;
    s.m_adjoin = 1;
    s.m_textureMapping = 7;  // any value but 0 is "Nearest"
    s.m_textureDithering = 0;
    s.m_threeDoCollision = 1;
    s.m_warning = 0;
    s.m_copyLight = 1;
    s.m_cdSound = 0;
    s.m_errorChecking = 1;
    s.m_autosave = 0;
    s.m_undoRedo = 45;
    s.m_adjoinTransparent = 0;
    doc.m_fields.m_startCogOn = 0;
    doc.m_fields.m_goalsCogOn = 1;

    struct CCase {
        int id;
        const char* text;
    };
    const CCase general[] = {
        {Ctl::kHorizonDistance, "12.5"},
        {Ctl::kThreeDoDistance, "0"},
        {Ctl::kGridDistance, "0.05"},
        {Ctl::kGridAlignment, "-2"},
        {Ctl::kFrameRate, "35"},
        {Ctl::kVertexSize, "0.01"},
        {Ctl::kAdjoinRendering, "Transparent"},
        {Ctl::kTextureMapping, "Nearest"},
        {Ctl::kDithered, "No"},
        {Ctl::kThreeDoCollision, "Yes"},
        {Ctl::kWarnings, "No"},
        {Ctl::kCopyLight, "Yes"},
        {Ctl::kCdSound, "No"},
        {Ctl::kErrorChecking, "Yes"},
        {Ctl::kIncludeStartUpCog, "No"},
        {Ctl::kIncludeGoalsCog, "Yes"},
    };
    EXPECT_TRUE(WithOptions([&](CSheetDlg& sheet) {
        for (const CCase& c : general)
            EXPECT_EQ(Text(sheet, c.id), QString::fromLatin1(c.text)) << c.id;
        // The fixed lists in the order of the page.
        EXPECT_EQ(Entries(sheet, Ctl::kAdjoinRendering),
                  QStringList({"None", "Transparent", "Solid"}));
        EXPECT_EQ(Entries(sheet, Ctl::kTextureMapping), QStringList({"Nearest", "Linear"}));
        EXPECT_EQ(Entries(sheet, Ctl::kWarnings), QStringList({"No", "Yes"}));

        ShowPage(sheet, kColors);
        EXPECT_FALSE(Control<QCheckBox>(sheet, Ctl::kTransparentRendering)->isChecked());
        ShowPage(sheet, kConfiguration);
        EXPECT_EQ(Text(sheet, Ctl::kBackupMinutes), QStringLiteral("0"));
        EXPECT_FALSE(Control<QCheckBox>(sheet, Ctl::kAutomaticBackup)->isChecked());
        EXPECT_EQ(Text(sheet, Ctl::kUndoLevels), QStringLiteral("45"));
        EXPECT_TRUE(Control<QCheckBox>(sheet, Ctl::kNumberOfLevels)->isChecked());
        // Loading the pages is no change.
        EXPECT_FALSE(ApplyEnabled(sheet));
    }));
}

TEST_F(OptionsSheetTest, EveryNumberIsCheckedAgainstItsRange)
{
    Start();
    struct CCase {
        int page;
        int id;
        const char* text;
        const char* setting;
        const char* message;  // null: accepted
    };
    const char* const horizon = "Please enter a number between 0.5 and 500.";
    const char* const threeDo = "Please enter a number between 0 and 500.";
    const char* const grid = "Please enter a number between 0.05 and 500.";
    const char* const alignment = "Please enter an integer between -2 and 24.";
    const char* const frameRate = "Please enter an integer between 1 and 100.";
    const char* const vertex = "Please enter a number between 0.005 and 1.";
    const char* const autosave = "Please enter an integer between 0 and 120.";
    const char* const undo = "Please enter an integer between 0 and 100.";
    const CCase cases[] = {
        {kGeneral, Ctl::kHorizonDistance, "0.5", "Horizon Distance", nullptr},
        {kGeneral, Ctl::kHorizonDistance, "500", "Horizon Distance", nullptr},
        {kGeneral, Ctl::kHorizonDistance, "0.49", "Horizon Distance", horizon},
        {kGeneral, Ctl::kHorizonDistance, "500.01", "Horizon Distance", horizon},
        {kGeneral, Ctl::kHorizonDistance, "far", "Horizon Distance", horizon},
        {kGeneral, Ctl::kHorizonDistance, "nan", "Horizon Distance", horizon},
        {kGeneral, Ctl::kHorizonDistance, "1e39", "Horizon Distance", horizon},
        {kGeneral, Ctl::kThreeDoDistance, "0", "3DO Distance", nullptr},
        {kGeneral, Ctl::kThreeDoDistance, "500", "3DO Distance", nullptr},
        {kGeneral, Ctl::kThreeDoDistance, "-0.01", "3DO Distance", threeDo},
        {kGeneral, Ctl::kThreeDoDistance, "500.5", "3DO Distance", threeDo},
        {kGeneral, Ctl::kGridDistance, "0.05", "Grid Distance", nullptr},
        {kGeneral, Ctl::kGridDistance, "500", "Grid Distance", nullptr},
        {kGeneral, Ctl::kGridDistance, "0.04", "Grid Distance", grid},
        {kGeneral, Ctl::kGridDistance, "501", "Grid Distance", grid},
        {kGeneral, Ctl::kGridDistance, "", "Grid Distance", grid},
        {kGeneral, Ctl::kGridAlignment, "-2", "Alignment", nullptr},
        {kGeneral, Ctl::kGridAlignment, "24", "Alignment", nullptr},
        {kGeneral, Ctl::kGridAlignment, "-3", "Alignment", alignment},
        {kGeneral, Ctl::kGridAlignment, "25", "Alignment", alignment},
        {kGeneral, Ctl::kGridAlignment, "1.5", "Alignment", alignment},
        {kGeneral, Ctl::kFrameRate, "1", "FrameRate", nullptr},
        {kGeneral, Ctl::kFrameRate, "100", "FrameRate", nullptr},
        {kGeneral, Ctl::kFrameRate, "0", "FrameRate", frameRate},
        {kGeneral, Ctl::kFrameRate, "101", "FrameRate", frameRate},
        {kGeneral, Ctl::kVertexSize, "0.005", "VertexScaling", nullptr},
        {kGeneral, Ctl::kVertexSize, "1", "VertexScaling", nullptr},
        {kGeneral, Ctl::kVertexSize, "0.004", "VertexScaling", vertex},
        {kGeneral, Ctl::kVertexSize, "1.001", "VertexScaling", vertex},
        {kConfiguration, Ctl::kBackupMinutes, "0", "Autosave", nullptr},
        {kConfiguration, Ctl::kBackupMinutes, "120", "Autosave", nullptr},
        {kConfiguration, Ctl::kBackupMinutes, "-1", "Autosave", autosave},
        {kConfiguration, Ctl::kBackupMinutes, "121", "Autosave", autosave},
        {kConfiguration, Ctl::kUndoLevels, "0", "UndoRedo", nullptr},
        {kConfiguration, Ctl::kUndoLevels, "100", "UndoRedo", nullptr},
        {kConfiguration, Ctl::kUndoLevels, "-1", "UndoRedo", undo},
        {kConfiguration, Ctl::kUndoLevels, "101", "UndoRedo", undo},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(std::string(c.setting) + " \"" + c.text + "\"");
        Settings() = CSettings();
        const std::vector<std::string> before = Dump(Settings());
        m_messages.clear();
        EXPECT_TRUE(WithOptions([&](CSheetDlg& sheet) {
            ShowPage(sheet, c.page);
            Type(sheet, c.id, QString::fromLatin1(c.text));
            ShowPage(sheet, kGeneral);
            Click(sheet, Ctl::kOk);
            if (c.message == nullptr) {
                EXPECT_FALSE(sheet.isVisible());
                EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(';').toStdString();
                return;
            }
            // The sheet stays, with the field's page in front and the field in focus.
            EXPECT_TRUE(sheet.isVisible());
            EXPECT_EQ(m_messages, QStringList{QString::fromLatin1(c.message)});
            EXPECT_EQ(sheet.ActivePage(), c.page);
            EXPECT_EQ(sheet.focusWidget(), sheet.findChild<QWidget*>(Id(c.id)));
        }));
        if (c.message == nullptr)
            EXPECT_EQ(Value(Settings(), c.setting),
                      static_cast<double>(static_cast<float>(std::atof(c.text))));
        else
            EXPECT_EQ(Dump(Settings()), before);
    }
}

TEST_F(OptionsSheetTest, AFieldOutOfRangeStoresNothingOfThatPress)
{
    Start();
    const QColor chosen(1, 2, 3);
    CColorsPage::SetColorDialog([&](const QColor&, QWidget*) { return chosen; });
    struct CCase {
        const char* name;
        int page;  // of the field out of range
        int id;
        const char* text;
        int pressed;  // OK or Apply
    };
    const CCase cases[] = {
        {"General's frame rate, OK", kGeneral, Ctl::kFrameRate, "0", Ctl::kOk},
        {"General's frame rate, Apply", kGeneral, Ctl::kFrameRate, "101", Ctl::kApplyNow},
        {"Configuration's levels, OK", kConfiguration, Ctl::kUndoLevels, "101", Ctl::kOk},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.name);
        Settings() = CSettings();
        const std::vector<std::string> before = Dump(Settings());
        m_messages.clear();
        EXPECT_TRUE(WithOptions([&](CSheetDlg& sheet) {
            // Valid changes on every page, and one field out of range.
            Type(sheet, Ctl::kHorizonDistance, QStringLiteral("50"));
            Choose(sheet, Ctl::kAdjoinRendering, QStringLiteral("Solid"));
            ShowPage(sheet, kColors);
            Click(sheet, Ctl::kColorBackground);
            ShowPage(sheet, kConfiguration);
            Type(sheet, Ctl::kBackupMinutes, QStringLiteral("30"));
            ShowPage(sheet, c.page);
            Type(sheet, c.id, QString::fromLatin1(c.text));
            ShowPage(sheet, kColors);
            Click(sheet, c.pressed);
            EXPECT_TRUE(sheet.isVisible());
            EXPECT_EQ(m_messages.size(), 1);
            EXPECT_EQ(sheet.ActivePage(), c.page);
            EXPECT_EQ(Dump(Settings()), before);
            EXPECT_TRUE(ApplyEnabled(sheet));

            // Put right, the same press stores every page.
            Type(sheet, c.id, QStringLiteral("30"));
            Click(sheet, c.pressed);
            EXPECT_EQ(m_messages.size(), 1);
            EXPECT_EQ(Settings().m_horizonDistance, 50.0f);
            EXPECT_EQ(Settings().m_adjoin, 2);
            EXPECT_EQ(Settings().m_colorBackground, 0x030201u);
            EXPECT_EQ(Settings().m_autosave, 30);
            EXPECT_EQ(Value(Settings(), c.page == kGeneral ? "FrameRate" : "UndoRedo"), 30.0);
        }));
    }
}

TEST_F(OptionsSheetTest, OnlyPagesThatWereShownStore)
{
    Start();
    CSettings& s = Settings();
    // Colours and numbers unlike the defaults and unlike what empty controls would give.
    s.m_colorSelect = 0x123456;
    s.m_colorBackground = 0x654321;
    s.m_colorSurfCogWireframe = 0x0A0B0C;
    s.m_adjoinTransparent = 1;
    s.m_autosave = 7;
    s.m_undoRedo = 33;
    s.m_stretchMode = 3;

    // OK at once: only General stores, and it keeps what it showed.
    std::vector<std::string> before = Dump(s);
    EXPECT_TRUE(WithOptions([&](CSheetDlg& sheet) { Click(sheet, Ctl::kOk); }));
    EXPECT_EQ(Dump(s), before);

    // A change on General, then OK without showing Colors: every colour stays.
    EXPECT_TRUE(WithOptions([&](CSheetDlg& sheet) {
        Type(sheet, Ctl::kVertexSize, QStringLiteral("0.02"));
        Click(sheet, Ctl::kOk);
    }));
    EXPECT_EQ(s.m_vertexScaling, 0.02f);
    s.m_vertexScaling = 0.01f;
    EXPECT_EQ(Dump(s), before);

    // Shown and left alone, Colors and Configuration store what they showed.
    EXPECT_TRUE(WithOptions([&](CSheetDlg& sheet) {
        ShowPage(sheet, kColors);
        ShowPage(sheet, kConfiguration);
        Click(sheet, Ctl::kOk);
    }));
    EXPECT_EQ(Dump(s), before);
}

TEST_F(OptionsSheetTest, ApplyFollowsChangesAndStoresWithoutClosing)
{
    Start();
    C3dView& engine = *m_engine;
    engine.m_viewport.m_displayModes = {"None", "320x240", "640x480"};
    engine.m_viewport.m_deviceNames = {"First Renderer", "Second Renderer"};

    // A change of each of these controls enables Apply.
    struct CCase {
        int page;
        int id;
        std::function<void(CSheetDlg&)> change;
    };
    const auto type = [](int id, const char* text) {
        return [id, text](CSheetDlg& sheet) { Type(sheet, id, QString::fromLatin1(text)); };
    };
    const auto pick = [](int id, int index) {
        return [id, index](CSheetDlg& sheet) {
            Control<QComboBox>(sheet, id)->setCurrentIndex(index);
        };
    };
    const auto click = [](int id) { return [id](CSheetDlg& sheet) { Click(sheet, id); }; };
    CColorsPage::SetColorDialog([](const QColor&, QWidget*) { return QColor(Qt::cyan); });
    const CCase cases[] = {
        {kGeneral, Ctl::kHorizonDistance, type(Ctl::kHorizonDistance, "20")},
        {kGeneral, Ctl::kThreeDoDistance, type(Ctl::kThreeDoDistance, "2")},
        {kGeneral, Ctl::kFrameRate, type(Ctl::kFrameRate, "25")},
        {kGeneral, Ctl::kVertexSize, type(Ctl::kVertexSize, "0.1")},
        {kGeneral, Ctl::kGridAlignment, type(Ctl::kGridAlignment, "3")},
        {kGeneral, Ctl::kAdjoinRendering, pick(Ctl::kAdjoinRendering, 2)},
        {kGeneral, Ctl::kStretchFactor, pick(Ctl::kStretchFactor, 2)},
        {kGeneral, Ctl::kTextureMapping, pick(Ctl::kTextureMapping, 1)},
        {kGeneral, Ctl::kDevice, pick(Ctl::kDevice, 1)},
        {kGeneral, Ctl::kDithered, pick(Ctl::kDithered, 0)},
        {kGeneral, Ctl::kErrorChecking, pick(Ctl::kErrorChecking, 0)},
        {kGeneral, Ctl::kWarnings, pick(Ctl::kWarnings, 0)},
        {kColors, Ctl::kColorGhostObject, click(Ctl::kColorGhostObject)},
        {kColors, Ctl::kTransparentRendering, click(Ctl::kTransparentRendering)},
        {kConfiguration, Ctl::kBackupMinutes, type(Ctl::kBackupMinutes, "5")},
        {kConfiguration, Ctl::kUndoLevels, type(Ctl::kUndoLevels, "5")},
        {kConfiguration, Ctl::kAutomaticBackup, click(Ctl::kAutomaticBackup)},
        {kConfiguration, Ctl::kNumberOfLevels, click(Ctl::kNumberOfLevels)},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_TRUE(WithOptions([&](CSheetDlg& sheet) {
            ShowPage(sheet, c.page);
            EXPECT_FALSE(ApplyEnabled(sheet));
            c.change(sheet);
            EXPECT_TRUE(ApplyEnabled(sheet));
        }));
    }

    // Apply stores, keeps the sheet open and greys itself until the next change; Cancel then
    // keeps what was applied.
    Settings() = CSettings();
    EXPECT_TRUE(WithOptions([&](CSheetDlg& sheet) {
        Type(sheet, Ctl::kFrameRate, QStringLiteral("42"));
        Click(sheet, Ctl::kApplyNow);
        EXPECT_TRUE(sheet.isVisible());
        EXPECT_FALSE(ApplyEnabled(sheet));
        EXPECT_EQ(Settings().m_frameRate, 42);
        Type(sheet, Ctl::kFrameRate, QStringLiteral("43"));
        EXPECT_TRUE(ApplyEnabled(sheet));
        Click(sheet, Ctl::kCancel);
    }));
    EXPECT_EQ(Settings().m_frameRate, 42);
}

TEST_F(OptionsSheetTest, ListsStoreTheValueOfTheirText)
{
    Start();
    struct CCase {
        int id;
        const char* text;
        const char* setting;
        int stored;
    };
    const CCase cases[] = {
        {Ctl::kAdjoinRendering, "None", "Adjoin", 0},
        {Ctl::kAdjoinRendering, "Transparent", "Adjoin", 1},
        {Ctl::kAdjoinRendering, "Solid", "Adjoin", 2},
        {Ctl::kTextureMapping, "Nearest", "Texture Mapping", 1},
        {Ctl::kTextureMapping, "Linear", "Texture Mapping", 0},
        {Ctl::kDithered, "No", "Texture Dithering", 0},
        {Ctl::kDithered, "Yes", "Texture Dithering", 1},
        {Ctl::kThreeDoCollision, "Yes", "3DO Collision", 1},
        {Ctl::kThreeDoCollision, "No", "3DO Collision", 0},
        {Ctl::kWarnings, "No", "Warning", 0},
        {Ctl::kWarnings, "Yes", "Warning", 1},
        {Ctl::kCopyLight, "No", "CopyLight", 0},
        {Ctl::kCdSound, "No", "CDsound", 0},
        {Ctl::kErrorChecking, "No", "Error Checking", 0},
        {Ctl::kErrorChecking, "Yes", "Error Checking", 1},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(std::string(c.setting) + " " + c.text);
        Settings() = CSettings();
        // Stored otherwise first, so that the text must change it.
        IntSetting(Settings(), c.setting) = c.stored == 0 ? 2 : 0;
        EXPECT_TRUE(WithOptions([&](CSheetDlg& sheet) {
            Choose(sheet, c.id, QString::fromLatin1(c.text));
            Click(sheet, Ctl::kOk);
        }));
        EXPECT_EQ(Value(Settings(), c.setting), c.stored);
    }
}

TEST_F(OptionsSheetTest, CogSwitchesBringTheLevelsCogsInLine)
{
    CQzEditDoc& doc = Start();
    const auto cogsOf = [&](const char* script) {
        return std::ranges::count_if(doc.m_level->m_cogs,
                                     [&](const auto& cog) { return cog->m_script == script; });
    };
    doc.m_fields.m_startCogOn = 0;
    doc.m_fields.m_goalsCogOn = 0;
    doc.ImportStartGoalsCogs();
    doc.SetModifiedFlag(false);

    // Unchanged switches: the document stays unmodified.
    EXPECT_TRUE(WithOptions([&](CSheetDlg& sheet) { Click(sheet, Ctl::kOk); }));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(cogsOf(kStartCogScript), 0);

    EXPECT_TRUE(WithOptions([&](CSheetDlg& sheet) {
        Choose(sheet, Ctl::kIncludeStartUpCog, QStringLiteral("Yes"));
        Click(sheet, Ctl::kOk);
    }));
    EXPECT_EQ(doc.m_fields.m_startCogOn, 1);
    EXPECT_EQ(doc.m_fields.m_goalsCogOn, 0);
    EXPECT_EQ(cogsOf(kStartCogScript), 1);
    EXPECT_EQ(cogsOf(kGoalsCogScript), 0);
    // The switches and the cogs are the document's: it must be saved.
    EXPECT_TRUE(doc.IsModified());

    doc.SetModifiedFlag(false);
    EXPECT_TRUE(WithOptions([&](CSheetDlg& sheet) {
        Choose(sheet, Ctl::kIncludeStartUpCog, QStringLiteral("No"));
        Choose(sheet, Ctl::kIncludeGoalsCog, QStringLiteral("Yes"));
        Click(sheet, Ctl::kOk);
    }));
    EXPECT_EQ(cogsOf(kStartCogScript), 0);
    EXPECT_EQ(cogsOf(kGoalsCogScript), 1);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(OptionsSheetTest, GeneralRecomputesTheSectorBounds)
{
    CQzEditDoc& doc = Start();
    CQzlSections expected = MakeTwoJoinedRooms();
    UpdateSectorBounds(expected, false);
    for (auto& sector : doc.m_level->m_sectors) {
        sector->m_boundBox = CBoundingBox{};
        sector->m_radius = -1.0f;
    }
    EXPECT_TRUE(WithOptions([&](CSheetDlg& sheet) { Click(sheet, Ctl::kOk); }));
    ASSERT_EQ(doc.m_level->m_sectors.size(), expected.m_sectors.size());
    for (std::size_t i = 0; i < expected.m_sectors.size(); ++i) {
        EXPECT_TRUE(doc.m_level->m_sectors[i]->m_boundBox == expected.m_sectors[i]->m_boundBox);
        EXPECT_EQ(doc.m_level->m_sectors[i]->m_radius, expected.m_sectors[i]->m_radius);
    }
}

TEST_F(OptionsSheetTest, DisplayModeAndDeviceListsAreTheViewsDevices)
{
    Start();
    C3dView& engine = *m_engine;
    struct CCase {
        const char* name;
        std::vector<std::string> modes;  // the engine's lists (empty before device set-up)
        std::vector<std::string> devices;
        int stretchMode;  // stored
        int device;
        QStringList shownModes;
        QString shownMode;
        QString shownDevice;
        int storedStretchMode;  // after OK
        int storedDevice;
    };
    const QStringList renderSizes = {"None", "320x240", "640x480", "800x600", "1024x768"};
    const CCase cases[] = {
        {"before the device: the render layer's sizes, and no device to change \"Device\"",
         {},
         {},
         3,
         2,
         renderSizes,
         "800x600",
         "",
         3,
         2},
        {"the device's lists",
         {"None", "640x480"},
         {"Mesa Renderer"},
         1,
         0,
         {"None", "640x480"},
         "640x480",
         "Mesa Renderer",
         1,
         0},
        {"positions beyond the lists show and store entry 0",
         {"None", "640x480"},
         {"Mesa Renderer"},
         4,
         5,
         {"None", "640x480"},
         "None",
         "Mesa Renderer",
         0,
         0},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.name);
        engine.m_viewport.m_displayModes = c.modes;
        engine.m_viewport.m_deviceNames = c.devices;
        Settings().m_stretchMode = c.stretchMode;
        Settings().m_device = c.device;
        EXPECT_TRUE(WithOptions([&](CSheetDlg& sheet) {
            EXPECT_EQ(Entries(sheet, Ctl::kStretchFactor), c.shownModes);
            EXPECT_EQ(Text(sheet, Ctl::kStretchFactor), c.shownMode);
            EXPECT_EQ(Text(sheet, Ctl::kDevice), c.shownDevice);
            Click(sheet, Ctl::kOk);
        }));
        EXPECT_EQ(Settings().m_stretchMode, c.storedStretchMode);
        EXPECT_EQ(Settings().m_device, c.storedDevice);
    }

    // A size chosen is stored as its position.
    engine.m_viewport.m_displayModes.clear();
    EXPECT_TRUE(WithOptions([&](CSheetDlg& sheet) {
        Choose(sheet, Ctl::kStretchFactor, QStringLiteral("640x480"));
        Click(sheet, Ctl::kOk);
    }));
    EXPECT_EQ(Settings().m_stretchMode, 2);
}

TEST_F(OptionsSheetTest, SwatchesOpenTheColourDialogAtTheirColour)
{
    Start();
    Settings().m_colorSelect = 0x0000FF;  // red
    Settings().m_colorGrid = 0x0080FF;
    Settings().m_colorSurfCogWireframe = 0x00FF00;
    std::vector<QColor> asked;
    std::optional<QColor> answer;
    CColorsPage::SetColorDialog([&](const QColor& initial, QWidget*) {
        asked.push_back(initial);
        return answer;
    });
    EXPECT_TRUE(WithOptions([&](CSheetDlg& sheet) {
        ShowPage(sheet, kColors);
        auto* swatch = Control<CColorSwatch>(sheet, Ctl::kColorSelectedVertex);
        ASSERT_NE(swatch, nullptr);
        EXPECT_EQ(swatch->Color(), QColor(255, 0, 0));

        // Cancel in the colour dialog changes nothing.
        Click(sheet, Ctl::kColorSelectedVertex);
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0], QColor(255, 0, 0));
        EXPECT_EQ(swatch->Color(), QColor(255, 0, 0));
        EXPECT_FALSE(ApplyEnabled(sheet));

        answer = QColor(0x10, 0x20, 0x30);
        Click(sheet, Ctl::kColorGridNode);
        EXPECT_EQ(asked.back(), QColor(0xFF, 0x80, 0x00));
        EXPECT_EQ(Control<CColorSwatch>(sheet, Ctl::kColorGridNode)->Color(), *answer);
        EXPECT_TRUE(ApplyEnabled(sheet));

        // "Surfaces with Cogs:" keeps its colour without a swatch to show.
        EXPECT_FALSE(Control<QWidget>(sheet, Ctl::kColorSurfacesWithCogs)->isVisibleTo(&sheet));
        for (const QLabel* label : sheet.findChildren<QLabel*>()) {
            if (label->text() == QStringLiteral("Surfaces with Cogs:")) {
                EXPECT_FALSE(label->isVisibleTo(&sheet));
            }
        }

        Click(sheet, Ctl::kTransparentRendering);
        Click(sheet, Ctl::kOk);
    }));
    EXPECT_EQ(Settings().m_colorSelect, 0x0000FFu);
    EXPECT_EQ(Settings().m_colorGrid, 0x302010u);
    EXPECT_EQ(Settings().m_colorSurfCogWireframe, 0x00FF00u);
    EXPECT_EQ(Settings().m_adjoinTransparent, 0);
}

TEST_F(OptionsSheetTest, ConfigurationTicksFollowTheNumbers)
{
    Start();
    struct CCase {
        const char* name;
        int autosave;  // stored before
        int undoRedo;
        std::function<void(CSheetDlg&)> act;
        const char* minutes;  // shown afterwards
        bool backupTicked;
        const char* levels;
        bool levelsTicked;
    };
    const auto click = [](int id) { return [id](CSheetDlg& sheet) { Click(sheet, id); }; };
    const auto type = [](int id, const char* text) {
        return [id, text](CSheetDlg& sheet) { Type(sheet, id, QString::fromLatin1(text)); };
    };
    // Clicks on the upper (steps > 0) or lower half of a spin button.
    const auto spin = [](int id, int steps) {
        return [id, steps](CSheetDlg& sheet) {
            auto* button = Control<CSpinButton>(sheet, id);
            ASSERT_NE(button, nullptr);
            const QPoint at(button->width() / 2,
                            steps > 0 ? button->height() / 4 : button->height() * 3 / 4);
            for (int i = 0; i < std::abs(steps); ++i)
                QTest::mouseClick(button, Qt::LeftButton, {}, at);
        };
    };
    const CCase cases[] = {
        {"shown", 10, 0, [](CSheetDlg&) {}, "10", true, "0", false},
        {"backup unticked", 10, 20, click(Ctl::kAutomaticBackup), "0", false, "20", true},
        {"backup ticked at 0", 0, 20, click(Ctl::kAutomaticBackup), "10", true, "20", true},
        {"unticked and ticked again at 5", 5, 20,
         [](CSheetDlg& sheet) {
             Click(sheet, Ctl::kAutomaticBackup);
             Click(sheet, Ctl::kAutomaticBackup);
         },
         "10", true, "20", true},
        {"levels ticked at 0", 10, 0, click(Ctl::kNumberOfLevels), "10", true, "20", true},
        {"levels unticked", 10, 20, click(Ctl::kNumberOfLevels), "10", true, "0", false},
        {"typing 0 unticks", 10, 20, type(Ctl::kUndoLevels, "0"), "10", true, "0", false},
        {"typing a number ticks", 0, 0, type(Ctl::kBackupMinutes, "15"), "15", true, "0", false},
        {"typing no number leaves the tick", 10, 20, type(Ctl::kBackupMinutes, "1x"), "1x", true,
         "20", true},
        {"spin up to the top", 118, 99, spin(Ctl::kBackupSpin, 5), "120", true, "99", true},
        {"spin down to 0", 2, 2, spin(Ctl::kUndoLevelsSpin, -5), "2", true, "0", false},
        {"spin up from 0 ticks", 0, 0, spin(Ctl::kUndoLevelsSpin, 1), "0", false, "1", true},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.name);
        Settings().m_autosave = c.autosave;
        Settings().m_undoRedo = c.undoRedo;
        EXPECT_TRUE(WithOptions([&](CSheetDlg& sheet) {
            ShowPage(sheet, kConfiguration);
            c.act(sheet);
            EXPECT_EQ(Text(sheet, Ctl::kBackupMinutes), QString::fromLatin1(c.minutes));
            EXPECT_EQ(Control<QCheckBox>(sheet, Ctl::kAutomaticBackup)->isChecked(),
                      c.backupTicked);
            EXPECT_EQ(Text(sheet, Ctl::kUndoLevels), QString::fromLatin1(c.levels));
            EXPECT_EQ(Control<QCheckBox>(sheet, Ctl::kNumberOfLevels)->isChecked(), c.levelsTicked);
        }));
    }

    // Unticking the backup and pressing OK turns autosave off.
    Settings().m_autosave = 10;
    EXPECT_TRUE(WithOptions([&](CSheetDlg& sheet) {
        ShowPage(sheet, kConfiguration);
        Click(sheet, Ctl::kAutomaticBackup);
        Click(sheet, Ctl::kOk);
    }));
    EXPECT_EQ(Settings().m_autosave, 0);
}

TEST_F(OptionsSheetTest, HelpShowsThePageInFront)
{
    Start();
    std::vector<unsigned int> contexts;
    const CHelpHandler previous =
        SetHelpHandler([&](unsigned int context) { contexts.push_back(context); });
    EXPECT_TRUE(WithOptions([&](CSheetDlg& sheet) {
        for (int page = 0; page < 3; ++page) {
            ShowPage(sheet, page);
            Click(sheet, Ctl::kHelp);
        }
    }));
    SetHelpHandler(previous);
    EXPECT_EQ(contexts,
              (std::vector<unsigned int>{0x20000u + 185, 0x20000u + 202, 0x20000u + 5083}));
}

}  // namespace
