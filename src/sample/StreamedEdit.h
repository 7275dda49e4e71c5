#pragma once

#include "sample/ResampleDialogs.h"

#include <optional>
#include <string>

// A whole command that can run on a WAVE file without loading its audio: the input is read in place
// through a mapping and the result written block by block, so that no buffer of the file's size is
// faulted in. The file written is the one that opening, the operation and saving would write.
struct StreamedEdit {
    enum class Kind { Normalize, Resample };
    Kind kind = Kind::Normalize;
    ResampleValues resample; // Resample only
};

// Reads the WAVE file `in`, applies `edit` and writes the WAVE file `out`, with the messages the
// document's way gives; whether it succeeded. Nothing when `in` cannot be read in place (it cannot
// be mapped, or the host is not little-endian): nothing has been said or done, and the caller
// takes the document's way.
std::optional<bool> RunStreamedEdit(const std::string& in, const std::string& out, const StreamedEdit& edit);
