#include "engine/audio/OpenAlSoundBuffer.h"

#include <cmath>

COpenAlSoundBuffer::COpenAlSoundBuffer(ALCcontext* context, ALuint buffer, ALuint source)
    : m_context(context), m_buffer(buffer), m_source(source)
{}

std::unique_ptr<COpenAlSoundBuffer> COpenAlSoundBuffer::Create(ALCcontext* context, ALenum format,
                                                               const void* samples, ALsizei size,
                                                               ALsizei rate)
{
    if (alcGetCurrentContext() != context)
        alcMakeContextCurrent(context);
    alGetError();
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    if (alGetError() != AL_NO_ERROR)
        return nullptr;
    alBufferData(buffer, format, samples, size, rate);
    if (alGetError() != AL_NO_ERROR) {
        alDeleteBuffers(1, &buffer);
        return nullptr;
    }
    ALuint source = 0;
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR) {
        alDeleteBuffers(1, &buffer);
        return nullptr;
    }
    alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
    std::unique_ptr<COpenAlSoundBuffer> sound(new COpenAlSoundBuffer(context, buffer, source));
    sound->SetDistances(1.0f, 5.0f);
    sound->ApplyPlacement();
    return sound;
}

COpenAlSoundBuffer::~COpenAlSoundBuffer()
{
    MakeCurrent();
    alSourceStop(m_source);
    alSourcei(m_source, AL_BUFFER, 0);
    alDeleteSources(1, &m_source);
    alDeleteBuffers(1, &m_buffer);
}

void COpenAlSoundBuffer::MakeCurrent() const
{
    if (alcGetCurrentContext() != m_context)
        alcMakeContextCurrent(m_context);
}

void COpenAlSoundBuffer::Play(bool looping)
{
    MakeCurrent();
    alSourcei(m_source, AL_LOOPING, looping ? AL_TRUE : AL_FALSE);
    if (!IsPlaying())
        alSourcePlay(m_source);
}

void COpenAlSoundBuffer::Stop()
{
    MakeCurrent();
    // Paused, the source keeps its place and Play goes on from there.
    alSourcePause(m_source);
}

void COpenAlSoundBuffer::Rewind()
{
    MakeCurrent();
    alSourceRewind(m_source);
}

bool COpenAlSoundBuffer::IsPlaying() const
{
    MakeCurrent();
    ALint state = AL_STOPPED;
    alGetSourcei(m_source, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

void COpenAlSoundBuffer::SetVolume(int hundredthsDb)
{
    MakeCurrent();
    float gain = 1.0f;
    if (hundredthsDb <= -10000)
        gain = 0.0f;
    else if (hundredthsDb < 0)
        gain = static_cast<float>(std::pow(10.0, hundredthsDb / 2000.0));
    alSourcef(m_source, AL_GAIN, gain);
}

void COpenAlSoundBuffer::SetPosition(const CVector3& position)
{
    m_position = position;
    ApplyPlacement();
}

void COpenAlSoundBuffer::SetDistances(float minimum, float maximum)
{
    MakeCurrent();
    alSourcef(m_source, AL_REFERENCE_DISTANCE, minimum);
    alSourcef(m_source, AL_MAX_DISTANCE, maximum);
    alSourcef(m_source, AL_ROLLOFF_FACTOR, 1.0f);
}

void COpenAlSoundBuffer::SetMode(ESound3dMode mode)
{
    m_mode = mode;
    ApplyPlacement();
}

void COpenAlSoundBuffer::ApplyPlacement()
{
    MakeCurrent();
    if (m_mode == ESound3dMode::disabled) {
        // Relative to the listener at distance 0: heard at full volume from wherever it is.
        alSourcei(m_source, AL_SOURCE_RELATIVE, AL_TRUE);
        alSource3f(m_source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    } else {
        alSourcei(m_source, AL_SOURCE_RELATIVE, AL_FALSE);
        alSource3f(m_source, AL_POSITION, m_position.x, m_position.y, -m_position.z);
    }
}
