#include "cli/Cli.h"
#include "platform/PortAudioDevice.h"
#include "sample/Player.h"

#include <iostream>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    PortAudioDevice audio;
    ScopedAudioDevice audioScope(audio);
    int code = RunCli(args, std::cout, std::cerr);
    PlayerStop();
    return code;
}
