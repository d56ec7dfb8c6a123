#include "engine/audio/OpenSoundDevice.h"

#include "engine/audio/OpenAlSoundDevice.h"
#include "engine/audio/SilentSoundDevice.h"

std::unique_ptr<SoundDevice> OpenSoundDevice(const std::string& deviceName)
{
    if (std::unique_ptr<COpenAlSoundDevice> device = COpenAlSoundDevice::Open(deviceName))
        return device;
    return std::make_unique<CSilentSoundDevice>();
}
