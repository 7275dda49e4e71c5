#pragma once

#include <string>

class CPatchDoc;

// The patch report: every patch of the bank in number order, as CR LF lines of Windows-1252 text.
std::string PatchReportText(const CPatchDoc& doc);

// Writes the report to `path`, replacing the file only when all of it was written. Says why and
// returns false when it cannot.
bool WritePatchReport(const CPatchDoc& doc, const std::string& path);
