// The name of the object that lets one copy of Tarnix calibrate at a time.
#pragma once

inline constexpr wchar_t kInstanceMutexName[] = L"QuvaCalMutex";
