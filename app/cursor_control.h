// The one place where the window hides and restores the system cursors.
#pragma once

void HidePassCursor();
void RestorePassCursor();
