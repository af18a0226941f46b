// The installation's support folder, which holds Tarnix.cfg, QuvaOptions.ini and QuvaVideo.txt.
#pragma once

#include <cstddef>

constexpr size_t kSupportFolderCapacity = 260;

// Refills the process-wide buffer with the folder and returns it; with a caller buffer of
// kSupportFolderCapacity characters, copies the folder there and returns the caller's copy.
const wchar_t* GetSupportFolder(wchar_t* buffer = nullptr);
