#include "app/SettingsStore.h"

#include <QSettings>

CSettingsStore::CSettingsStore(QSettings& profile) : m_profile(profile) {}
void CSettingsStore::LoadPreferences(CSettings&) {}
void CSettingsStore::SavePreferences(const CSettings&) {}
QString CSettingsStore::GameFolder(int) const { return {}; }
void CSettingsStore::SetGameFolder(int, const QString&) {}
QStringList CSettingsStore::RecentFiles() const { return {}; }
void CSettingsStore::SetRecentFiles(const QStringList&) {}
QByteArray CSettingsStore::ToolBarState() const { return {}; }
void CSettingsStore::SetToolBarState(const QByteArray&) {}
QRect PlaceMainWindow(CSettings& settings, const QRect&)
{
    return QRect(settings.m_left, settings.m_top, settings.m_right - settings.m_left,
                 settings.m_bottom - settings.m_top);
}
