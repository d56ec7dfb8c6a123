#include "app/SettingsStore.h"

#include "engine/gl/GlDisplayModes.h"
#include "framework/CFormat.h"

#include <QSettings>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

const QString kPreferences = QStringLiteral("Preferences");
const QString kGame = QStringLiteral("Game");
const QString kRecentFileList = QStringLiteral("Recent File List");
const QString kToolBar = QStringLiteral("ToolBar");
constexpr int kRecentFileCount = 4;

// The ranges the Options sheet accepts; a value outside (an old or hand-edited profile) is
// brought to the nearest end when it is loaded.
constexpr CSettingRange kRanges[] = {
    {"Horizon Distance", 0.5, 500.0}, {"3DO Distance", 0.0, 500.0}, {"Grid Distance", 0.05, 500.0},
    {"Alignment", -2.0, 24.0},        {"FrameRate", 1.0, 100.0},    {"VertexScaling", 0.005, 1.0},
    {"Autosave", 0.0, 120.0},         {"UndoRedo", 0.0, 100.0},
};

// Settings that take one of the values low .. high; any other value loads as the default (it
// names no mode, method or list entry that the editor has).
struct CChoice {
    std::string_view name;
    std::int32_t low;
    std::int32_t high;
};

constexpr CChoice kChoices[] = {
    {"RenderMode", 0, 4},    // the five render modes
    {"RenderMethod", 0, 2},  // neighbour, portal, potential visible set
    {"Adjoin", 0, 2},        // "None", "Transparent", "Solid"
    {"LightMode", 0, 1},     // off, on
    // "None" and the render sizes of the display-mode list.
    {"StretchMode", 0, static_cast<std::int32_t>(kStretchRenderSizes.size())},
};

template <typename T, std::size_t N>
const T* Find(const T (&table)[N], std::string_view name)
{
    for (const T& row : table)
        if (row.name == name)
            return &row;
    return nullptr;
}

QString Key(std::string_view name)
{
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

// An integer value: the default when the value is missing or is no integer of the type's range.
template <typename T>
T ReadInteger(const QSettings& profile, const QString& key, T fallback)
{
    const QVariant value = profile.value(key);
    if (!value.isValid())
        return fallback;
    bool ok = false;
    const qlonglong number = value.toString().trimmed().toLongLong(&ok);
    if (!ok || number < static_cast<qlonglong>(std::numeric_limits<T>::min()) ||
        number > static_cast<qlonglong>(std::numeric_limits<T>::max()))
        return fallback;
    return static_cast<T>(number);
}

// A float value: text read with atof in the C locale (no number gives 0.0), then narrowed.
float ReadFloat(const QSettings& profile, const QString& key, float fallback)
{
    const QVariant value = profile.value(key);
    if (!value.isValid())
        return fallback;
    return static_cast<float>(AtofC(value.toString().toLatin1().constData()));
}

}  // namespace

const CSettingRange* SettingRange(std::string_view name)
{
    return Find(kRanges, name);
}

CSettingsStore::CSettingsStore(QSettings& profile) : m_profile(profile) {}

void CSettingsStore::LoadPreferences(CSettings& settings)
{
    const CSettings defaults;
    m_profile.beginGroup(kPreferences);
    for (const CSettingInfo& info : CSettings::Table()) {
        const QString key = Key(info.name);
        const CSettingRange* range = SettingRange(info.name);
        switch (info.kind) {
        case ESettingKind::Int: {
            const std::int32_t fallback = defaults.*info.intMember;
            std::int32_t value = ReadInteger(m_profile, key, fallback);
            if (range)
                value = std::clamp(value, static_cast<std::int32_t>(range->low),
                                   static_cast<std::int32_t>(range->high));
            if (const CChoice* choice = Find(kChoices, info.name);
                choice && (value < choice->low || value > choice->high))
                value = fallback;
            settings.*info.intMember = value;
            break;
        }
        case ESettingKind::Float: {
            float value = ReadFloat(m_profile, key, defaults.*info.floatMember);
            // "nan" and "inf" read as numbers; no setting means them (they would be written
            // back as they are).
            if (!std::isfinite(value))
                value = defaults.*info.floatMember;
            if (range)
                value = std::clamp(value, static_cast<float>(range->low),
                                   static_cast<float>(range->high));
            settings.*info.floatMember = value;
            break;
        }
        case ESettingKind::Color:
            settings.*info.colorMember = ReadInteger(m_profile, key, defaults.*info.colorMember);
            break;
        }
    }
    m_profile.endGroup();
    settings.ApplyLoadRules();
}

