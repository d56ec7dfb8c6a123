// The settings in the profile: the 59 "Preferences" values (defaults, round trip, float text,
// the load rules), the other groups, and the main window's placement at start-up.

#include "AppTestSupport.h"

#include "app/MainFrame.h"
#include "app/SettingsStore.h"
#include "support/CommaLocale.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>

#include <cmath>
#include <fstream>

namespace {

QString Key(const CSettingInfo& info)
{
    return QStringLiteral("Preferences/") +
           QString::fromLatin1(info.name.data(), static_cast<qsizetype>(info.name.size()));
}

// Every setting of a and b, as text, for comparisons that name the setting that differs.
void ExpectSameSettings(const CSettings& a, const CSettings& b)
{
    for (const CSettingInfo& info : CSettings::Table()) {
        SCOPED_TRACE(std::string(info.name));
        switch (info.kind) {
        case ESettingKind::Int:
            EXPECT_EQ(a.*info.intMember, b.*info.intMember);
            break;
        case ESettingKind::Float:
            EXPECT_EQ(a.*info.floatMember, b.*info.floatMember);
            break;
        case ESettingKind::Color:
            EXPECT_EQ(a.*info.colorMember, b.*info.colorMember);
            break;
        }
    }
}

class SettingsStoreTest : public AppTest {
protected:
    // A profile of the test's own, on a file of the temporary folder.
    QSettings& Profile()
    {
        if (!m_profile)
            m_profile = std::make_unique<QSettings>(SettingsFile(), QSettings::IniFormat);
        return *m_profile;
    }

    // Stores a main window rectangle in the settings file, as an earlier run left it.
    void SaveWindowRect(int left, int top, int right, int bottom)
    {
        QSettings prepared(SettingsFile(), QSettings::IniFormat);
        prepared.setValue(QStringLiteral("Preferences/Left"), left);
        prepared.setValue(QStringLiteral("Preferences/Top"), top);
        prepared.setValue(QStringLiteral("Preferences/Right"), right);
        prepared.setValue(QStringLiteral("Preferences/Bottom"), bottom);
    }

