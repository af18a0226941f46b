// Text helpers of tarnix-fit: wide text as printable ASCII for its messages.
#pragma once

#include <string>

// ASCII rendering of wide text for messages; other characters become '?'.
std::string PrintableText(const std::wstring& text);