void CSettingsStore::SavePreferences(const CSettings& settings)
{
    m_profile.beginGroup(kPreferences);
    for (const CSettingInfo& info : CSettings::Table()) {
        const QString key = Key(info.name);
        switch (info.kind) {
        case ESettingKind::Int:
            m_profile.setValue(key, settings.*info.intMember);
            break;
        case ESettingKind::Float:
            m_profile.setValue(key, QString::fromStdString(FormatC(
                                        "%f", static_cast<double>(settings.*info.floatMember))));
            break;
        case ESettingKind::Color:
            m_profile.setValue(key, settings.*info.colorMember);
            break;
        }
    }
    m_profile.endGroup();
}

namespace {

// A text value as the user wrote it: the settings file reads a hand-written value with commas
// outside quotes as a list, which comes back joined.
QString TextValue(const QVariant& value)
{
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

QString GameFolderKey(int product)
{
    switch (product) {
    case 0:
        return kGame + QStringLiteral("/Korvath Path");
    case 1:
        return kGame + QStringLiteral("/Varnok Path");
    default:
        return {};
    }
}

}  // namespace

QString CSettingsStore::GameFolder(int product) const
{
    const QString key = GameFolderKey(product);
    return key.isEmpty() ? QString() : TextValue(m_profile.value(key));
}

void CSettingsStore::SetGameFolder(int product, const QString& folder)
{
    const QString key = GameFolderKey(product);
    if (key.isEmpty())
        return;
    if (folder.isEmpty())
        m_profile.remove(key);
    else
        m_profile.setValue(key, folder);
}

QString CSettingsStore::Launcher(int product) const
{
    if (product != 0 && product != 1)
        return {};
    return TextValue(m_profile.value(kGame + QStringLiteral("/Launcher%1").arg(product)));
}

void CSettingsStore::SetLauncher(int product, const QString& command)
{
    if (product != 0 && product != 1)
        return;
    const QString key = kGame + QStringLiteral("/Launcher%1").arg(product);
    if (command.isEmpty())
        m_profile.remove(key);
    else
        m_profile.setValue(key, command);
}

QStringList CSettingsStore::RecentFiles() const
{
    QStringList files;
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const QString file =
            m_profile.value(kRecentFileList + QStringLiteral("/File%1").arg(i)).toString();
        if (!file.isEmpty())
            files.push_back(file);
    }
    return files;
}

void CSettingsStore::SetRecentFiles(const QStringList& files)
{
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const QString key = kRecentFileList + QStringLiteral("/File%1").arg(i);
        if (i <= files.size() && !files[i - 1].isEmpty())
            m_profile.setValue(key, files[i - 1]);
        else
            m_profile.remove(key);
    }
}

QByteArray CSettingsStore::ToolBarState() const
{
    return m_profile.value(kToolBar + QStringLiteral("/State")).toByteArray();
}

void CSettingsStore::SetToolBarState(const QByteArray& state)
{
    m_profile.setValue(kToolBar + QStringLiteral("/State"), state);
}

namespace {

// How much of the window must lie on a screen for the user to see and grab it.
constexpr int kLeastVisible = 48;

bool ShowsOnAScreen(const QRect& window, std::span<const QRect> screens)
{
    return std::ranges::any_of(screens, [&](const QRect& screen) {
        const QRect shown = window & screen;
        return shown.width() >= std::min(kLeastVisible, window.width()) &&
               shown.height() >= std::min(kLeastVisible, window.height());
    });
}

}  // namespace

QRect PlaceMainWindow(CSettings& settings, const QRect& workArea, std::span<const QRect> screens)
{
    // No rectangle saved yet, or one without area or too large for a window (it would place an
    // invisible window).
    const qint64 width = qint64{settings.m_right} - settings.m_left;
    const qint64 height = qint64{settings.m_bottom} - settings.m_top;
    constexpr qint64 kLargest = std::numeric_limits<int>::max();
    QRect placed;
    if (settings.m_right == 0 || settings.m_bottom == 0 || width <= 0 || height <= 0 ||
        width > kLargest || height > kLargest) {
        placed = workArea;
    } else {
        placed = QRect(settings.m_left, settings.m_top, static_cast<int>(width),
                       static_cast<int>(height));
        const std::span<const QRect> known = screens.empty() ? std::span(&workArea, 1) : screens;
        if (!ShowsOnAScreen(placed, known)) {
            // Saved on a screen that is gone: the nearest place inside the work area, no larger
            // than it.
            placed.setSize(placed.size().boundedTo(workArea.size()));
            placed.moveLeft(std::clamp(placed.left(), workArea.left(),
                                       workArea.left() + workArea.width() - placed.width()));
            placed.moveTop(std::clamp(placed.top(), workArea.top(),
                                      workArea.top() + workArea.height() - placed.height()));
        }
    }
    settings.m_left = placed.left();
    settings.m_top = placed.top();
    settings.m_right = placed.left() + placed.width();
    settings.m_bottom = placed.top() + placed.height();
    return placed;
}