    std::unique_ptr<QSettings> m_profile;
};

TEST_F(SettingsStoreTest, FirstStartGivesTheDefaults)
{
    CSettingsStore store(Profile());
    CSettings loaded;
    loaded.m_frameRate = 77;  // overwritten by the default
    loaded.m_grid = 3.0f;
    store.LoadPreferences(loaded);
    ExpectSameSettings(loaded, CSettings());
    EXPECT_TRUE(store.GameFolder(0).isEmpty());
    EXPECT_TRUE(store.RecentFiles().isEmpty());
    EXPECT_TRUE(store.ToolBarState().isEmpty());
}

TEST_F(SettingsStoreTest, AllFiftyValuesMakeTheRoundTrip)
{
    // Values unlike the defaults and inside the Options sheet's ranges and value lists; floats
    // that "%f" writes exactly.
    CSettings saved;
    const CSettings defaults;
    int i = 0;
    for (const CSettingInfo& info : CSettings::Table()) {
        switch (info.kind) {
        case ESettingKind::Int:
            saved.*info.intMember = i + 2;
            break;
        case ESettingKind::Float:
            saved.*info.floatMember = 0.5f + static_cast<float>(i) / 64.0f;
            break;
        case ESettingKind::Color:
            saved.*info.colorMember = 0x102030u + static_cast<std::uint32_t>(i) * 0x010101u;
            break;
        }
        ++i;
    }
    // The modes and list positions take one of their few values.
    saved.m_renderMode = 3;
    saved.m_renderMethod = 2;
    saved.m_adjoin = 2;
    saved.m_lightMode = 0;
    saved.m_stretchMode = 4;
    {
        CSettingsStore store(Profile());
        store.SavePreferences(saved);
        Profile().sync();
    }
    // Read back through another profile object on the same file.
    QSettings other(SettingsFile(), QSettings::IniFormat);
    CSettingsStore store(other);
    CSettings loaded;
    store.LoadPreferences(loaded);
    ExpectSameSettings(loaded, saved);
    for (const CSettingInfo& info : CSettings::Table()) {
        if (info.kind == ESettingKind::Int) {
            EXPECT_NE(saved.*info.intMember, defaults.*info.intMember) << info.name;
        }
        if (info.kind == ESettingKind::Float) {
            EXPECT_NE(saved.*info.floatMember, defaults.*info.floatMember) << info.name;
        }
    }
    // Floats are text of "%f", ints and colours integers.
    EXPECT_EQ(other.value(QStringLiteral("Preferences/Grid")).toString(),
              QStringLiteral("0.968750"));
    EXPECT_EQ(other.value(QStringLiteral("Preferences/FrameRate")).toString(),
              QStringLiteral("15"));
    EXPECT_EQ(other.value(QStringLiteral("Preferences/ColorSelect")).toString(),
              QString::number(0x102030 + 14 * 0x010101));
}

TEST_F(SettingsStoreTest, FloatsAreWrittenWithSixDecimalsInAnyLocale)
{
    QZ_USE_COMMA_LOCALE();
    CSettings settings;
    settings.m_grid = 0.1f;
    settings.m_horizonDistance = 12.5f;
    CSettingsStore store(Profile());
    store.SavePreferences(settings);
    EXPECT_EQ(Profile().value(QStringLiteral("Preferences/Grid")).toString(),
              QStringLiteral("0.100000"));
    EXPECT_EQ(Profile().value(QStringLiteral("Preferences/Horizon Distance")).toString(),
              QStringLiteral("12.500000"));
    CSettings loaded;
    store.LoadPreferences(loaded);
    RestoreNumericLocale();
    EXPECT_EQ(loaded.m_horizonDistance, 12.5f);
    EXPECT_EQ(loaded.m_grid, 0.1f);
}

// What a stored text loads as: atof for floats (junk gives 0.0), "Grid" at least 0.1, and every
// value with a range on the Options sheet brought into it.
TEST_F(SettingsStoreTest, LoadRules)
{
    struct Case {
        const char* name;
        const char* text;
        double expected;
    };
    const Case cases[] = {
        {"Grid", "0.05", 0.1f},
        {"Grid", "0.1", 0.1f},
        {"Grid", "0.25", 0.25f},
        {"Grid", "junk", 0.1f},
        {"Grid", "-4", 0.1f},
        {"Removal", "junk", 0.0},
        {"Removal", "  2.5xyz", 2.5},
        {"LayerHeight", "1,5", 1.0},
        {"LayerIndent", "0.300000", 0.3f},
        {"Horizon Distance", "junk", 0.5},
        {"Horizon Distance", "1e9", 500.0},
        {"Horizon Distance", "nan", 10.0},
        {"Horizon Distance", "250", 250.0},
        {"3DO Distance", "-1", 0.0},
        {"Grid Distance", "0.01", 0.05f},
        {"VertexScaling", "0.001", 0.005f},
        {"VertexScaling", "2", 1.0},
        {"FrameRate", "0", 1},
        {"FrameRate", "101", 100},
        {"FrameRate", "60", 60},
        {"FrameRate", "junk", 20},
        {"Alignment", "-3", -2},
        {"Alignment", "25", 24},
        {"Alignment", "-1", -1},
        {"Autosave", "500", 120},
        {"Autosave", "-1", 0},
        {"UndoRedo", "101", 100},
        {"Removal Level", "1000", 1000},
        {"Product", "1", 1},
        {"Left", "99999999999", 0},
        {"ColorGrid", "255", 255},
        // Floats that are no finite number take their defaults.
        {"LayerHeight", "nan", 0.1f},
        {"LayerIndent", "-nan", 0.1f},
        {"Removal", "inf", 1.0},
        {"Horizon Distance", "-inf", 10.0},
        {"VertexScaling", "NAN", 0.01f},
        // A mode, method or list position that names nothing takes its default.
        {"RenderMode", "5", 1},
        {"RenderMode", "-1", 1},
        {"RenderMode", "4", 4},
        {"RenderMode", "0", 0},
        {"StretchMode", "5", 0},
        {"StretchMode", "-1", 0},
        {"StretchMode", "4", 4},
        {"StretchMode", "1", 1},
        {"StretchMode", "0", 0},
        {"RenderMethod", "3", 0},
        {"RenderMethod", "-2", 0},
        {"RenderMethod", "2", 2},
        {"LightMode", "2", 1},
        {"LightMode", "-1", 1},
        {"LightMode", "0", 0},
        {"Adjoin", "3", 0},
        {"Adjoin", "-1", 0},
        {"Adjoin", "2", 2},
    };
    CSettingsStore store(Profile());
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " = \"" + c.text + "\"");
        Profile().clear();
        Profile().setValue(QStringLiteral("Preferences/") + QString::fromLatin1(c.name),
                           QString::fromLatin1(c.text));
        CSettings loaded;
        store.LoadPreferences(loaded);
        for (const CSettingInfo& info : CSettings::Table()) {
            if (info.name != c.name)
                continue;
            switch (info.kind) {
            case ESettingKind::Int:
                EXPECT_EQ(loaded.*info.intMember, static_cast<int>(c.expected));
                break;
            case ESettingKind::Float:
                EXPECT_EQ(loaded.*info.floatMember, static_cast<float>(c.expected));
                break;
            case ESettingKind::Color:
                EXPECT_EQ(loaded.*info.colorMember, static_cast<std::uint32_t>(c.expected));
                break;
            }
        }
    }
}

