#include "archive/ObjectArchive.h"

#include "TestRecords.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {
class ObjectArchiveTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestRecords(); }
};

Bytes StoredString(const std::string& text) {
    CObjectArchive ar;
    ar.StoreString(text);
    return ar.Bytes();
}

Bytes StoredCount(std::uint32_t count) {
    CObjectArchive ar;
    ar.StoreCount(count);
    return ar.Bytes();
}

CArchiveException::Kind LoadFailure(const Bytes& bytes, void (*load)(CObjectArchive&)) {
    CObjectArchive ar(bytes);
    try {
        load(ar);
    } catch (const CArchiveException& error) {
        return error.GetKind();
    }
    ADD_FAILURE() << "the load did not fail";
    return CArchiveException::Kind::EndOfData;
}

void LoadOneObject(CObjectArchive& ar) {
    ar.LoadObject();
}

void LoadTwoObjects(CObjectArchive& ar) {
    ar.LoadObject();
    ar.LoadObject();
}

Bytes LeafRecord() {
    return Bytes{0xFF, 0xFF, 0x01, 0x00, 0x09, 0x00} + Text("CTestLeaf");
}
} // namespace

TEST_F(ObjectArchiveTest, StringPrefixesFollowTheLength) {
    EXPECT_EQ(StoredString(""), Bytes{0x00});
    Bytes s254 = StoredString(std::string(254, 'x'));
    EXPECT_EQ(s254.size(), 255u);
    EXPECT_EQ(s254[0], 0xFE);
    Bytes s255 = StoredString(std::string(255, 'x'));
    EXPECT_EQ(Bytes(s255.begin(), s255.begin() + 3), (Bytes{0xFF, 0xFF, 0x00}));
    Bytes s65533 = StoredString(std::string(65533, 'x'));
    EXPECT_EQ(Bytes(s65533.begin(), s65533.begin() + 3), (Bytes{0xFF, 0xFD, 0xFF}));
    Bytes s65534 = StoredString(std::string(65534, 'x'));
    EXPECT_EQ(Bytes(s65534.begin(), s65534.begin() + 7), (Bytes{0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}));
    EXPECT_EQ(s65534.size(), 65541u);

    for (std::size_t length : {0, 1, 254, 255, 65533, 65534, 70000}) {
        std::string text(length, 'q');
        CObjectArchive in(StoredString(text));
        EXPECT_EQ(in.LoadString(), text) << length;
        EXPECT_EQ(in.Remaining(), 0u);
    }
}

TEST_F(ObjectArchiveTest, WideStringsAreReadAsWindows1252) {
    // Marker FF FE FF, then a one-byte length of 4 characters: "a", "é", "€", and a Greek letter
    // that Windows-1252 cannot hold.
    Bytes wide{0xFF, 0xFE, 0xFF, 0x04, 'a', 0x00, 0xE9, 0x00, 0xAC, 0x20, 0xB1, 0x03};
    CObjectArchive ar(wide + Bytes{0x07});
    EXPECT_EQ(ar.LoadString(), "a\xE9\x80?");
    std::uint8_t next = 0;
    ar >> next;
    EXPECT_EQ(next, 7);

    // The second prefix may take its long forms as well.
    Bytes longWide{0xFF, 0xFE, 0xFF, 0xFF, 0x00, 0x01};
    for (int i = 0; i < 256; ++i)
        longWide = longWide + Bytes{'z', 0x00};
    CObjectArchive longAr(longWide);
    EXPECT_EQ(longAr.LoadString(), std::string(256, 'z'));

    // A wide length that promises more than the stream holds.
    EXPECT_EQ(LoadFailure({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a', 0},
                          [](CObjectArchive& a) { a.LoadString(); }),
              CArchiveException::Kind::EndOfData);
}

TEST_F(ObjectArchiveTest, CountsEscapeAt65535) {
    EXPECT_EQ(StoredCount(0), (Bytes{0x00, 0x00}));
    EXPECT_EQ(StoredCount(65534), (Bytes{0xFE, 0xFF}));
    EXPECT_EQ(StoredCount(65535), (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}));
    EXPECT_EQ(StoredCount(0x12345678), (Bytes{0xFF, 0xFF, 0x78, 0x56, 0x34, 0x12}));
    for (std::uint32_t count : {0u, 65534u, 65535u, 70000u}) {
        CObjectArchive in(StoredCount(count));
        EXPECT_EQ(in.LoadCount(), count);
    }
}

