#include "engine/audio/OpenSoundDevice.h"

#include "engine/audio/SilentSoundDevice.h"

#if QZ_HAVE_OPENAL
#include "engine/audio/OpenAlSoundDevice.h"
#endif

std::unique_ptr<SoundDevice> OpenSoundDevice(const std::string& deviceName)
{
#if QZ_HAVE_OPENAL
    if (std::unique_ptr<COpenAlSoundDevice> device = COpenAlSoundDevice::Open(deviceName))
        return device;
#else
    (void)deviceName;  // built without OpenAL: there is no output device to open
#endif
    return std::make_unique<CSilentSoundDevice>();
}
