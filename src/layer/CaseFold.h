#pragma once

#include <string_view>

// Case-insensitive comparison of Windows-1252 text, as a Western Windows system folds it: ASCII
// letters and the accented Latin letters of the code page.
char FoldCase(char c);

// <0, 0, >0 as `a` sorts before, with, or after `b` when case is ignored.
int CompareIgnoringCase(std::string_view a, std::string_view b);

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix);