// A float that loaded as its default is written back as a number, not as "nan".
TEST_F(SettingsStoreTest, NanIsNotWrittenBack)
{
    Profile().setValue(QStringLiteral("Preferences/LayerHeight"), QStringLiteral("nan"));
    CSettingsStore store(Profile());
    CSettings loaded;
    store.LoadPreferences(loaded);
    store.SavePreferences(loaded);
    EXPECT_EQ(Profile().value(QStringLiteral("Preferences/LayerHeight")).toString(),
              QStringLiteral("0.100000"));
}

TEST_F(SettingsStoreTest, GameFoldersRecentFilesAndToolBar)
{
    CSettingsStore store(Profile());
    store.SetGameFolder(0, QStringLiteral("/games/korvath"));
    store.SetGameFolder(1, QStringLiteral("/games/varnok"));
    store.SetGameFolder(2, QStringLiteral("/nowhere"));
    store.SetRecentFiles({QStringLiteral("/a.qze"), QStringLiteral("/b.qze")});
    store.SetToolBarState(QByteArray("\x01\x00\x02", 3));
    EXPECT_EQ(Profile().value(QStringLiteral("Game/Korvath Path")).toString(),
              QStringLiteral("/games/korvath"));
    EXPECT_EQ(Profile().value(QStringLiteral("Game/Varnok Path")).toString(),
              QStringLiteral("/games/varnok"));
    EXPECT_EQ(store.GameFolder(1), QStringLiteral("/games/varnok"));
    EXPECT_TRUE(store.GameFolder(2).isEmpty());
    EXPECT_EQ(Profile().value(QStringLiteral("Recent File List/File2")).toString(),
              QStringLiteral("/b.qze"));
    EXPECT_EQ(store.RecentFiles(),
              QStringList({QStringLiteral("/a.qze"), QStringLiteral("/b.qze")}));
    EXPECT_EQ(store.ToolBarState(), QByteArray("\x01\x00\x02", 3));
    EXPECT_EQ(Profile().value(QStringLiteral("ToolBar/State")).toByteArray(),
              QByteArray("\x01\x00\x02", 3));

    // A shorter list removes the entries after it; an empty folder removes the choice.
    store.SetRecentFiles({QStringLiteral("/c.qze")});
    EXPECT_FALSE(Profile().contains(QStringLiteral("Recent File List/File2")));
    EXPECT_EQ(store.RecentFiles(), QStringList({QStringLiteral("/c.qze")}));
    store.SetGameFolder(0, QString());
    EXPECT_FALSE(Profile().contains(QStringLiteral("Game/Korvath Path")));
}

// Values written by hand in the settings file: a comma outside quotes makes the file's reader
// see a list, which the store gives back as one text; quoted and plain values as they stand.
TEST_F(SettingsStoreTest, HandWrittenGameFoldersAndLaunchersKeepTheirCommas)
{
    {
        std::ofstream file(SettingsFile().toStdString());
        file << "[Game]\n"
                "Korvath Path=/games/a, b\n"
                "Launcher0=wine64, --fast\n"
                "Launcher1=\"'/opt/my runner', x\"\n";
    }
    CSettingsStore store(Profile());
    EXPECT_EQ(store.GameFolder(0), QStringLiteral("/games/a, b"));
    EXPECT_EQ(store.Launcher(0), QStringLiteral("wine64, --fast"));
    EXPECT_EQ(store.Launcher(1), QStringLiteral("'/opt/my runner', x"));
}

TEST(PlaceMainWindow, SavedRectangleOrWorkArea)
{
    const QRect workArea(0, 30, 1280, 994);
    struct Case {
        int left, top, right, bottom;
        QRect expected;
    };
    const Case cases[] = {
        {0, 0, 0, 0, workArea},
        {10, 20, 0, 500, workArea},  // "Right" 0: nothing was saved
        {10, 20, 810, 0, workArea},  // "Bottom" 0
        {100, 50, 900, 650, QRect(100, 50, 800, 600)},
        {-20, -10, 400, 300, QRect(-20, -10, 420, 310)},
        {500, 400, 100, 100, workArea},  // no area: an invisible window
        // Off the only screen: moved to the nearest place inside the work area.
        {3300, 100, 4100, 700, QRect(480, 100, 800, 600)},
        {-2000, -1500, -1000, -900, QRect(0, 30, 1000, 600)},
        {5000, 5000, 9000, 8000, workArea},                  // shrunk to the work area
        {1260, 100, 2060, 700, QRect(480, 100, 800, 600)},   // 20 pixels show: not enough
        {1200, 100, 2000, 700, QRect(1200, 100, 800, 600)},  // 80 pixels show
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.left << "," << c.top << "," << c.right << "," << c.bottom);
        CSettings settings;
        settings.m_left = c.left;
        settings.m_top = c.top;
        settings.m_right = c.right;
        settings.m_bottom = c.bottom;
        const QRect placed = PlaceMainWindow(settings, workArea);
        EXPECT_EQ(placed, c.expected);
        EXPECT_EQ(QRect(settings.m_left, settings.m_top, settings.m_right - settings.m_left,
                        settings.m_bottom - settings.m_top),
                  c.expected);
    }
}

