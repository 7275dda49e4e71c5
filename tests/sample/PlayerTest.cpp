#include "sample/Player.h"

#include "platform/ScriptedUi.h"
#include "platform/Settings.h"
#include "sample/SampleDoc.h"
#include "testing/FakeAudioDevice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using Strings = std::vector<std::string>;
constexpr std::uint32_t kLooped = kWaveBeginLoop | kWaveEndLoop;

// Audio whose every sample differs from its neighbours, so a pointer into it tells the frame.
std::vector<std::int16_t> Audio(std::uint32_t frames, bool stereo) {
    std::vector<std::int16_t> audio(std::size_t{frames} * (stereo ? 2 : 1));
    for (std::size_t i = 0; i < audio.size(); ++i)
        audio[i] = static_cast<std::int16_t>(i % 30000 + 1);
    return audio;
}

PlaySource Source(const std::vector<std::int16_t>& audio, bool stereo, std::uint32_t start,
                  std::uint32_t length, std::uint32_t loopStart, std::uint32_t loopLength) {
    return {audio.data(), static_cast<std::uint32_t>(audio.size() / (stereo ? 2 : 1)),
            stereo,       start,
            length,       loopStart,
            loopLength};
}

class PlayerTest : public ::testing::Test {
protected:
    void TearDown() override {
        PlayerStop();
        EXPECT_EQ(device.Misuses(), 0) << "the player made a call the device refuses";
    }

    void SetMinLoopPlay(const std::string& value) { settings.SetString("General", "MinLoopPlay", value); }

    // Stop, then open, as the commands do.
    void Open(bool stereo, std::uint32_t rate = 44100) {
        PlayerStop();
        ASSERT_TRUE(PlayerOpen(stereo, rate));
    }

    FakeAudioDevice device;
    MemorySettings settings;
    ScriptedUi ui;
    ScopedAudioDevice deviceScope{device};
    ScopedSettings settingsScope{settings};
    ScopedUi uiScope{ui};
};

TEST_F(PlayerTest, OpenAsksForSixteenBitPcmOfTheSampleAndClosesAnOpenDeviceFirst) {
    Open(true, 22050);
    WaveFormat stereo = device.Format();
    EXPECT_EQ(std::tuple(stereo.nFormatTag, stereo.nChannels, stereo.nSamplesPerSec, stereo.nBitsPerSample,
                         stereo.nBlockAlign, stereo.nAvgBytesPerSec),
              std::tuple(1, 2, 22050u, 16, 4, 88200u));

    auto audio = Audio(50, false);
    ASSERT_TRUE(PlayerWrite(audio.data(), audio.size(), false));
    ASSERT_TRUE(PlayerOpen(false, 48000));
    WaveFormat mono = device.Format();
    EXPECT_EQ(std::tuple(mono.nChannels, mono.nBlockAlign, mono.nAvgBytesPerSec), std::tuple(1, 2, 96000u));
    EXPECT_EQ(device.QueuedCount(), 0u);
    EXPECT_EQ(std::tuple(device.Opens(), device.Closes()), std::tuple(2, 1));
}

TEST_F(PlayerTest, LoopedBufferShorterThanTheMinimumIsRepeatedUpToIt) {
    struct Case {
        const char* minLoopPlay;
        std::size_t samples; // frames × channels
        std::uint32_t loops;
    };
    // The setting absent (300); 100 mono frames against 10000; stereo counts 2 × 2000 = 4000
    // samples; an unreadable setting is 300; 0 samples are queued once instead of dividing by
    // zero; the repeat count saturates instead of wrapping round to 0.
    for (Case c : {Case{nullptr, 100, 4}, Case{"10000", 100, 101}, Case{"10000", 20000, 0},
                   Case{"5000", 6000, 0}, Case{"5000", 4000, 2}, Case{"lots", 100, 4}, Case{"300", 0, 0},
                   Case{"4294967295", 1, 0xFFFFFFFF}}) {
        SCOPED_TRACE(std::to_string(c.samples) + " samples against " +
                     (c.minLoopPlay ? c.minLoopPlay : "none"));
        if (c.minLoopPlay)
            SetMinLoopPlay(c.minLoopPlay);
        auto audio = Audio(static_cast<std::uint32_t>(c.samples), false);
        Open(false);
        ASSERT_TRUE(PlayerWrite(audio.data(), c.samples, true));
        auto queued = device.Queued();
        ASSERT_EQ(queued.size(), 1u);
        EXPECT_EQ(queued[0].nBytes, c.samples * 2);
        EXPECT_EQ(queued[0].nLoops, c.loops);
        EXPECT_EQ(queued[0].nFlags, c.loops ? kLooped : 0u);
    }
}

