// The first question of every run: install, or remove the installation that
// win.ini records. Command-line switches answer it without a window.
#include "dialogs/dialogs.h"
#include "setup/startup.h"
#include "setup/product.h"
#include "setup/messages.h"
#include "resource.h"

int AskInstallOrRemove(HWND owner, HINSTANCE instance)
{
    if (setupOptions.installRequested)
        return 1;
    if (setupOptions.removeRequested)
        return 2;
    return (int)DialogBoxParamA(instance, "DLG_INSTALL", owner, InstallDialogProc, 0);
}

static void SetChoiceText(HWND dialog, int id, const char *format)
{
    char text[260];
    FormatText(text, sizeof text, format, productName);
    SetDlgItemTextA(dialog, id, text);
}

// Removal needs a recorded program directory (DIR of the product's section).
static int InstallationRecorded(void)
{
    char directory[256];
    return GetProfileStringA(productName, "DIR", "", directory, sizeof directory) > 0;
}

static void InitInstallDialog(HWND dialog)
{
    CenterWindow(dialog, 0);
    SetChoiceText(dialog, IDC_INSTALL_CHOICE, "Install %s");
    SetChoiceText(dialog, IDC_REMOVE_CHOICE, "Remove prior installation of %s");
    CheckRadioButton(dialog, IDC_INSTALL_CHOICE, IDC_REMOVE_CHOICE, IDC_INSTALL_CHOICE);
    EnableWindow(GetDlgItem(dialog, IDC_REMOVE_CHOICE), InstallationRecorded());
}

static int ChosenAnswer(HWND dialog)
{
    if (IsDlgButtonChecked(dialog, IDC_INSTALL_CHOICE))
        return 1;
    if (IsDlgButtonChecked(dialog, IDC_REMOVE_CHOICE))
        return 2;
    return 0;
}

INT_PTR CALLBACK InstallDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        InitInstallDialog(dialog);
        return TRUE;  // focus on the first tab stop, Continue
    }
    if (message != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:  // Continue, and the Enter key
        EndDialog(dialog, ChosenAnswer(dialog));
        return TRUE;
    case IDCANCEL:  // Exit, the Escape key and the close box
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}
