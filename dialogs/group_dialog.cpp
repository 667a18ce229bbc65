// Asks for the Program Manager group: an editable list of the groups Program
// Manager already has. The name goes in and out through groupName.
#include "dialogs/dialogs.h"
#include "setup/startup.h"
#include "setup/product.h"
#include "setup/messages.h"
#include "progman/progman.h"
#include "resource.h"

static const char groupDialogCaption[] = "Program Manager Group";

int AskGroupName(HWND owner, HINSTANCE instance)
{
    return (int)DialogBoxParamA(instance, "DLG_GETGROUP", owner, GroupDialogProc, 0);
}

static void InitGroupDialog(HWND dialog)
{
    CenterWindow(dialog, 0);
    // The list first: the proposal need not be one of the listed groups.
    ProgmanListGroups(GetDlgItem(dialog, IDC_GROUP_COMBO));
    SetDlgItemTextA(dialog, IDC_GROUP_COMBO, groupName);
}

// A name that could not be sent to Program Manager is refused here, while
// the user can still change it; the dialog stays open with the name selected.
static void RefuseGroupName(HWND dialog)
{
    MessageBoxA(dialog, "The group name cannot contain double quotes.", groupDialogCaption,
                MB_OK | MB_ICONEXCLAMATION);
    HWND combo = GetDlgItem(dialog, IDC_GROUP_COMBO);
    SetFocus(combo);
    SendMessageA(combo, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

static void ConfirmGroupName(HWND dialog)
{
    char name[TEXT_SIZE];
    GetDlgItemTextA(dialog, IDC_GROUP_COMBO, name, sizeof name);
    if (!ProgmanIsSafeGroupName(name)) {
        RefuseGroupName(dialog);
        return;
    }
    CopyText(groupName, sizeof groupName, name);
    EndDialog(dialog, 1);
}

INT_PTR CALLBACK GroupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        InitGroupDialog(dialog);
        return TRUE;  // focus on the first tab stop, Ok
    }
    if (message != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:  // Ok, and the Enter key
        ConfirmGroupName(dialog);
        return TRUE;
    case IDCANCEL:  // Cancel, the Escape key and the close box
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}
