// File installation: payload extraction into a private temporary directory,
// source check, directory creation and the copy with expansion.
#ifndef LUMSETUP_FILES_H
#define LUMSETUP_FILES_H

#include <windows.h>

extern HWND progressDialog;
extern int copyCancelled;

// The private directory of this run under the temporary directory, ending in
// a backslash; empty until ExtractPayload has created it.
extern char extractDirectory[MAX_PATH];

int ExtractPayload(HINSTANCE instance, HWND owner);
int ExtractPayloadFile(HINSTANCE instance, HWND statusControl, const char *resourceName,
                       const char *directory, const char *fileName);
int DeleteExtractedFiles(void);

int LocateSource(HINSTANCE instance, HWND owner, char *directory, const char *primaryFileName);

int CreateDirectoryPath(char *path);

int InstallPayloadFiles(HINSTANCE instance, HWND owner, const char *sourceDirectory,
                        const char *programDirectory);
int InstallPayloadFile(struct PayloadEntry *entry, const char *sourceDirectory,
                       const char *programDirectory, HWND owner, HWND statusControl);
int ExpandFile(const char *sourcePath, const char *destinationPath);

INT_PTR CALLBACK CopyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
