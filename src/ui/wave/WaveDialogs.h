#pragma once

class QtDialogs;

// The sample dialogs ("Adjust Gain", "Remix Stereo", "Reduce To Mono", "Crossfade Loop",
// "Synthesize", the Kurzweil sample list, "Change Sample Rate/Pitch", "Change Sample Rate").
void RegisterWaveDialogs(QtDialogs& dialogs);
