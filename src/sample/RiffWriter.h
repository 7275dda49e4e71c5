#pragma once

#include "sample/RiffReader.h"

#include <cstddef>
#include <cstdint>

class AtomicFileWriter;

// Writes RIFF chunks into a file being saved. A chunk is created with a size of 0 and closed by
// Ascend, which pads an odd size with one zero byte, seeks back to fill in the size and returns
// to the end. The first failure sticks: every later call fails too.
class CRiffWriter {
public:
    enum class Error { None, CannotSeek, CannotWrite, TooLarge };

    explicit CRiffWriter(AtomicFileWriter& file) : m_file(file) {}

    // `formType` is written for RIFF and LIST chunks only.
    bool CreateChunk(RiffChunk& chunk, std::uint32_t id, std::uint32_t formType = 0);
    bool Write(const void* data, std::size_t size);
    bool Ascend(RiffChunk& chunk);
    // A whole chunk whose contents are at hand, as they are (a "LIST" chunk's form type among them).
    bool WriteChunk(std::uint32_t id, const void* data, std::size_t size);

    Error GetError() const { return m_error; }

private:
    bool Fail(Error error, bool seeking);

    AtomicFileWriter& m_file;
    Error m_error = Error::None;
};
