#include "engine/CdAudio.h"

#include "engine/ParseWave.h"
#include "framework/CFormat.h"
#include "framework/Exceptions.h"
#include "framework/FileIO.h"
#include "resources/GameIndex.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <system_error>

namespace {

constexpr int kPlayFailed = 1;

// The length in seconds of the WAV file's samples, read from its chunk headers only; 0 when it
// is no WAV or cannot be read.
std::uint16_t ReadTrackLength(const std::filesystem::path& file)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error)
        return 0;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return 0;
    const WaveByteReader read = [&in](std::uint64_t offset, std::span<std::uint8_t> out) {
        in.clear();
        in.seekg(static_cast<std::streamoff>(offset));
        in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size()));
        return in.good() || static_cast<std::size_t>(in.gcount()) == out.size();
    };
    CWaveLayout layout;
    if (!FindWaveChunks(size, read, layout) || layout.m_format.m_avgBytesPerSec == 0)
        return 0;
    const std::uint32_t seconds = layout.m_dataSize / layout.m_format.m_avgBytesPerSec;
    return static_cast<std::uint16_t>(
        std::min<std::uint32_t>(seconds, std::numeric_limits<std::uint16_t>::max()));
}

}  // namespace

CCdAudio::CCdAudio(SoundDevice* device, std::filesystem::path gameFolder)
    : m_device(device), m_gameFolder(std::move(gameFolder))
{}

CCdAudio::~CCdAudio()
{
    Close();
}

std::filesystem::path CCdAudio::FindTrackFile(int track) const
{
    if (track < 1 || track > kMaxTracks || m_gameFolder.empty())
        return {};
    return FindPathNoCase(m_gameFolder, FormatC("music/track%02d.wav", track));
}

int CCdAudio::Open()
{
    m_trackCount = 0;
    m_trackLengths.fill(0);
    if (!m_device || !m_device->IsOpen())
        return 0;
    int count = 0;
    for (int track = kMaxTracks; track >= 1 && count == 0; --track)
        if (!FindTrackFile(track).empty())
            count = track;
    for (int track = 1; track <= count; ++track) {
        const std::filesystem::path file = FindTrackFile(track);
        if (!file.empty())
            m_trackLengths[static_cast<std::size_t>(track - 1)] = ReadTrackLength(file);
    }
    m_trackCount = static_cast<std::uint16_t>(count);
    return count;
}

int CCdAudio::PlayTrack(int track)
{
    Close();
    if (!m_device || !m_device->IsOpen())
        return kPlayFailed;
    const std::filesystem::path file = FindTrackFile(track);
    if (file.empty())
        return kPlayFailed;
    // The device takes at most 2^31 - 1 bytes of samples.
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error || size > static_cast<std::uintmax_t>(std::numeric_limits<std::int32_t>::max()))
        return kPlayFailed;
    std::vector<std::uint8_t> bytes;
    try {
        bytes = ReadFileBytes(file);
    } catch (const CFileException&) {
        return kPlayFailed;
    }
    CWaveFormat format;
    std::span<const std::uint8_t> data;
    if (!ParseWave(bytes, format, data))
        return kPlayFailed;
    std::unique_ptr<SoundBuffer> buffer = m_device->CreateBuffer(format, data);
    if (!buffer)
        return kPlayFailed;
    buffer->SetMode(ESound3dMode::disabled);
    buffer->Play(false);
    m_playing = std::move(buffer);
    return 0;
}

void CCdAudio::Close()
{
    if (!m_playing)
        return;
    if (m_playing->IsPlaying())
        m_playing->Stop();
    m_playing.reset();
}

int CCdAudio::GetTrackLength(int track) const
{
    if (track < 1 || track > m_trackCount)
        return 0;
    return m_trackLengths[static_cast<std::size_t>(track - 1)];
}

bool CCdAudio::IsPlaying() const
{
    return m_playing && m_playing->IsPlaying();
}
