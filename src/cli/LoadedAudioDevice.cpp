#include "cli/LoadedAudioDevice.h"

#include <dlfcn.h>
#include <filesystem>

LoadedAudioDevice::LoadedAudioDevice(std::string module) : m_strModule(std::move(module)) {}

LoadedAudioDevice::~LoadedAudioDevice() {
    // The device goes before the code that implements it. The module stays mapped: PortAudio's
    // and ALSA's own exit handlers may still point into it.
    m_pDevice.reset();
}

std::string LoadedAudioDevice::DefaultModulePath() {
    std::error_code error;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    std::filesystem::path directory = error ? std::filesystem::path(".") : program.parent_path();
    for (const std::filesystem::path& candidate :
         {directory / WLOE_AUDIO_MODULE, directory / WLOE_INSTALLED_AUDIO_MODULE})
        if (std::filesystem::exists(candidate, error))
            return candidate.string();
    return (directory / WLOE_AUDIO_MODULE).string();
}

AudioDevice* LoadedAudioDevice::Device() {
    if (m_bTried)
        return m_pDevice.get();
    m_bTried = true;
    m_pHandle = ::dlopen(m_strModule.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_pHandle) {
        const char* why = ::dlerror();
        m_strProblem = "The audio module could not be loaded: " + std::string(why ? why : m_strModule);
        return nullptr;
    }
    auto create = reinterpret_cast<EntryPoint>(::dlsym(m_pHandle, kEntryPoint));
    if (!create) {
        m_strProblem = "The audio module " + m_strModule + " has no " + kEntryPoint;
        return nullptr;
    }
    m_pDevice.reset(create());
    return m_pDevice.get();
}

WaveResult LoadedAudioDevice::QueryFormat(const WaveFormat& format) {
    AudioDevice* device = Device();
    return device ? device->QueryFormat(format) : kWaveNoDevice;
}

WaveResult LoadedAudioDevice::Open(const WaveFormat& format, WaveCallback callback) {
    AudioDevice* device = Device();
    return device ? device->Open(format, std::move(callback)) : kWaveNoDevice;
}

WaveResult LoadedAudioDevice::Close() {
    AudioDevice* device = Device();
    return device ? device->Close() : kWaveNoDevice;
}

WaveResult LoadedAudioDevice::Prepare(WaveHeader& header) {
    AudioDevice* device = Device();
    return device ? device->Prepare(header) : kWaveNoDevice;
}

WaveResult LoadedAudioDevice::Unprepare(WaveHeader& header) {
    AudioDevice* device = Device();
    return device ? device->Unprepare(header) : kWaveNoDevice;
}

WaveResult LoadedAudioDevice::Write(WaveHeader& header) {
    AudioDevice* device = Device();
    return device ? device->Write(header) : kWaveNoDevice;
}

// Stopping a device that was never loaded has nothing to stop.
WaveResult LoadedAudioDevice::BreakLoop() {
    return m_pDevice ? m_pDevice->BreakLoop() : kWaveOk;
}

WaveResult LoadedAudioDevice::Reset() {
    return m_pDevice ? m_pDevice->Reset() : kWaveOk;
}

std::string LoadedAudioDevice::ErrorText(WaveResult code) {
    if (AudioDevice* device = Device())
        return device->ErrorText(code);
    return m_strProblem;
}