TEST_F(ObjectArchiveTest, PlainValuesAreLittleEndian) {
    CObjectArchive ar;
    ar << std::uint16_t{0x1234} << std::int16_t{-3} << std::uint32_t{0xAABBCCDD} << std::int32_t{-2} << 1.0;
    EXPECT_EQ(ar.Bytes(), (Bytes{0x34, 0x12, 0xFD, 0xFF, 0xDD, 0xCC, 0xBB, 0xAA, 0xFE, 0xFF,
                                 0xFF, 0xFF, 0,    0,    0,    0,    0,    0,    0xF0, 0x3F}));
    CObjectArchive in(ar.Bytes());
    std::uint16_t a = 0;
    std::int16_t b = 0;
    std::uint32_t c = 0;
    std::int32_t d = 0;
    double e = 0;
    in >> a >> b >> c >> d >> e;
    EXPECT_EQ(a, 0x1234);
    EXPECT_EQ(b, -3);
    EXPECT_EQ(c, 0xAABBCCDDu);
    EXPECT_EQ(d, -2);
    EXPECT_EQ(e, 1.0);
}

TEST_F(ObjectArchiveTest, ObjectsTakeIndicesAfterTheirClass) {
    CTestLeaf first;
    first.m_strName = "ab";
    first.m_nValue = -1;
    CTestLeaf second;
    CObjectArchive ar;
    ar.StoreObject(&first);
    ar.StoreObject(&second);
    ar.StoreObject(&first);
    ar.StoreObject(nullptr);
    // Class record (index 1), first leaf (index 2); class reference 0x8001, second leaf (index
    // 3); reference to index 2; null.
    Bytes expected = LeafRecord() + Bytes{0x02, 'a', 'b', 0xFF, 0xFF} + Bytes{0x01, 0x80, 0x00, 0x00, 0x00} +
                     Bytes{0x02, 0x00} + Bytes{0x00, 0x00};
    EXPECT_EQ(ar.Bytes(), expected);

    CObjectArchive in(expected);
    auto loadedFirst = in.LoadOwned<CTestLeaf>();
    auto loadedSecond = in.LoadOwned<CTestLeaf>();
    ASSERT_TRUE(loadedFirst && loadedSecond);
    EXPECT_EQ(loadedFirst->m_strName, "ab");
    EXPECT_EQ(loadedFirst->m_nValue, -1);
    EXPECT_EQ(in.LoadObject(), loadedFirst.get());
    EXPECT_EQ(in.LoadObject(), nullptr);
}

TEST_F(ObjectArchiveTest, SharedObjectsAreWrittenOnceAndLoadShared) {
    CTestLeaf leaf;
    leaf.m_nValue = 9;
    CTestHolder holder;
    holder.m_pFirst = &leaf;
    holder.m_pSecond = &leaf;
    CObjectArchive ar;
    ar.StoreObject(&holder);
    Bytes expected = Bytes{0xFF, 0xFF, 0x01, 0x00, 0x0B, 0x00} + Text("CTestHolder") + LeafRecord() +
                     Bytes{0x00, 0x09, 0x00} + Bytes{0x04, 0x00};
    EXPECT_EQ(ar.Bytes(), expected);

    CObjectArchive in(expected);
    auto loaded = in.LoadOwned<CTestHolder>();
    ASSERT_TRUE(loaded && loaded->m_pFirst);
    EXPECT_EQ(loaded->m_pFirst, loaded->m_pSecond);
    EXPECT_EQ(loaded->m_pFirst->m_nValue, 9);
    // Nobody claimed the leaf: it is still the archive's, and cannot be owned by the holder twice.
    EXPECT_TRUE(in.IsUnclaimed(loaded->m_pFirst));
}

