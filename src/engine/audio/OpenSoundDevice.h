#pragma once
// The application's sound device: OpenAL Soft on the named output device (the default one when
// the name is empty), or the silent device when no such device opens or the program was built
// without OpenAL.

#include "engine/SoundDevice.h"

#include <memory>
#include <string>

std::unique_ptr<SoundDevice> OpenSoundDevice(const std::string& deviceName = {});
