#pragma once
// One sound loaded by CDsound: its name in lower case and its buffer.

#include "engine/SoundDevice.h"

#include <memory>
#include <string>

class CDsoundEntry {
public:
    CDsoundEntry(std::string name, std::unique_ptr<SoundBuffer> buffer)
        : m_name(std::move(name)), m_buffer(std::move(buffer))
    {}

    std::string m_name;
    std::unique_ptr<SoundBuffer> m_buffer;  // never null
};
