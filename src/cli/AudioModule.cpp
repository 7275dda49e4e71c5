// The module wloe-cli loads when it first plays: PortAudio's device, with ALSA and JACK behind it.
#include "cli/LoadedAudioDevice.h"
#include "platform/PortAudioDevice.h"

extern "C" __attribute__((visibility("default"))) AudioDevice* WloeCreateAudioDevice() {
    return new PortAudioDevice();
}

static_assert(std::is_same_v<decltype(&WloeCreateAudioDevice), LoadedAudioDevice::EntryPoint>);
