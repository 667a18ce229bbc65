// The progress dialog "DLG_COPY": shows the file at hand and lets the user
// stop the copy step between files. Its keyboard handling comes from
// PumpMessages, which passes messages through IsDialogMessageA for it.
#include "files/files.h"
#include "files/progress.h"
#include "setup/startup.h"
#include "resource.h"

HWND progressDialog;
int copyCancelled;

INT_PTR CALLBACK CopyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        CenterWindow(dialog, 0);
        copyCancelled = 0;
        return TRUE;
    case WM_COMMAND:
        // Cancel (and Escape) only raise the flag: the file at hand is
        // finished and the copy loop stops before the next one.
        if (LOWORD(wParam) == IDCANCEL) {
            copyCancelled = 1;
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

HWND OpenProgressDialog(HINSTANCE instance, HWND owner)
{
    progressDialog = NULL;
    if (setupOptions.quiet)
        return NULL;
    progressDialog = CreateDialogParamA(instance, "DLG_COPY", owner, CopyDialogProc, 0);
    if (progressDialog == NULL)
        return NULL;
    return GetDlgItem(progressDialog, IDC_COPY_STATUS);
}

void CloseProgressDialog(HWND owner)
{
    SetActiveWindow(owner);
    if (progressDialog != NULL)
        DestroyWindow(progressDialog);
    progressDialog = NULL;
}

void ShowProgressText(HWND statusControl, const char *text)
{
    if (statusControl != NULL)
        SetWindowTextA(statusControl, text);
}
