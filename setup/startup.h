// Entry point, command line, main window and the helper that centres dialogs.
#ifndef LUMSETUP_STARTUP_H
#define LUMSETUP_STARTUP_H

#include <windows.h>

struct SetupOptions {
    int installRequested;
    int removeRequested;
    int quiet;
};

extern SetupOptions setupOptions;
extern HINSTANCE appInstance;
extern HWND mainWindow;

// Reads the case-sensitive substring switches of the command line.
void ReadCommandLine(const char *commandLine, SetupOptions *options);

// Four fifths of the desktop, at least 600 x 400, centred.
void ComputeMainWindowRect(const RECT *desktop, int *x, int *y, int *width, int *height);

// Where CenterWindow puts a window of the given size on the given desktop.
void ComputeCenteredPosition(const RECT *window, const RECT *desktop, int dy, int *x, int *y);

void CenterWindow(HWND window, int dy);
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
int PaintMainWindow(HWND window);

#endif
