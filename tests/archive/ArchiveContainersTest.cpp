#include "archive/ArchiveContainers.h"

#include "TestRecords.h"

#include <gtest/gtest.h>

namespace {
class ArchiveContainersTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestRecords(); }
};

std::unique_ptr<CTestLeaf> Leaf(const std::string& name, std::int16_t value) {
    auto leaf = std::make_unique<CTestLeaf>();
    leaf->m_strName = name;
    leaf->m_nValue = value;
    return leaf;
}

using LeafMap = CArchiveMap<std::uint16_t, std::unique_ptr<CTestLeaf>>;
using NameMap = CArchiveMap<std::string, std::unique_ptr<CTestLeaf>>;
} // namespace

TEST_F(ArchiveContainersTest, ObjectListsRoundTripInOrder) {
    std::vector<std::unique_ptr<CTestLeaf>> leaves;
    leaves.push_back(Leaf("x", 1));
    leaves.push_back(Leaf("y", 2));
    CObjectArchive ar;
    SerializeObjects(ar, leaves);
    EXPECT_EQ(Bytes(ar.Bytes().begin(), ar.Bytes().begin() + 2), (Bytes{0x02, 0x00}));

    CObjectArchive in(ar.Bytes());
    std::vector<std::unique_ptr<CTestLeaf>> loaded;
    SerializeObjects(in, loaded);
    ASSERT_EQ(loaded.size(), 2u);
    EXPECT_EQ(loaded[0]->m_strName, "x");
    EXPECT_EQ(loaded[1]->m_nValue, 2);
}

TEST_F(ArchiveContainersTest, CountsThatPromiseTooMuchFailBeforeAllocating) {
    // 0xFFFFFFF0 elements promised, a handful of bytes present.
    Bytes huge{0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0xFF, 0x00, 0x00};
    {
        CObjectArchive in(huge);
        std::vector<std::unique_ptr<CTestLeaf>> leaves;
        EXPECT_THROW(SerializeObjects(in, leaves), CArchiveException);
    }
    {
        CObjectArchive in(huge);
        std::vector<std::uint32_t> words;
        EXPECT_THROW(SerializeWordArray(in, words), CArchiveException);
    }
    {
        CObjectArchive in(huge);
        LeafMap map;
        EXPECT_THROW(SerializeMap(in, map), CArchiveException);
    }
}

TEST_F(ArchiveContainersTest, NullEntriesAreRefused) {
    CObjectArchive in(Bytes{0x01, 0x00, 0x00, 0x00});
    std::vector<std::unique_ptr<CTestLeaf>> leaves;
    try {
        SerializeObjects(in, leaves);
        FAIL();
    } catch (const CArchiveException& error) {
        EXPECT_EQ(error.GetKind(), CArchiveException::Kind::BadClass);
    }
}

TEST_F(ArchiveContainersTest, WordArraysAreRawDwords) {
    std::vector<std::uint32_t> words{1, 0xDEADBEEF};
    CObjectArchive ar;
    SerializeWordArray(ar, words);
    EXPECT_EQ(ar.Bytes(), (Bytes{0x02, 0x00, 0x01, 0x00, 0x00, 0x00, 0xEF, 0xBE, 0xAD, 0xDE}));
    CObjectArchive in(ar.Bytes());
    std::vector<std::uint32_t> loaded;
    SerializeWordArray(in, loaded);
    EXPECT_EQ(loaded, words);
}

TEST_F(ArchiveContainersTest, KeyMapsWriteInBucketOrder) {
    LeafMap map;
    map.Set(0, Leaf("a", 0));
    map.Set(1, Leaf("b", 0));
    map.Set(16, Leaf("c", 0));
    CObjectArchive ar;
    SerializeMap(ar, map);
    // Count 3; key 1 (newest of group 0) with the class record; key 0; key 16.
    Bytes expected = Bytes{0x03, 0x00, 0x01, 0x00, 0xFF, 0xFF, 0x01, 0x00, 0x09, 0x00} + Text("CTestLeaf") +
                     Bytes{0x01, 'b', 0x00, 0x00} + Bytes{0x00, 0x00, 0x01, 0x80, 0x01, 'a', 0x00, 0x00} +
                     Bytes{0x10, 0x00, 0x01, 0x80, 0x01, 'c', 0x00, 0x00};
    EXPECT_EQ(ar.Bytes(), expected);

    CObjectArchive in(expected);
    LeafMap loaded;
    SerializeMap(in, loaded);
    ASSERT_EQ(loaded.Size(), 3u);
    EXPECT_EQ((*loaded.Find(16))->m_strName, "c");
    EXPECT_EQ((*loaded.Find(0))->m_strName, "a");
}

TEST_F(ArchiveContainersTest, AKeyReadTwiceKeepsTheLastObject) {
    Bytes stream = Bytes{0x02, 0x00, 0x05, 0x00, 0xFF, 0xFF, 0x01, 0x00, 0x09, 0x00} + Text("CTestLeaf") +
                   Bytes{0x05, 'f', 'i', 'r', 's', 't', 0x00, 0x00} +
                   Bytes{0x05, 0x00, 0x01, 0x80, 0x04, 'l', 'a', 's', 't', 0x00, 0x00};
    CObjectArchive in(stream);
    LeafMap map;
    SerializeMap(in, map);
    ASSERT_EQ(map.Size(), 1u);
    EXPECT_EQ((*map.Find(5))->m_strName, "last");
}

TEST_F(ArchiveContainersTest, NameMapsRoundTrip) {
    NameMap map;
    map.Set("Piano", Leaf("p", 1));
    map.Set("Flute", Leaf("f", 2));
    CObjectArchive ar;
    SerializeMap(ar, map);
    CObjectArchive in(ar.Bytes());
    NameMap loaded;
    SerializeMap(in, loaded);
    ASSERT_EQ(loaded.Size(), 2u);
    EXPECT_EQ((*loaded.Find("Piano"))->m_nValue, 1);
    EXPECT_EQ((*loaded.Find("Flute"))->m_nValue, 2);
    CObjectArchive again;
    SerializeMap(again, loaded);
    EXPECT_EQ(again.Bytes(), ar.Bytes());
}
