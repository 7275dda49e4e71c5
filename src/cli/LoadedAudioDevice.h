#pragma once

#include "platform/AudioDevice.h"

#include <memory>
#include <string>

// The wave-out device of wloe-cli, in a module of its own (PortAudio with ALSA and JACK behind
// it) that is loaded on the first call: the commands that never play start without those
// libraries. When the module cannot be loaded every call fails with kWaveNoDevice, and ErrorText
// says why.
class LoadedAudioDevice : public AudioDevice {
public:
    // `module`: the path of the shared object to load.
    explicit LoadedAudioDevice(std::string module);
    ~LoadedAudioDevice() override;
    LoadedAudioDevice(const LoadedAudioDevice&) = delete;
    LoadedAudioDevice& operator=(const LoadedAudioDevice&) = delete;

    WaveResult QueryFormat(const WaveFormat& format) override;
    WaveResult Open(const WaveFormat& format, WaveCallback callback) override;
    WaveResult Close() override;
    WaveResult Prepare(WaveHeader& header) override;
    WaveResult Unprepare(WaveHeader& header) override;
    WaveResult Write(WaveHeader& header) override;
    WaveResult BreakLoop() override;
    WaveResult Reset() override;
    std::string ErrorText(WaveResult code) override;

    // Whether the module has been loaded (by the first call that needed it).
    bool IsLoaded() const { return m_pDevice != nullptr; }

    // The module's one entry point: a new device, owned by the caller.
    static constexpr const char* kEntryPoint = "WloeCreateAudioDevice";
    using EntryPoint = AudioDevice* (*)();

    // Where wloe-cli looks for its audio module: beside the program, or in the library directory
    // an installed program has.
    static std::string DefaultModulePath();

private:
    AudioDevice* Device();

    std::string m_strModule;
    void* m_pHandle = nullptr;
    std::unique_ptr<AudioDevice> m_pDevice;
    bool m_bTried = false;
    std::string m_strProblem;
};
