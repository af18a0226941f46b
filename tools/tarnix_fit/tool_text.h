// Text helpers of tarnix-fit: wide text as printable ASCII for its messages, and paths.
#pragma once

#include <filesystem>
#include <string>

// ASCII rendering of wide text for messages; other characters become '?'.
std::string PrintableText(const std::wstring& text);

// A wide path as the file system names it, and back: the platform's own wide paths on Win32, the
// portable build's narrow text elsewhere (never throws, whatever the characters).
std::filesystem::path ToolPath(const std::wstring& path);
std::wstring ToolWidePath(const std::filesystem::path& path);
