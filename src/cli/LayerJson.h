#pragma once

#include "layer/LayerDoc.h"

#include <nlohmann/json.hpp>

#include <string>

// A layer library as JSON: entries, layers and key pairs in the order the document holds them,
// names and paths in UTF-8.
nlohmann::ordered_json LayerDocToJson(const CLayerDoc& doc);

// Fills an empty document from JSON of the same form: the entries, then the layers, then each
// layer's key pairs, in the order listed. Returns what is wrong with the JSON, or the empty text.
std::string LayerDocFromJson(const nlohmann::json& source, CLayerDoc& doc);
