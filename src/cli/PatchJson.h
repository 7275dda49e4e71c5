#pragma once

#include "cli/JsonReader.h"

class CPatchDoc;

// A patch bank as JSON: the patches in the order the document last read them from its file, each
// value as the records hold it, names in UTF-8.
OrderedJson PatchBankToJson(const CPatchDoc& doc);

// Fills an empty document from that JSON, storing the patches in the order listed. Throws
// JsonInputError for anything that would not survive a save: a patch number outside 0..127 or
// used twice, a value too wide for its field in the file, a name Windows-1252 cannot hold.
void PatchBankFromJson(const OrderedJson& json, CPatchDoc& doc);
