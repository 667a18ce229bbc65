// The modeless progress dialog "DLG_COPY", shared by payload extraction and
// the copy step: opened before the first file, closed after the last.
#ifndef LUMSETUP_PROGRESS_H
#define LUMSETUP_PROGRESS_H

#include <windows.h>

// Unless quiet mode is on, creates the dialog owned by `owner` and stores it
// in progressDialog. Returns its status control, or NULL when there is none.
HWND OpenProgressDialog(HINSTANCE instance, HWND owner);

// Makes the owner the active window, then destroys the dialog if there is one;
// progressDialog is none afterwards.
void CloseProgressDialog(HWND owner);

// Shows a progress line in the status control, when there is one.
void ShowProgressText(HWND statusControl, const char *text);

#endif