TEST_F(PlayerTest, TheMinimumIsTheOneReadAtOpen) {
    auto audio = Audio(100, false);
    Open(false);
    SetMinLoopPlay("1000");
    ASSERT_TRUE(PlayerWrite(audio.data(), 100, true));
    EXPECT_EQ(device.Queued()[0].nLoops, 4u);
    Open(false);
    ASSERT_TRUE(PlayerWrite(audio.data(), 100, true));
    EXPECT_EQ(device.Queued()[0].nLoops, 11u);
}

TEST_F(PlayerTest, LoopPlayQueuesTheStartThenTheLoopAndEachCompletionTheLoopAgain) {
    SetMinLoopPlay("10000");
    auto audio = Audio(300, true);
    Open(true);
    ASSERT_TRUE(PlayerLoopPlay(Source(audio, true, 10, 290, 150, 100)));
    auto queued = device.Queued();
    ASSERT_EQ(queued.size(), 2u);
    EXPECT_EQ(std::tuple(queued[0].pData, queued[0].nBytes, queued[0].nFlags),
              std::tuple(audio.data() + 20, 140u * 4, 0u));
    EXPECT_EQ(std::tuple(queued[1].pData, queued[1].nBytes, queued[1].nLoops),
              std::tuple(audio.data() + 300, 100u * 4, 10000u / 200 + 1));
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(device.CompleteOldest());
        queued = device.Queued();
        ASSERT_EQ(queued.size(), 2u);
        EXPECT_EQ(std::tuple(queued[1].pData, queued[1].nBytes), std::tuple(audio.data() + 300, 100u * 4));
    }
}

TEST_F(PlayerTest, LoopAtTheSampleStartQueuesAnEmptyFirstBuffer) {
    auto audio = Audio(1000, false);
    Open(false);
    ASSERT_TRUE(PlayerLoopPlay(Source(audio, false, 200, 800, 200, 500)));
    auto queued = device.Queued();
    ASSERT_EQ(queued.size(), 2u);
    EXPECT_EQ(std::tuple(queued[0].pData, queued[0].nBytes), std::tuple(audio.data() + 200, 0u));
    EXPECT_EQ(std::tuple(queued[1].pData, queued[1].nBytes), std::tuple(audio.data() + 200, 1000u));
}

