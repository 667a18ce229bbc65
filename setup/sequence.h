// One complete run: install-or-remove choice, then every installation step.
#ifndef LUMSETUP_SEQUENCE_H
#define LUMSETUP_SEQUENCE_H

#include <windows.h>

// 1 after a successful installation, 0 when cancelled or a step failed,
// the removal's result after a removal.
int RunSetup(HWND window);

// What the start command does: RunSetup, DeleteExtractedFiles, WM_CLOSE.
void RunStartCommand(HWND window);

// Nonzero while RunStartCommand is under way (closing the window is ignored).
extern int runInProgress;

#endif
