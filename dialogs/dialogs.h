// The modal dialogs: install-or-remove, directory prompt with its browser,
// and the Program Manager group.
#ifndef LUMSETUP_DIALOGS_H
#define LUMSETUP_DIALOGS_H

#include <windows.h>

extern char directoryPrompt[512];
extern char directoryText[512];
extern char directoryDialogTitle[256];
extern char browseFileName[256];

int AskInstallOrRemove(HWND owner, HINSTANCE instance);
INT_PTR CALLBACK InstallDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

int AskDirectory(HWND owner, HINSTANCE instance, const char *prompt, const char *initial,
                 char *result);
INT_PTR CALLBACK DirectoryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
int BrowseForDirectory(HWND owner, const char *fileName, const char *initialDirectory,
                       char *fileBuffer);
UINT_PTR CALLBACK BrowseHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
int AskProgramDirectory(HINSTANCE instance, HWND owner, char *directory);

int AskGroupName(HWND owner, HINSTANCE instance);
INT_PTR CALLBACK GroupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
