// The directory browser: the system's older file-open dialog, cut down by our
// templates to a directory list and a drive list. Its OK yields the directory
// shown joined with the pre-filled file name; the file name is cut off again.
#include "dialogs/dialogs.h"
#include "setup/messages.h"
#include "setup/product.h"
#include "setup/startup.h"
#include "resource.h"
#include <commdlg.h>

// Queued to the browser after its own handling of the commands below.
static const WORD browseRefreshCommand = 1280;

enum {
    DIRECTORY_LIST = 1121,  // lst2 of the file-open dialog
    DRIVE_LIST = 1137       // cmb2
};

// One entry, "<All Files> (*.*)" with the pattern "*.*", ended by two zero bytes.
static void BuildFilterList(char *filter, int capacity)
{
    char name[TEXT_SIZE];
    LoadMessage(MSG_ALL_FILES, name, sizeof name);
    ZeroMemory(filter, capacity);
    // One byte short of the capacity, so a cut list still ends in two zeros.
    FormatText(filter, capacity - 1, "%s (*.*)|*.*||", name);
    for (char *c = filter; *c; c++)
        if (*c == '|')
            *c = 0;
}

static const char *BrowseTemplateFor(const char *fileName)
{
    return lstrcmpiA(fileName, "LumTools.exe") == 0 ? "DLG_GETSRCDIR" : "DLG_BROWSE";
}

// Leaves the directory of a full path; "C:\a" gives "C:".
static void CutAtLastBackslash(char *path)
{
    char *last = NULL;
    for (char *c = path; *c; c++)
        if (*c == '\\')
            last = c;
    if (last != NULL)
        *last = 0;
}

int BrowseForDirectory(HWND owner, const char *fileName, const char *initialDirectory,
                       char *fileBuffer)
{
    if (fileBuffer != fileName)
        CopyText(fileBuffer, MAX_PATH, fileName);
    char filter[TEXT_SIZE];
    char title[TEXT_SIZE];
    BuildFilterList(filter, sizeof filter);
    LoadMessage(MSG_LOCATE, title, sizeof title);

    OPENFILENAMEA dialog;
    ZeroMemory(&dialog, sizeof dialog);
    // The size Windows 95 and NT 4 know; the fields after it stay unused.
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = owner;
    dialog.hInstance = appInstance;
    dialog.lpstrFilter = filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = fileBuffer;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrInitialDir = initialDirectory;
    dialog.lpstrTitle = title;
    dialog.Flags = OFN_HIDEREADONLY | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE;
    dialog.lpfnHook = BrowseHookProc;
    dialog.lpTemplateName = BrowseTemplateFor(fileName);

    if (!GetOpenFileNameA(&dialog)) {
        // A failure may have left a size in the buffer; give back the name.
        if (fileBuffer != fileName)
            CopyText(fileBuffer, MAX_PATH, fileName);
        return 0;
    }
    CutAtLastBackslash(fileBuffer);
    return 1;
}

static void PostBrowseCommand(HWND dialog, WPARAM wParam, LPARAM lParam)
{
    PostMessageA(dialog, WM_COMMAND, wParam, lParam);
}

static void HookCommand(HWND dialog, WORD control, WORD notification)
{
    switch (control) {
    case IDOK:
    case IDCANCEL:
    case IDABORT:
        PostBrowseCommand(dialog, browseRefreshCommand, 0);
        break;
    case DIRECTORY_LIST:
        if (notification == LBN_DBLCLK)
            PostBrowseCommand(dialog, browseRefreshCommand, 0);
        break;
    case DRIVE_LIST:
        if (notification == CBN_SELCHANGE)
            PostBrowseCommand(dialog, browseRefreshCommand, 1);
        else if (notification == CBN_CLOSEUP)
            // Closing the list counts as choosing the drive shown.
            PostBrowseCommand(dialog, MAKEWPARAM(DRIVE_LIST, CBN_SELCHANGE),
                              (LPARAM)GetDlgItem(dialog, DRIVE_LIST));
        break;
    }
}

// Sees every message of the browser first; the dialog's own handling always follows.
UINT_PTR CALLBACK BrowseHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    if (message == WM_INITDIALOG) {
        SetDlgItemTextA(dialog, IDC_BROWSE_PROMPT, directoryPrompt);
        PostBrowseCommand(dialog, browseRefreshCommand, 0);
    } else if (message == WM_COMMAND) {
        HookCommand(dialog, LOWORD(wParam), HIWORD(wParam));
    }
    return 0;
}
