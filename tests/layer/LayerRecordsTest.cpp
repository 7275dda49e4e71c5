#include "layer/LayerRecords.h"

#include "archive/ObjectArchive.h"

#include <gtest/gtest.h>

#include <memory>

namespace {
using Bytes = std::vector<std::uint8_t>;

// Stores the body of a record and loads it into a fresh one.
template <class T> std::unique_ptr<T> RoundTrip(T& record, Bytes* stored = nullptr) {
    CObjectArchive out;
    record.Serialize(out);
    if (stored)
        *stored = out.Bytes();
    auto copy = std::make_unique<T>();
    CObjectArchive in(out.Bytes());
    copy->Serialize(in);
    EXPECT_EQ(in.Remaining(), 0u);
    return copy;
}

std::vector<std::pair<std::uint16_t, CSample*>> KeysOf(const CLayer& layer) {
    std::vector<std::pair<std::uint16_t, CSample*>> keys;
    layer.m_keys.ForEachInOrderAdded(
        [&](std::uint16_t key, CSample* sample) { keys.emplace_back(key, sample); });
    return keys;
}
} // namespace

TEST(LayerRecords, SampleEntryPacksItsFlagsAndSignedLevel) {
    CSample sample;
    EXPECT_TRUE(sample.m_bTracksPitch);
    sample.m_strName = "not archived";
    sample.m_strPath = "a.wav";
    sample.m_bTracksPitch = false;
    sample.m_bIgnoreKeyUp = true;
    sample.m_nLevel = -6;
    Bytes stored;
    auto copy = RoundTrip(sample, &stored);
    EXPECT_EQ(stored, (Bytes{5, 'a', '.', 'w', 'a', 'v', 0x02, 0x00, 0xFA, 0xFF}));
    EXPECT_EQ(copy->GetPath(), "a.wav");
    EXPECT_FALSE(copy->m_bTracksPitch);
    EXPECT_TRUE(copy->m_bIgnoreKeyUp);
    EXPECT_EQ(copy->m_nLevel, -6);
    EXPECT_EQ(copy->m_strName, "");

    // Unknown flag bits are ignored on reading.
    CSample flags;
    CObjectArchive in(Bytes{0, 0xFD, 0xFF, 0, 0});
    flags.Serialize(in);
    EXPECT_TRUE(flags.m_bTracksPitch);
    EXPECT_FALSE(flags.m_bIgnoreKeyUp);
}

TEST(LayerRecords, LayerKeepsSignedWordsAndAnEmptyKeyMap) {
    CLayer layer;
    layer.m_nLevel = -6;
    layer.m_nTranspose = -12;
    layer.m_bIgnoreKeyUp = true;
    layer.m_strComment = "soft";
    Bytes stored;
    auto copy = RoundTrip(layer, &stored);
    EXPECT_EQ(stored, (Bytes{0xFA, 0xFF, 0xF4, 0xFF, 0x01, 0x00, 4, 's', 'o', 'f', 't', 0x00, 0x00}));
    EXPECT_EQ(copy->m_nLevel, -6);
    EXPECT_EQ(copy->m_nTranspose, -12);
    EXPECT_TRUE(copy->m_bIgnoreKeyUp);
    EXPECT_EQ(copy->m_strComment, "soft");
    EXPECT_TRUE(copy->m_keys.Empty());
}

TEST(LayerRecords, CopyResetAndLookup) {
    CSample a, b;
    CLayer source;
    source.m_nLevel = 3;
    source.m_nTranspose = -2;
    source.m_strComment = "x";
    source.m_keys.Set(60, &a);
    source.m_keys.Set(61, &b);

    CLayer target;
    target.m_keys.Set(10, &b);
    target.CopyFrom(source);
    EXPECT_EQ(KeysOf(target), KeysOf(source));
    EXPECT_EQ(target.LookupSample(10), nullptr);
    EXPECT_EQ(target.LookupSample(61), &b);
    EXPECT_EQ(target.m_nLevel, 3);
    EXPECT_EQ(target.m_nTranspose, -2);
    EXPECT_EQ(target.m_strComment, "x");

    source.CopyFrom(source);
    EXPECT_EQ(KeysOf(source), KeysOf(target));
    EXPECT_EQ(source.m_strComment, "x");

    target.Reset();
    EXPECT_TRUE(target.m_keys.Empty());
    EXPECT_EQ(target.m_nLevel, 0);
    EXPECT_EQ(target.m_strComment, "");
    EXPECT_EQ(source.LookupSample(60), &a); // the entries are shared, never owned
}

TEST(LayerRecords, NoteFrequency) {
    EXPECT_EQ(NoteFrequency(69), 440.0L);
    EXPECT_NEAR(static_cast<double>(NoteFrequency(60)), 261.6256, 1e-4);
    EXPECT_NEAR(static_cast<double>(NoteFrequency(81)), 880.0, 1e-12);
    EXPECT_NEAR(static_cast<double>(NoteFrequency(0)), 8.1758, 1e-4);
}
