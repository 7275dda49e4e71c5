#include "platform/FileIo.h"
#include "sample/LittleEndian.h"
#include "sample/RiffReader.h"
#include "sample/RiffWriter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {
std::vector<std::uint8_t> Bytes(const char* text, std::size_t size) {
    return {text, text + size};
}
} // namespace

TEST(Riff, ReaderSkipsPadBytesAndStaysInsideItsParentAndTheFile) {
    // A RIFF of 24 bytes: "odd " of 1 byte and its pad, "two " of 2 bytes; then "out " beyond it.
    std::vector<std::uint8_t> file =
        Bytes("RIFF\x18\0\0\0WAVEodd \x01\0\0\0X\0two \x02\0\0\0YZout \0\0\0\0", 40);
    CMemoryRiffSource source(file.data(), file.size());
    CRiffReader reader(source);
    RiffChunk riff;
    RiffChunk chunk;
    EXPECT_FALSE(reader.DescendRiff(riff, FourCC("AVI ")));
    reader.Seek(0);
    ASSERT_TRUE(reader.DescendRiff(riff, FourCC("WAVE")));
    ASSERT_TRUE(reader.Descend(chunk, riff, FourCC("odd ")));
    reader.Ascend(chunk);
    EXPECT_EQ(reader.Tell(), 12u + 10) << "past the pad byte";
    ASSERT_TRUE(reader.Descend(chunk, riff, FourCC("two ")));
    char two[2];
    ASSERT_EQ(reader.Read(two, 2), 2u);
    EXPECT_EQ(std::string(two, 2), "YZ");
    reader.Seek(12);
    EXPECT_FALSE(reader.Descend(chunk, riff, FourCC("out "))) << "outside the RIFF chunk";

    // Sizes that claim more than the file holds.
    file = Bytes("RIFF\xff\xff\xff\xffWAVEbig \0\x10\0\0abc", 23);
    CMemoryRiffSource cut(file.data(), file.size());
    CRiffReader cutReader(cut);
    ASSERT_TRUE(cutReader.DescendRiff(riff, FourCC("WAVE")));
    ASSERT_TRUE(cutReader.Descend(chunk, riff, FourCC("big ")));
    EXPECT_EQ(chunk.size, 4096u);
    EXPECT_EQ(cutReader.Available(chunk), 3u);
    std::uint8_t buffer[16];
    EXPECT_EQ(cutReader.Read(buffer, sizeof buffer), 3u);
    cutReader.Seek(12);
    EXPECT_FALSE(cutReader.Descend(chunk, riff, FourCC("next")));
}

TEST(Riff, WriterFillsSizesAndPadsOddChunks) {
    TempDir dir;
    AtomicFileWriter file(dir.File("w.riff"));
    ASSERT_TRUE(file.Open());
    CRiffWriter writer(file);
    RiffChunk riff;
    RiffChunk chunk;
    writer.CreateChunk(riff, FourCC("RIFF"), FourCC("TEST"));
    writer.CreateChunk(chunk, FourCC("abc "));
    writer.Write("xyz", 3);
    writer.Ascend(chunk);
    writer.CreateChunk(chunk, FourCC("nil "));
    writer.Ascend(chunk);
    ASSERT_TRUE(writer.Ascend(riff));
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(ReadWholeFile(dir.File("w.riff")).bytes,
              Bytes("RIFF\x18\0\0\0TESTabc \x03\0\0\0xyz\0nil \0\0\0\0", 32));
}