// Two screens side by side: a window on either stays; one saved on a third screen that is gone
// comes to the primary screen.
TEST(PlaceMainWindow, OnTheScreensThatAreThere)
{
    const QRect workArea(0, 0, 1280, 994);
    const QRect screens[] = {workArea, QRect(1280, 0, 1920, 1050)};
    struct Case {
        QRect saved;
        QRect expected;
    };
    const Case cases[] = {
        {QRect(100, 50, 800, 600), QRect(100, 50, 800, 600)},
        {QRect(1400, 100, 800, 600), QRect(1400, 100, 800, 600)},
        {QRect(1000, 100, 800, 600), QRect(1000, 100, 800, 600)},  // across both
        {QRect(3300, 100, 800, 600), QRect(480, 100, 800, 600)},
        {QRect(100, 2000, 800, 600), QRect(100, 394, 800, 600)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.saved.x() << "," << c.saved.y());
        CSettings settings;
        settings.m_left = c.saved.left();
        settings.m_top = c.saved.top();
        settings.m_right = c.saved.left() + c.saved.width();
        settings.m_bottom = c.saved.top() + c.saved.height();
        EXPECT_EQ(PlaceMainWindow(settings, workArea, screens), c.expected);
        EXPECT_EQ(settings.m_left, c.expected.left());
        EXPECT_EQ(settings.m_bottom, c.expected.top() + c.expected.height());
    }
}

// A rectangle saved on a monitor that was unplugged: the main window starts where it can be
// seen.
TEST_F(SettingsStoreTest, AWindowSavedOffTheScreensStartsOnThePrimaryScreen)
{
    SaveWindowRect(20000, 15000, 20400, 15300);
    CAppOptions options = TestOptions();
    options.m_showMainFrame = true;
    CQzEditApp& app = MakeApp(options);
    ASSERT_NE(app.m_pMainFrame, nullptr);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect shown = app.m_pMainFrame->frameGeometry() & screen;
    EXPECT_GE(shown.width(), 200) << "the main window is off the screen";
    EXPECT_GE(shown.height(), 150) << "the main window is off the screen";
    EXPECT_TRUE(screen.contains(QPoint(app.m_settings.m_left, app.m_settings.m_top)));
}

TEST_F(SettingsStoreTest, FirstStartOfTheApplication)
{
    CQzEditApp& app = MakeApp();
    QRect workArea = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(QRect(app.m_settings.m_left, app.m_settings.m_top,
                    app.m_settings.m_right - app.m_settings.m_left,
                    app.m_settings.m_bottom - app.m_settings.m_top),
              workArea);
    EXPECT_EQ(app.m_settings.m_maximized, 0);
    EXPECT_EQ(app.m_settings.m_product, 0);
    EXPECT_EQ(app.m_settings.m_grid, 0.1f);
    EndApp();
    // A normal exit writes every value; floats as "%f".
    QSettings written(SettingsFile(), QSettings::IniFormat);
    EXPECT_EQ(written.value(QStringLiteral("Preferences/Grid")).toString(),
              QStringLiteral("0.100000"));
    for (const CSettingInfo& info : CSettings::Table())
        EXPECT_TRUE(written.contains(Key(info))) << info.name;
}

TEST_F(SettingsStoreTest, MaximizedSurvivesTheStartUp)
{
    SaveWindowRect(100, 50, 900, 650);
    {
        QSettings prepared(SettingsFile(), QSettings::IniFormat);
        prepared.setValue(QStringLiteral("Preferences/Maximized"), 1);
        prepared.setValue(QStringLiteral("Preferences/Grid"), QStringLiteral("0.05"));
    }
    CAppOptions options = TestOptions();
    options.m_showMainFrame = true;
    CQzEditApp& app = MakeApp(options);
    EXPECT_EQ(app.m_settings.m_maximized, 1);
    EXPECT_EQ(app.m_settings.m_left, 100);
    EXPECT_EQ(app.m_settings.m_bottom, 650);
    EXPECT_EQ(app.m_settings.m_grid, 0.1f);
    ASSERT_NE(app.m_pMainFrame, nullptr);
    EXPECT_TRUE(app.m_pMainFrame->isMaximized());
    EndApp();
    QSettings written(SettingsFile(), QSettings::IniFormat);
    EXPECT_EQ(written.value(QStringLiteral("Preferences/Maximized")).toInt(), 1);
}

}  // namespace