TEST_F(PlayerTest, PlayQueuesOnceAndEndsAnyLoop) {
    auto audio = Audio(1000, true);
    Open(true);
    ASSERT_TRUE(PlayerLoopPlay(Source(audio, true, 0, 1000, 400, 600)));
    // Both headers are busy: nothing more is queued, and the loop is not re-queued.
    EXPECT_FALSE(PlayerPlay(Source(audio, true, 100, 800, 400, 600)));
    EXPECT_FALSE(PlayerWrite(audio.data(), 10, false));
    ASSERT_TRUE(device.CompleteOldest());
    ASSERT_TRUE(device.CompleteOldest());
    EXPECT_FALSE(PlayerIsPlaying());

    ASSERT_TRUE(PlayerPlay(Source(audio, true, 100, 800, 400, 600)));
    ASSERT_TRUE(PlayerLoopPlay(Source(audio, true, 0, 10, 0, 0))) << "no loop: played as Play";
    auto queued = device.Queued();
    ASSERT_EQ(queued.size(), 2u);
    EXPECT_EQ(std::tuple(queued[0].pData, queued[0].nBytes, queued[0].nFlags),
              std::tuple(audio.data() + 200, 800u * 4, 0u));
    ASSERT_TRUE(device.CompleteOldest());
    ASSERT_TRUE(device.CompleteOldest());
    EXPECT_EQ(device.QueuedCount(), 0u);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(PlayerTest, StopDuringLoopPlayLeavesNothingQueuedAndTheDeviceClosed) {
    for (auto delivery :
         {FakeAudioDevice::ResetDelivery::CallerThread, FakeAudioDevice::ResetDelivery::DeviceThread}) {
        device.SetResetDelivery(delivery);
        auto audio = Audio(1000, false);
        Open(false);
        ASSERT_TRUE(PlayerLoopPlay(Source(audio, false, 0, 1000, 100, 100)));
        ASSERT_TRUE(device.CompleteOldest());
        std::size_t written = device.WrittenHistory().size();

        PlayerStop();
        EXPECT_EQ(device.QueuedCount(), 0u);
        EXPECT_FALSE(device.IsOpen());
        EXPECT_EQ(device.WrittenHistory().size(), written)
            << "a header handed back by the reset was re-queued";
        // The headers handed back are unprepared between the reset and the close.
        auto calls = device.Calls();
        std::erase(calls, "Unprepare");
        EXPECT_EQ(Strings(calls.end() - 3, calls.end()), (Strings{"BreakLoop", "Reset", "Close"}));
        EXPECT_FALSE(PlayerWrite(audio.data(), 10, false)) << "closed until the next open";
    }
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(PlayerTest, CloseAlsoEndsTheLoopBeforeTheReset) {
    auto audio = Audio(1000, false);
    Open(false);
    ASSERT_TRUE(PlayerLoopPlay(Source(audio, false, 0, 1000, 100, 900)));
    PlayerClose();
    EXPECT_EQ(std::tuple(device.QueuedCount(), device.IsOpen(), device.WrittenHistory().size()),
              std::tuple(0u, false, 2u));
}

TEST_F(PlayerTest, CompletionsRacingStopFromAnotherThread) {
    for (auto delivery :
         {FakeAudioDevice::ResetDelivery::CallerThread, FakeAudioDevice::ResetDelivery::DeviceThread}) {
        device.SetResetDelivery(delivery);
        bool stereo = delivery == FakeAudioDevice::ResetDelivery::DeviceThread;
        auto audio = Audio(2000, stereo);
        std::atomic<bool> done{false};
        std::thread deviceThread([&] {
            while (!done)
                if (!device.CompleteOldest())
                    std::this_thread::yield();
        });
        for (int round = 0; round < 300; ++round) {
            PlayerStop();
            ASSERT_TRUE(PlayerOpen(stereo, 44100));
            ASSERT_TRUE(
                PlayerLoopPlay(Source(audio, stereo, round % 7, 1500, 500 + round % 3, 64 + round % 5)));
            for (int i = 0; i < round % 4; ++i)
                std::this_thread::yield();
            PlayerStop();
            ASSERT_EQ(std::tuple(device.QueuedCount(), device.IsOpen(), PlayerIsPlaying()),
                      std::tuple(0u, false, false))
                << "round " << round;
        }
        done = true;
        deviceThread.join();
    }
}

TEST_F(PlayerTest, NoCapableDeviceIsSaid) {
    device.SetFormatResult(kWaveBadFormat);
    EXPECT_FALSE(PlayerOpen(true, 44100));
    {
        ScopedAudioDevice none(AudioDevice::Fallback());
        EXPECT_FALSE(PlayerOpen(true, 44100));
    }
    EXPECT_EQ(ui.Messages(), Strings(2, "No audio device capable of playing this data."));
    EXPECT_EQ(device.Opens(), 0);
}

TEST_F(PlayerTest, OpenFailureShowsTheDeviceTextCutTo199Characters) {
    device.FailNextOpen(-42);
    device.SetErrorText(-42, "The device is in use.");
    EXPECT_FALSE(PlayerOpen(false, 44100));
    device.FailNextOpen(-43);
    device.SetErrorText(-43, std::string(150, 'a') + std::string(100, 'b'));
    EXPECT_FALSE(PlayerOpen(false, 44100));
    EXPECT_EQ(ui.Messages(),
              (Strings{"Error opening wave device:\nThe device is in use.",
                       "Error opening wave device:\n" + std::string(150, 'a') + std::string(49, 'b')}));
    EXPECT_FALSE(device.IsOpen());
}

TEST_F(PlayerTest, PrepareOrWriteFailureShowsTheDeviceTextAndClosesTheDevice) {
    auto audio = Audio(100, false);
    device.SetErrorText(-7, "Out of header memory.");
    Open(false);
    device.FailNextPrepare(-7);
    EXPECT_FALSE(PlayerWrite(audio.data(), 100, false));
    EXPECT_FALSE(device.IsOpen());

    Open(false);
    device.FailNextWrite(-7);
    EXPECT_FALSE(PlayerLoopPlay(Source(audio, false, 0, 100, 10, 90)));
    EXPECT_FALSE(device.IsOpen());
    auto calls = device.Calls();
    EXPECT_EQ(*(std::find(calls.begin(), calls.end(), "Write") + 1), "Unprepare");
    EXPECT_EQ(ui.Messages(), (Strings{"Error preparing wave header:\nOut of header memory.",
                                      "Error writing to wave device:\nOut of header memory."}));

    // The failed loop play left no loop behind to be re-queued after the next open.
    Open(false);
    ASSERT_TRUE(PlayerWrite(audio.data(), 10, false));
    ASSERT_TRUE(device.CompleteOldest());
    EXPECT_EQ(device.QueuedCount(), 0u);
}

TEST_F(PlayerTest, FailedRequeueEndsTheLoopAndIsToldOnTheNextStop) {
    auto audio = Audio(1000, false);
    Open(false);
    ASSERT_TRUE(PlayerLoopPlay(Source(audio, false, 0, 1000, 100, 900)));
    device.FailNextWrite(-9);
    device.SetErrorText(-9, "The driver stopped.");
    std::thread([&] { device.CompleteOldest(); }).join();
    EXPECT_TRUE(ui.Messages().empty()) << "no message from the device's thread";
    ASSERT_TRUE(device.CompleteOldest());
    EXPECT_EQ(device.QueuedCount(), 0u) << "the loop ended";

    PlayerStop();
    EXPECT_EQ(ui.Messages(), Strings{"Error writing to wave device:\nThe driver stopped."});
}

TEST_F(PlayerTest, RangeOutsideTheAudioIsRefused) {
    auto audio = Audio(100, false);
    Open(false);
    EXPECT_FALSE(PlayerPlay(Source(audio, false, 50, 51, 0, 0)));
    EXPECT_FALSE(PlayerLoopPlay(Source(audio, false, 0, 100, 60, 41)));
    EXPECT_FALSE(PlayerLoopPlay(Source(audio, false, 50, 50, 40, 10)));
    EXPECT_EQ(device.QueuedCount(), 0u);
    EXPECT_EQ(ui.Messages(), Strings(3, "Internal error: the play range lies outside the sample."));
}

// A document holding `frames` frames of distinct samples.
void FillDocument(CSampleDoc& doc, std::uint32_t frames, bool stereo) {
    auto audio = Audio(frames, stereo);
    auto buffer = std::make_unique<std::int16_t[]>(audio.size());
    std::copy(audio.begin(), audio.end(), buffer.get());
    doc.m_bStereo = stereo;
    doc.SetData(std::move(buffer), frames, 44100);
}

TEST_F(PlayerTest, DocumentPlaysInPlaceFromItsPoints) {
    CSampleDoc doc;
    FillDocument(doc, 1000, true);
    doc.SetSampleRange(100, 300);
    doc.SetLoopRange(200, 50);
    const std::int16_t* data = doc.m_pData.get();
    Open(true);
    ASSERT_TRUE(PlayerPlay(doc));
    EXPECT_EQ(std::tuple(device.Queued()[0].pData, device.Queued()[0].nBytes),
              std::tuple(data + 200, 300u * 4));

    Open(true);
    ASSERT_TRUE(PlayerLoopPlay(doc));
    auto queued = device.Queued();
    ASSERT_EQ(queued.size(), 2u);
    EXPECT_EQ(std::tuple(queued[0].pData, queued[0].nBytes), std::tuple(data + 200, 100u * 4));
    EXPECT_EQ(std::tuple(queued[1].pData, queued[1].nBytes), std::tuple(data + 400, 50u * 4));
}

TEST_F(PlayerTest, DocumentWithoutStopPointPlaysToTheEndAndAnEmptyOneQueuesAnEmptyBuffer) {
    CSampleDoc doc;
    FillDocument(doc, 800, false);
    ASSERT_EQ(doc.m_nLength, 0u);
    doc.m_nStart = 50;
    CSampleDoc empty;
    Open(false);
    ASSERT_TRUE(PlayerPlay(doc));
    ASSERT_TRUE(PlayerPlay(empty));
    auto queued = device.Queued();
    ASSERT_EQ(queued.size(), 2u);
    EXPECT_EQ(std::tuple(queued[0].pData, queued[0].nBytes), std::tuple(doc.m_pData.get() + 50, 750u * 2));
    EXPECT_EQ(queued[1].nBytes, 0u);
    EXPECT_TRUE(ui.Messages().empty());
}

} // namespace
