#pragma once

#include "layer/LayerDialogs.h"

// "Browse" of "Edit Sample List Item": asks for a sound file in the sample root; the path becomes
// the chosen file's and, while the name is still "Untitled", the name is taken from it. False
// when the user cancelled and nothing changed.
bool BrowseForSoundFile(SampleItemValues& values);
