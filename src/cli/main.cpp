#include "cli/Cli.h"
#include "cli/LoadedAudioDevice.h"
#include "sample/Player.h"

#include <iostream>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    LoadedAudioDevice audio(LoadedAudioDevice::DefaultModulePath());
    ScopedAudioDevice audioScope(audio);
    int code = RunCli(args, std::cout, std::cerr);
    PlayerStop();
    return code;
}
