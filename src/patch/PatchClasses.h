#pragma once

// Makes the record classes of patch files known to the archive. Safe to call any number of times.
void RegisterPatchClasses();
