// Hiding the system cursors while a pass shows its targets and restoring the user's own afterwards.
//
// The state lives in the user's registry, so it survives the process: "hidden" means the scheme
// name "(Default)" of "Control Panel\Cursors" holds "Quva" and "Control Panel\Cursors\LastScheme"
// holds a copy of the user's values. Hiding does nothing while hidden; restoring does nothing
// while not hidden. Safe to call from any thread (the calls are serialised).
#pragma once

#include <string>
#include <vector>

#include "platform/registry_values.h"

// The registry keys of the cursor settings, under the current user and the machine-wide hive.
inline constexpr const wchar_t* kUserCursorsKey = L"Control Panel\\Cursors";
inline constexpr const wchar_t* kSavedCursorsKey = L"Control Panel\\Cursors\\LastScheme";
inline constexpr const wchar_t* kCursorSchemesKey =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Control Panel\\Cursors\\Schemes";

// Saves the user's cursor values, marks them hidden and replaces the system cursors by the files
// of the "Quva" scheme list. Does nothing when already hidden, and hides nothing when the user's
// values could not be saved.
void HideCursorsIfNeeded();

// Puts the saved values back and reloads the system cursors, when hidden.
void RestoreCursorsIfNeeded();

// Replaces every cursor the scheme list serves by its file and records the file in the user's
// values; builds and stores the default list when "Quva" cannot be read.
void HideSystemCursors();

// Replaces the user's cursor values by the saved copy, the scheme name last (so the cursors
// count as hidden until every other value is back); false when something was not put back.
bool RestoreSavedCursorValues();

// Reloads the system cursors from the user's values.
void RestoreSystemCursors();

// Copies the invisible cursor from the support folder into the Windows cursors folder when it is
// not there; true when the file is there afterwards.
bool InstallNullCursor();

// Up to kMaxRegistryKeyValues values of "Control Panel\Cursors", as read for restoring; values
// beyond the registry value limits are passed over.
std::vector<RegistryValue> ReadUserCursorValues();

// The platform's Windows folder, and the first %VARIABLE% of a path expanded from the environment.
std::wstring WindowsFolder();
bool ExpandPathVariables(std::wstring& path);
