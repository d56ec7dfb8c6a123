#include "engine/Dsound.h"

#include "engine/ParseWave.h"
#include "engine/SoundDevice.h"
#include "framework/Exceptions.h"
#include "framework/StringUtil.h"
#include "level/GameResources.h"
#include "level/QzlSections.h"
#include "resources/GameArchive.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSilence = -10000;
constexpr float kMinimumDistance = 1.0f;
constexpr float kMaximumDistance = 5.0f;

}  // namespace

int VolumeToHundredthsDb(float volume)
{
    if (!(volume > 0.0f))
        return kSilence;
    const double db = 2000.0 * std::log10(static_cast<double>(std::min(volume, 1.0f)));
    // A tiny volume would give a value the device does not take; it means silence.
    return db <= kSilence ? kSilence : static_cast<int>(db);
}

CDsound::CDsound(SoundDevice* device, const CGameResources* game, const CQzlSections* level)
    : m_device(device), m_game(game), m_level(level)
{}

CDsound::~CDsound()
{
    ReleaseAll();
}

int CDsound::FindSound(std::string_view name, int& position) const
{
    return FindSortedNoCase(
        static_cast<int>(m_sounds.size()),
        [this](int i) -> std::string_view { return m_sounds[static_cast<std::size_t>(i)]->m_name; },
        name, position);
}

std::vector<std::uint8_t> CDsound::FetchBytes(const std::string& name) const
{
    int at = 0;
    if (m_game && m_game->m_treeSounds.Find(name, at)) {
        const CTreeObject& entry = *m_game->m_treeSounds.m_entries[static_cast<std::size_t>(at)];
        if (!m_game->m_soundArchive || entry.m_offset < 0 || entry.m_size < 0)
            return {};
        try {
            return m_game->m_soundArchive->ReadBytes(static_cast<std::uint32_t>(entry.m_offset),
                                                     static_cast<std::uint32_t>(entry.m_size));
        } catch (const CArchiveException&) {
            return {};  // the index points outside the archive
        } catch (const CFileException&) {
            return {};  // the archive cannot be read
        }
    }
    if (m_level && m_level->m_levelFiles.Find(name, at)) {
        const CTreeObject& entry = *m_level->m_levelFiles.m_entries[static_cast<std::size_t>(at)];
        if (entry.m_data)
            return *entry.m_data;
    }
    return {};
}

int CDsound::LoadSound(std::string_view name)
{
    if (!m_device || !m_device->IsOpen())
        return -1;
    std::string lower = ToLowerAscii(name);
    int position = 0;
    if (FindSound(lower, position))
        return position;

    const std::vector<std::uint8_t> bytes = FetchBytes(lower);
    if (bytes.empty())
        return -1;
    CWaveFormat format;
    std::span<const std::uint8_t> data;
    if (!ParseWave(bytes, format, data))
        return -1;
    std::unique_ptr<SoundBuffer> buffer = m_device->CreateBuffer(format, data);
    if (!buffer)
        return -1;
    m_sounds.insert(m_sounds.begin() + position,
                    std::make_unique<CDsoundEntry>(std::move(lower), std::move(buffer)));
    return position;
}

void CDsound::Play(std::string_view name, const CVector3& position, float volume, int flags)
{
    int index = 0;
    if (!FindSound(name, index))
        index = LoadSound(name);
    if (index < 0)
        return;
    SetParams(index, position, volume);
    SoundBuffer& buffer = *m_sounds[static_cast<std::size_t>(index)]->m_buffer;
    buffer.Rewind();
    buffer.Play((flags & kPlayLooping) != 0);
}

void CDsound::SetParams(int index, const CVector3& position, float volume)
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_sounds.size())
        return;
    SoundBuffer& buffer = *m_sounds[static_cast<std::size_t>(index)]->m_buffer;
    buffer.SetVolume(VolumeToHundredthsDb(volume));
    buffer.SetPosition(position);
    buffer.SetDistances(kMinimumDistance, kMaximumDistance);
}

void CDsound::SetPosition(std::string_view name, const CVector3& position)
{
    int index = 0;
    if (FindSound(name, index))
        m_sounds[static_cast<std::size_t>(index)]->m_buffer->SetPosition(position);
}

void CDsound::Stop(std::string_view name)
{
    int index = 0;
    if (!FindSound(name, index))
        return;
    SoundBuffer& buffer = *m_sounds[static_cast<std::size_t>(index)]->m_buffer;
    if (buffer.IsPlaying())
        buffer.Stop();
}

void CDsound::PlayAt(int index, int flags)
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_sounds.size())
        return;
    SoundBuffer& buffer = *m_sounds[static_cast<std::size_t>(index)]->m_buffer;
    buffer.SetMode(flags == kPlayLooping ? ESound3dMode::disabled : ESound3dMode::normal);
    buffer.Play((flags & kPlayLooping) != 0);
}

void CDsound::ReleaseAll()
{
    for (const std::unique_ptr<CDsoundEntry>& entry : m_sounds)
        if (entry->m_buffer->IsPlaying())
            entry->m_buffer->Stop();
    m_sounds.clear();
}

void CDsound::SetListener(const CVector3& position, const CVector3& front, const CVector3& top)
{
    if (m_device != nullptr && m_device->IsOpen())
        m_device->SetListener(position, front, top);
}
