// Cursor hiding of the window, through the registry-backed cursor state machine.
#include "app/cursor_control.h"
#include "cursors/cursor_hiding.h"

void HidePassCursor() { HideCursorsIfNeeded(); }

void RestorePassCursor() { RestoreCursorsIfNeeded(); }
