// The one conversion between the program's wide text and the portable system's narrow text.
#pragma once

#include <string>

// Narrow text of the portable build (paths, environment values, trace lines) is UTF-8 whatever the
// locale. A byte that is not part of valid UTF-8 is carried in wide text as U+DC80 + (byte - 0x80)
// and written back as that byte, so a name read from the system reaches it again unchanged. Wide
// characters that UTF-8 cannot hold (other lone surrogates, values beyond U+10FFFF) become '?'.
std::wstring WideFromNarrow(const char* text);
std::string NarrowFromWide(const std::wstring& text);
