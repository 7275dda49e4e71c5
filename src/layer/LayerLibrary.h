#pragma once

#include "layer/LayerDoc.h"

#include <memory>
#include <string>

// The read-only copy of the layer library that a patch window keeps. Never null: when the file is
// missing or damaged the user is told so and the library is empty.
std::unique_ptr<CLayerDoc> LoadLayerLibrary(const std::string& path);
