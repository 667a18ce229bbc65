// Removal of a recorded installation.
#ifndef LUMSETUP_REMOVAL_H
#define LUMSETUP_REMOVAL_H

#include <windows.h>

int RemoveInstallation(HWND owner);
int DeleteRegistryTree(const char *path, HKEY root);

#endif