TEST_F(ObjectArchiveTest, IndicesFrom0x7FFFUseTheLongForm) {
    std::vector<std::unique_ptr<CTestLeaf>> leaves(0x7FFE);
    CObjectArchive ar;
    for (auto& leaf : leaves) {
        leaf = std::make_unique<CTestLeaf>();
        ar.StoreObject(leaf.get());
    }
    // The class took index 1 and the leaves 2 .. 0x7FFF.
    std::size_t mark = ar.Bytes().size();
    ar.StoreObject(leaves[0x7FFD].get());
    ar.StoreObject(leaves[0x7FFC].get());
    CTestHolder holder; // a new class at 0x8000, the holder at 0x8001
    CTestHolder secondHolder;
    ar.StoreObject(&holder);
    ar.StoreObject(&secondHolder);
    Bytes tail(ar.Bytes().begin() + static_cast<std::ptrdiff_t>(mark), ar.Bytes().end());
    Bytes expected = Bytes{0xFF, 0x7F, 0xFF, 0x7F, 0x00, 0x00} + Bytes{0xFE, 0x7F} +
                     Bytes{0xFF, 0xFF, 0x01, 0x00, 0x0B, 0x00} + Text("CTestHolder") +
                     Bytes{0x00, 0x00, 0x00, 0x00} + Bytes{0xFF, 0x7F, 0x00, 0x80, 0x00, 0x80} +
                     Bytes{0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(tail, expected);

    CObjectArchive in(ar.Bytes());
    std::vector<std::unique_ptr<CTestLeaf>> loaded;
    for (std::size_t i = 0; i < leaves.size(); ++i)
        loaded.push_back(in.LoadOwned<CTestLeaf>());
    EXPECT_EQ(in.LoadObject(), loaded[0x7FFD].get());
    EXPECT_EQ(in.LoadObject(), loaded[0x7FFC].get());
    EXPECT_NE(in.LoadOwned<CTestHolder>(), nullptr);
    EXPECT_NE(in.LoadOwned<CTestHolder>(), nullptr);
    EXPECT_EQ(in.Remaining(), 0u);
}

TEST_F(ObjectArchiveTest, LongIndexReadingCoversReferencesAndNull) {
    Bytes stream = LeafRecord() + Bytes{0x00, 0x05, 0x00} +                     // leaf at index 2
                   Bytes{0xFF, 0x7F, 0x02, 0x00, 0x00, 0x00} +                  // long reference to it
                   Bytes{0xFF, 0x7F, 0x00, 0x00, 0x00, 0x00} +                  // long null
                   Bytes{0xFF, 0x7F, 0x01, 0x00, 0x00, 0x80, 0x00, 0x06, 0x00}; // long class reference
    CObjectArchive in(stream);
    CObject* leaf = in.LoadObject();
    EXPECT_EQ(in.LoadObject(), leaf);
    EXPECT_EQ(in.LoadObject(), nullptr);
    auto* third = in.LoadAs<CTestLeaf>();
    ASSERT_NE(third, nullptr);
    EXPECT_NE(third, leaf);
    EXPECT_EQ(third->m_nValue, 6);
}

TEST_F(ObjectArchiveTest, SchemaAndClassNamesAreChecked) {
    auto withSchema = [](std::uint8_t schema) {
        return Bytes{0xFF, 0xFF, schema, 0x00, 0x09, 0x00} + Text("CTestLeaf") + Bytes{0x00, 0x00, 0x00};
    };
    EXPECT_EQ(LoadFailure(withSchema(0), LoadOneObject), CArchiveException::Kind::BadSchema);
    EXPECT_EQ(LoadFailure(withSchema(2), LoadOneObject), CArchiveException::Kind::BadSchema);
    // Names compare exactly; a name of 64 bytes or more is refused before it is looked up.
    Bytes lowerCase = Bytes{0xFF, 0xFF, 0x01, 0x00, 0x09, 0x00} + Text("cTestLeaf") + Bytes{0x00, 0x00, 0x00};
    EXPECT_EQ(LoadFailure(lowerCase, LoadOneObject), CArchiveException::Kind::BadClass);
    Bytes longName = Bytes{0xFF, 0xFF, 0x01, 0x00, 0x40, 0x00} + Text(std::string(64, 'C'));
    EXPECT_EQ(LoadFailure(longName, LoadOneObject), CArchiveException::Kind::BadClass);
    // A name longer than what remains is a bad class, not end of data.
    EXPECT_EQ(LoadFailure(Bytes{0xFF, 0xFF, 0x01, 0x00, 0x09, 0x00, 'C'}, LoadOneObject),
              CArchiveException::Kind::BadClass);
}

TEST_F(ObjectArchiveTest, ReferencesMustNameWhatWasRead) {
    // Reference beyond the highest index, class reference to index 0, reference to a class's index
    // as an object, class reference to an object's index.
    EXPECT_EQ(LoadFailure({0x01, 0x00}, LoadOneObject), CArchiveException::Kind::BadIndex);
    EXPECT_EQ(LoadFailure({0x00, 0x80}, LoadOneObject), CArchiveException::Kind::BadIndex);
    EXPECT_EQ(LoadFailure({0xFF, 0x7F, 0x00, 0x00, 0x00, 0x80}, LoadOneObject),
              CArchiveException::Kind::BadIndex);
    Bytes leaf = LeafRecord() + Bytes{0x00, 0x00, 0x00};
    EXPECT_EQ(LoadFailure(leaf + Bytes{0x01, 0x00}, LoadTwoObjects), CArchiveException::Kind::BadIndex);
    EXPECT_EQ(LoadFailure(leaf + Bytes{0x02, 0x80}, LoadTwoObjects), CArchiveException::Kind::BadIndex);
    EXPECT_EQ(LoadFailure(leaf + Bytes{0x03, 0x80}, LoadTwoObjects), CArchiveException::Kind::BadIndex);
}

TEST_F(ObjectArchiveTest, AnObjectOfTheWrongClassIsRefusedBeforeItsBody) {
    // A holder whose first entry is another holder: refused as bad class before that holder's
    // body (which here would run past the end) is read.
    Bytes stream = Bytes{0xFF, 0xFF, 0x01, 0x00, 0x0B, 0x00} + Text("CTestHolder") + Bytes{0x01, 0x80};
    EXPECT_EQ(LoadFailure(stream, LoadOneObject), CArchiveException::Kind::BadClass);
    // A reference to an object of the wrong class.
    Bytes leafThenHolder = LeafRecord() + Bytes{0x00, 0x00, 0x00};
    CObjectArchive in(leafThenHolder + Bytes{0x02, 0x00});
    in.LoadObject();
    EXPECT_THROW(in.LoadAs<CTestHolder>(), CArchiveException);
}

TEST_F(ObjectArchiveTest, NestingIsBounded) {
    auto nested = [](int depth) {
        Bytes stream = Bytes{0xFF, 0xFF, 0x01, 0x00, 0x09, 0x00} + Text("CTestNode");
        for (int i = 1; i < depth; ++i)
            stream.insert(stream.end(), {0x01, 0x00, 0x01, 0x80}); // one child, of the class at index 1
        return stream + Bytes{0x00, 0x00};
    };
    CObjectArchive shallow(nested(100));
    EXPECT_NE(shallow.LoadOwned<CTestNode>(), nullptr);
    EXPECT_EQ(LoadFailure(nested(1000), LoadOneObject), CArchiveException::Kind::BadClass);
}

TEST_F(ObjectArchiveTest, AnObjectCannotBeOwnedTwice) {
    Bytes leaf = LeafRecord() + Bytes{0x00, 0x00, 0x00};
    CObjectArchive in(leaf + Bytes{0x02, 0x00});
    auto owned = in.LoadOwned<CTestLeaf>();
    EXPECT_THROW(in.LoadOwned<CTestLeaf>(), CArchiveException);
}

TEST_F(ObjectArchiveTest, EveryCutFailsCleanly) {
    CTestLeaf leaf;
    leaf.m_strName = std::string(300, 'n');
    leaf.m_nValue = 5;
    CTestHolder holder;
    holder.m_pFirst = &leaf;
    holder.m_pSecond = &leaf;
    CTestLeaf other;
    CObjectArchive ar;
    ar.StoreString("head");
    ar.StoreCount(70000);
    ar.StoreObject(&holder);
    ar.StoreObject(&other);
    const Bytes full = ar.Bytes();

    auto loadAll = [](CObjectArchive& in) {
        in.LoadString();
        in.LoadCount();
        in.LoadObject();
        in.LoadObject();
    };
    // Where the class names lie: a cut inside one is a bad class.
    auto insideName = [&](std::size_t cut, const std::string& name) {
        auto at = std::search(full.begin(), full.end(), name.begin(), name.end()) - full.begin();
        return cut >= static_cast<std::size_t>(at) && cut < at + name.size();
    };
    for (std::size_t cut = 0; cut < full.size(); ++cut) {
        CObjectArchive in(Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut)));
        try {
            loadAll(in);
            ADD_FAILURE() << "a stream cut at " << cut << " loaded";
        } catch (const CArchiveException& error) {
            auto expected = insideName(cut, "CTestHolder") || insideName(cut, "CTestLeaf")
                                ? CArchiveException::Kind::BadClass
                                : CArchiveException::Kind::EndOfData;
            EXPECT_EQ(error.GetKind(), expected) << "cut at " << cut;
        }
    }
    CObjectArchive whole(full);
    EXPECT_NO_THROW(loadAll(whole));
}
