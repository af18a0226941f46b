// Text helpers of tarnix-fit: wide paths to printable narrow text and back.
#pragma once

#include <string>

// ASCII rendering of wide text for messages; other characters become '?'.
std::string PrintableText(const std::wstring& text);

// Widens ASCII / locale text given on the command line.
std::wstring WidenArgument(const char* text);
