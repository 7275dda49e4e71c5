#pragma once

#include "cli/JsonReader.h"

class CLayerDoc;

// A layer library as JSON: entries, layers and key pairs in the order the document holds them
// (for a document read from a file, the file's order), names and paths in UTF-8.
OrderedJson LayerDocToJson(const CLayerDoc& doc);

// Fills an empty document from that JSON: the entries, then the layers, then each layer's key
// pairs, in the order listed. Throws JsonInputError for anything that would not survive a save: a
// name used twice, a key outside 0..127 or given twice in a layer, a key naming no listed entry, a
// value too wide for its word in the file, a text Windows-1252 cannot hold.
void LayerDocFromJson(const OrderedJson& json, CLayerDoc& doc);
