// wloe-cli play: a sample file through the player, on the installed wave-out device.
#include "cli/CliContext.h"
#include "sample/Player.h"
#include "sample/SampleDoc.h"

#include <chrono>
#include <cmath>
#include <memory>
#include <optional>
#include <ostream>
#include <thread>
#include <vector>

namespace {
struct PlayOptions {
    std::string file;
    bool loop = false;
    std::vector<std::string> range;
    std::string seconds;
};

std::uint32_t ParseFrames(const std::string& text, const char* what) {
    long long value = ParseInteger(text, what);
    if (value < 0 || value > 0xFFFFFFFFLL)
        throw CliUsageError(std::string(what) + ": not a frame count: " + text);
    return static_cast<std::uint32_t>(value);
}

// Waits until the player has nothing queued or the time is up.
void WaitWhilePlaying(std::optional<double> seconds) {
    using Clock = std::chrono::steady_clock;
    auto until = seconds ? Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                              std::chrono::duration<double>(*seconds))
                         : Clock::time_point::max();
    while (PlayerIsPlaying() && Clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

// Only a loop plays on by itself: it lasts exactly the time asked for.
void WaitWhileLooping(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

bool Play(const PlayOptions& options, std::optional<std::pair<std::uint32_t, std::uint32_t>> range,
          std::optional<double> seconds, CliContext& context) {
    CSampleDoc doc;
    if (!doc.OnOpenDocument(options.file))
        return false;
    if (range && std::uint64_t{range->first} + range->second > doc.m_nFrames) {
        context.err << "The range " << range->first << " + " << range->second << " lies beyond the sample ("
                    << doc.m_nFrames << " frames)\n";
        return false;
    }
    PlayerStop();
    if (!PlayerOpen(doc.m_bStereo, doc.m_nRate))
        return false;
    bool queued = false;
    if (range)
        queued = PlayerWrite(doc.m_pData.get() + std::size_t{range->first} * doc.Channels(),
                             std::size_t{range->second} * doc.Channels(), false);
    else if (options.loop)
        queued = PlayerLoopPlay(doc);
    else
        queued = PlayerPlay(doc);
    if (queued) {
        if (options.loop && doc.m_nLoopLength != 0)
            WaitWhileLooping(*seconds);
        else
            WaitWhilePlaying(seconds);
    }
    PlayerStop();
    return queued;
}
} // namespace

void AddPlayCommands(CLI::App& app, CliContext& context) {
    CLI::App* play = app.add_subcommand("play", "Play a sample file on the sound card");
    auto options = std::make_shared<PlayOptions>();
    play->add_option("FILE", options->file, "A .wav file, or a sample archive of any other extension")
        ->required();
    play->add_flag("--loop", options->loop,
                   "Play to the loop start, then the loop until --seconds have passed");
    play->add_option("--range", options->range, "Play LENGTH frames from frame START instead, once")
        ->expected(2)
        ->type_name("START LENGTH");
    play->add_option("--seconds", options->seconds, "Stop after N seconds");
    play->callback([&context, options] {
        std::optional<std::pair<std::uint32_t, std::uint32_t>> range;
        if (!options->range.empty())
            range.emplace(ParseFrames(options->range[0], "START"), ParseFrames(options->range[1], "LENGTH"));
        std::optional<double> seconds;
        if (!options->seconds.empty()) {
            double value = ParseReal(options->seconds, "--seconds");
            if (!std::isfinite(value) || value < 0 || value > 1e6)
                throw CliUsageError("--seconds: not a duration: " + options->seconds);
            seconds = value;
        }
        if (options->loop && range)
            throw CliUsageError("play: --loop and --range cannot be combined");
        if (options->loop && !seconds)
            throw CliUsageError("play: --loop needs --seconds, or it would never end");
        context.Run([&](ConsoleUi&) { return Play(*options, range, seconds, context); });
    });
}
