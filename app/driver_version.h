// The driver library's "ProductVersion" text, read from its version resource.
#pragma once

#include <cstddef>
#include <string>

// The driver library's path: the program-files folder, "Zeph\Touch", "QuvaIntf.dll".
std::wstring DriverLibraryPath();

// Reads "ProductVersion" through the first translation entry ("\StringFileInfo\%04x%04x\..."),
// at most 260 characters; false when the file carries no readable version text.
bool ReadProductVersion(const std::wstring& path, std::wstring& version);
