#include "platform/FileIo.h"
#include "sample/LittleEndian.h"
#include "sample/RiffReader.h"
#include "sample/RiffWriter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <iterator>

namespace {
std::vector<std::uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}
} // namespace

TEST(Riff, ReaderSkipsPadBytesAndNeverLeavesItsParent) {
    // RIFF (size 24) WAVE: "odd " of 1 byte + pad, "two " of 2 bytes; then "out " outside the RIFF.
    std::vector<std::uint8_t> file = Bytes(std::string("RIFF\x18\0\0\0WAVE"
                                                       "odd \x01\0\0\0X\0"
                                                       "two \x02\0\0\0YZ"
                                                       "out \x00\0\0\0",
                                                       40));
    CMemoryRiffSource source(file.data(), file.size());
    CRiffReader reader(source);
    RiffChunk riff;
    ASSERT_TRUE(reader.DescendRiff(riff, FourCC("WAVE")));
    EXPECT_EQ(riff.size, 24u);
    std::uint64_t children = reader.Tell();

    RiffChunk chunk;
    ASSERT_TRUE(reader.Descend(chunk, riff, FourCC("two ")));
    char two[2];
    EXPECT_EQ(reader.Read(two, 2), 2u);
    EXPECT_EQ(std::string(two, 2), "YZ");

    reader.Seek(children);
    ASSERT_TRUE(reader.Descend(chunk, riff, FourCC("odd ")));
    reader.Ascend(chunk);
    EXPECT_EQ(reader.Tell(), children + 10) << "past the pad byte";
    EXPECT_FALSE(reader.Descend(chunk, riff, FourCC("out "))) << "beyond the RIFF chunk";
    EXPECT_FALSE(reader.Descend(chunk, riff, FourCC("odd "))) << "searches go forward only";

    reader.Seek(0);
    EXPECT_FALSE(reader.DescendRiff(riff, FourCC("AVI ")));
}

TEST(Riff, SizesAreCheckedAgainstTheFile) {
    // A RIFF claiming 4 GB, a chunk claiming more than the file holds, then nothing.
    std::vector<std::uint8_t> file = Bytes(std::string("RIFF\xff\xff\xff\xffWAVE"
                                                       "big \x00\x10\0\0abc",
                                                       23));
    CMemoryRiffSource source(file.data(), file.size());
    CRiffReader reader(source);
    RiffChunk riff;
    ASSERT_TRUE(reader.DescendRiff(riff, FourCC("WAVE")));
    std::uint64_t children = reader.Tell();
    RiffChunk big;
    ASSERT_TRUE(reader.Descend(big, riff, FourCC("big ")));
    EXPECT_EQ(big.size, 4096u);
    EXPECT_EQ(reader.Available(big), 3u);
    std::uint8_t buffer[16];
    EXPECT_EQ(reader.Read(buffer, sizeof buffer), 3u);

    reader.Seek(children);
    EXPECT_FALSE(reader.Descend(big, riff, FourCC("next"))) << "skipping past the end finds nothing";

    // Too short for even a header.
    CMemoryRiffSource tiny(file.data(), 7);
    CRiffReader tinyReader(tiny);
    EXPECT_FALSE(tinyReader.DescendRiff(riff, FourCC("WAVE")));
}

TEST(Riff, WriterFillsSizesAndPadsOddChunks) {
    TempDir dir;
    std::string path = dir.File("w.riff");
    AtomicFileWriter file(path);
    ASSERT_TRUE(file.Open());
    CRiffWriter writer(file);
    RiffChunk riff;
    RiffChunk chunk;
    ASSERT_TRUE(writer.CreateChunk(riff, FourCC("RIFF"), FourCC("TEST")));
    ASSERT_TRUE(writer.CreateChunk(chunk, FourCC("abc ")));
    ASSERT_TRUE(writer.Write("xyz", 3));
    ASSERT_TRUE(writer.Ascend(chunk));
    EXPECT_EQ(chunk.size, 3u);
    ASSERT_TRUE(writer.CreateChunk(chunk, FourCC("nil ")));
    ASSERT_TRUE(writer.Ascend(chunk));
    ASSERT_TRUE(writer.Ascend(riff));
    ASSERT_TRUE(file.Commit());

    FileContents written = ReadWholeFile(path);
    EXPECT_EQ(written.bytes, Bytes(std::string("RIFF\x18\0\0\0TEST"
                                               "abc \x03\0\0\0xyz\0"
                                               "nil \0\0\0\0",
                                               32)));
    EXPECT_EQ(writer.GetError(), CRiffWriter::Error::None);
}
