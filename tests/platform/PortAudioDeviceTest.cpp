#include "platform/PortAudioDevice.h"

#include "support/AlsaCapture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <limits>
#include <mutex>
#include <thread>
#include <vector>

namespace {

std::vector<std::int16_t> Tone(std::size_t count, int seed) {
    std::vector<std::int16_t> tone(count);
    for (std::size_t i = 0; i < count; ++i)
        tone[i] = static_cast<std::int16_t>((i * 37 + seed) % 20000 + 1);
    return tone;
}

// What the completion function saw.
struct Completions {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<WaveHeader*> done;
    std::vector<std::thread::id> threads;
    std::vector<WaveResult> resetInside;

    WaveCallback Callback(AudioDevice* device = nullptr) {
        return [this, device](WaveNotice notice, WaveHeader* header) {
            if (notice != WaveNotice::Done)
                return;
            WaveResult reset = device ? device->Reset() : kWaveOk;
            std::lock_guard lock(mutex);
            done.push_back(header);
            threads.push_back(std::this_thread::get_id());
            resetInside.push_back(reset);
            changed.notify_all();
        };
    }
    bool WaitFor(std::size_t count) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(5), [&] { return done.size() >= count; });
    }
    std::size_t Count() {
        std::lock_guard lock(mutex);
        return done.size();
    }
};

WaveHeader Header(const std::vector<std::int16_t>& audio, std::uint32_t loops = 0) {
    WaveHeader header;
    header.pData = audio.data();
    header.nBufferLength = audio.size() * 2;
    header.nLoops = loops;
    header.nFlags = loops ? kWaveBeginLoop | kWaveEndLoop : 0;
    return header;
}

class PortAudioDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        WaveResult result = device.QueryFormat(format);
        if (result != kWaveOk)
            GTEST_SKIP() << "PortAudio opens no output through a file PCM on this machine: "
                         << device.ErrorText(result);
    }

    AlsaCapture capture; // before the device: PortAudio must find the capture configuration
    PortAudioDevice device;
    WaveFormat format = WaveFormat::Pcm16(false, 44100);
};

TEST_F(PortAudioDeviceTest, HeadersPlayInOrderAndComeBackFromTheAudioThread) {
    Completions completions;
    ASSERT_EQ(device.Open(format, completions.Callback(&device)), kWaveOk);
    auto first = Tone(300, 1);
    auto second = Tone(70, 5);
    WaveHeader a = Header(first);
    WaveHeader b = Header(second, 3);
    ASSERT_EQ(device.Prepare(a), kWaveOk);
    ASSERT_EQ(device.Prepare(b), kWaveOk);
    ASSERT_EQ(device.Write(a), kWaveOk);
    ASSERT_EQ(device.Write(b), kWaveOk);
    ASSERT_TRUE(completions.WaitFor(2));
    EXPECT_EQ(completions.done, (std::vector<WaveHeader*>{&a, &b}));
    EXPECT_NE(completions.threads[0], std::this_thread::get_id());
    EXPECT_EQ(completions.resetInside[0], kWaveInCallback)
        << "a reset from the completion function would deadlock";
    EXPECT_TRUE(a.IsDone() && !a.IsQueued());
    EXPECT_EQ(device.Unprepare(a), kWaveOk);
    EXPECT_EQ(device.Unprepare(b), kWaveOk);
    ASSERT_EQ(device.Close(), kWaveOk);

    std::vector<std::int16_t> expected = first;
    for (int pass = 0; pass < 3; ++pass)
        expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(Sounded(capture.Samples()), expected);
}

TEST_F(PortAudioDeviceTest, ResetHandsBackEveryQueuedHeaderBeforeItReturns) {
    Completions completions;
    ASSERT_EQ(device.Open(format, completions.Callback()), kWaveOk);
    auto endless = Tone(1000, 2);
    auto after = Tone(10, 3);
    WaveHeader a = Header(endless, std::numeric_limits<std::uint32_t>::max());
    WaveHeader b = Header(after);
    ASSERT_EQ(device.Prepare(a), kWaveOk);
    ASSERT_EQ(device.Prepare(b), kWaveOk);
    ASSERT_EQ(device.Write(a), kWaveOk);
    ASSERT_EQ(device.Write(b), kWaveOk);
    EXPECT_EQ(device.Unprepare(a), kWaveStillPlaying);
    EXPECT_EQ(device.Close(), kWaveStillPlaying);

    ASSERT_EQ(device.Reset(), kWaveOk);
    EXPECT_EQ(completions.Count(), 2u);
    EXPECT_EQ(completions.done, (std::vector<WaveHeader*>{&a, &b}));
    EXPECT_EQ(completions.threads[0], std::this_thread::get_id());
    EXPECT_TRUE(a.IsDone() && b.IsDone());
    EXPECT_EQ(device.Close(), kWaveOk);
    EXPECT_EQ(device.Write(b), kWaveNotOpen);
    WaveFormat eightBit = format;
    eightBit.nBitsPerSample = 8;
    EXPECT_EQ(device.Open(eightBit, completions.Callback()), kWaveBadFormat);
}

TEST_F(PortAudioDeviceTest, BreakLoopEndsThePassAndPlaysTheNextHeader) {
    Completions completions;
    ASSERT_EQ(device.Open(format, completions.Callback()), kWaveOk);
    auto lead = Tone(40, 8);
    auto endless = Tone(50, 4);
    auto after = Tone(20, 9);
    WaveHeader h = Header(lead);
    WaveHeader a = Header(endless, std::numeric_limits<std::uint32_t>::max());
    WaveHeader b = Header(after);
    for (WaveHeader* header : {&h, &a, &b}) {
        ASSERT_EQ(device.Prepare(*header), kWaveOk);
        ASSERT_EQ(device.Write(*header), kWaveOk);
    }
    // Once the lead is done, the loop is playing or about to.
    ASSERT_TRUE(completions.WaitFor(1));
    ASSERT_EQ(device.BreakLoop(), kWaveOk);
    ASSERT_TRUE(completions.WaitFor(3));
    ASSERT_EQ(device.Close(), kWaveOk);

    std::vector<std::int16_t> sound = Sounded(capture.Samples());
    ASSERT_TRUE(Matches(sound, 0, lead.data(), lead.size()));
    std::size_t at = lead.size();
    std::size_t passes = 0;
    while (Matches(sound, at, endless.data(), endless.size())) {
        at += endless.size();
        ++passes;
    }
    EXPECT_GE(passes, 1u);
    EXPECT_TRUE(Matches(sound, at, after.data(), after.size()));
    EXPECT_EQ(at + after.size(), sound.size());
}

} // namespace
