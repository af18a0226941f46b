// Wide text of the command line as UTF-8, on every platform (UTF-16 on Windows, code points
// elsewhere); a lone surrogate becomes U+FFFD.
#pragma once

#include <string>

std::string Utf8FromWide(const std::wstring& text);
