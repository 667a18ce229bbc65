// The directory prompt "DLG_GETDIR", shared by the source check and the
// program directory question, and the program directory loop that repeats
// the prompt until the directory exists.
#include "dialogs/dialogs.h"
#include "files/files.h"
#include "setup/messages.h"
#include "setup/product.h"
#include "setup/startup.h"
#include "resource.h"

char directoryPrompt[PATH_SIZE];
char directoryText[PATH_SIZE];
char directoryDialogTitle[TEXT_SIZE];
char browseFileName[TEXT_SIZE];

// The browser hands its answer back through this buffer.
static char browseBuffer[MAX_PATH];

int AskDirectory(HWND owner, HINSTANCE instance, const char *prompt, const char *initial,
                 char *result)
{
    CopyText(directoryPrompt, sizeof directoryPrompt, prompt);
    CopyText(directoryText, sizeof directoryText, initial);
    INT_PTR answer = DialogBoxParamA(instance, "DLG_GETDIR", owner, DirectoryDialogProc, 0);
    // -1 (no dialog) counts as confirmed: the caller then gets its initial text back.
    if (answer != 0)
        CopyText(result, PATH_SIZE, directoryText);
    return (int)answer;
}

static void InitDirectoryDialog(HWND dialog)
{
    CenterWindow(dialog, 0);
    SetDlgItemTextA(dialog, IDC_PROMPT, directoryPrompt);
    SetDlgItemTextA(dialog, IDC_DIRECTORY, directoryText);
    if (directoryDialogTitle[0] != 0)
        SetWindowTextA(dialog, directoryDialogTitle);
}

static void ReadDirectoryField(HWND dialog)
{
    ZeroMemory(directoryText, sizeof directoryText);
    GetDlgItemTextA(dialog, IDC_DIRECTORY, directoryText, sizeof directoryText);
}

// Opens the browser where the edit field points; its choice replaces the field.
static void BrowseFromDirectoryDialog(HWND dialog)
{
    ReadDirectoryField(dialog);
    if (BrowseForDirectory(dialog, browseFileName, directoryText, browseBuffer))
        SetDlgItemTextA(dialog, IDC_DIRECTORY, browseBuffer);
}

INT_PTR CALLBACK DirectoryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    if (message == WM_INITDIALOG) {
        InitDirectoryDialog(dialog);
        return TRUE;
    }
    if (message != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        ReadDirectoryField(dialog);
        EndDialog(dialog, 1);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, 0);
        return TRUE;
    case IDC_BROWSE:
        BrowseFromDirectoryDialog(dialog);
        return FALSE;
    }
    return FALSE;
}

static void ReportDirectoryFailure(HWND owner)
{
    char caption[PATH_SIZE];
    char text[PATH_SIZE];
    LoadMessage(MSG_ORVANTA, caption, sizeof caption);
    LoadMessage(MSG_PROMPT_DIR_FAILED, text, sizeof text);
    LogLine(text);
    MessageBoxA(owner, text, caption, MB_ICONERROR);
}

int AskProgramDirectory(HINSTANCE instance, HWND owner, char *directory)
{
    char prompt[PATH_SIZE];
    LoadMessage(MSG_PROGRAM_CAPTION, directoryDialogTitle, sizeof directoryDialogTitle);
    CopyText(browseFileName, sizeof browseFileName, "a");
    LoadMessage(MSG_PROGRAM_PROMPT, prompt, sizeof prompt);
    for (;;) {
        int answer = AskDirectory(owner, instance, prompt, directory, directory);
        if (answer == 0)
            return 0;
        // A directory too long for the file names is refused before any part
        // of it is created, so no half-made path is left behind.
        if (ProgramDirectoryCanHoldFiles(directory) && CreateDirectoryPath(directory))
            return 1;
        ReportDirectoryFailure(owner);
        // -1: the prompt cannot be shown, so it cannot ask again either.
        if (answer == -1)
            return 0;
    }
}
