#pragma once
// The settings in the user's profile (QSettings): the 50 "Preferences" values, the game folder
// of each product, the recent-file list, the tool-bar layout and the Tip of the Day values.
// Floats are stored as text written with "%f" and read back with atof; ints and colours as
// integers.

#include "framework/Settings.h"

#include <QByteArray>
#include <QRect>
#include <QString>
#include <QStringList>

#include <span>
#include <string_view>

class QSettings;

// The range the Options sheet accepts for a ranged setting ("Horizon Distance", "3DO Distance",
// "Grid Distance", "Alignment", "FrameRate", "VertexScaling", "Autosave", "UndoRedo"); loading
// brings a stored value outside it to the nearest end. Null for any other name.
struct CSettingRange {
    std::string_view name;
    double low;
    double high;
};
[[nodiscard]] const CSettingRange* SettingRange(std::string_view name);

class CSettingsStore {
public:
    explicit CSettingsStore(QSettings& profile);

    // Start-up: every "Preferences" value with its default, "Grid" raised to 0.1 when smaller,
    // ranged values clamped to the ranges of the Options sheet; a mode, method or list position
    // that names nothing, and a float that is no finite number, take their defaults.
    void LoadPreferences(CSettings& settings);
    // Exit: every value (floats as "%f").
    void SavePreferences(const CSettings& settings);

    // The game folder chosen for product 0 or 1 (group "Game", "Korvath Path" / "Varnok Path");
    // empty when none was chosen.
    QString GameFolder(int product) const;
    void SetGameFolder(int product, const QString& folder);

    // The command that starts the game of product 0 or 1 for Test Level (group "Game",
    // "Launcher0" / "Launcher1"): words put before the game's program; empty for the default.
    QString Launcher(int product) const;
    void SetLauncher(int product, const QString& command);

    // "Recent File List": "File1" .. "File4".
    QStringList RecentFiles() const;
    void SetRecentFiles(const QStringList& files);

    // "ToolBar": the main window's saved tool-bar layout (empty when none).
    QByteArray ToolBarState() const;
    void SetToolBarState(const QByteArray& state);

    QSettings& Profile() { return m_profile; }

private:
    QSettings& m_profile;
};

// The main window's normal rectangle at start-up: when "Right" or "Bottom" is 0 the four sides
// become workArea's first. A saved rectangle that shows on none of the screens (given by their
// work areas; workArea alone when none is given) moves to the nearest place inside workArea, the
// primary screen's, and shrinks to it when larger. The settings take the rectangle; it is
// returned as (left, top, right - left, bottom - top).
QRect PlaceMainWindow(CSettings& settings, const QRect& workArea,
                      std::span<const QRect> screens = {});
