// Conversions between the program's wide text and the portable system's narrow (locale) text.
#pragma once

#include <string>

std::wstring WideFromNarrow(const char* text);
std::string NarrowFromWide(const std::wstring& text);
