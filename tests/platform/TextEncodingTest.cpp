#include "platform/TextEncoding.h"

#include <gtest/gtest.h>

TEST(TextEncoding, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int byte = 1; byte < 256; ++byte)
        all += static_cast<char>(byte);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(TextEncoding, KnownCharacters) {
    EXPECT_EQ(Cp1252ToUtf8("caf\xE9 \x80"), "caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(Utf8ToCp1252("\xE2\x80\x9Cq\xE2\x80\x9D"), "\x93q\x94");
    // Not in Windows-1252: a Greek letter, an emoji; broken sequences.
    EXPECT_EQ(Utf8ToCp1252("\xCE\xB1-\xF0\x9F\x8E\xB9"), "?-?");
    EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?");
    EXPECT_EQ(Utf8ToCp1252("\xC3(x"), "?(x");
}
