// JSON text and numbers as the tools write them: valid JSON whatever the bytes or values.
#pragma once

#include <optional>
#include <string>

// The shortest text that reads back as the same double.
std::string ShortestNumber(double value);

// A JSON number: null for nothing and for a value that is not finite.
std::string JsonNumber(std::optional<double> value);

// A quoted JSON string. Well-formed UTF-8 passes through; quotes, backslashes and control
// characters are escaped, and every byte that is not part of well-formed UTF-8 is written as the
// character of the same number (\u00XX), so any bytes give valid JSON.
std::string JsonText(const std::string& text);
