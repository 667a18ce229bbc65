// The platform's LZ32 expansion functions, taken from lz32.dll in the system
// directory at run time. lz32.dll is not one of the DLLs that Windows always
// loads from the system directory, so importing it would let a planted
// lz32.dll beside setup.exe run inside the installer.
#ifndef LUMSETUP_LZ32_H
#define LUMSETUP_LZ32_H

#include <windows.h>

// Loads lz32.dll from `directory` (with or without a trailing backslash) and
// takes its three functions; 1 when all three are there, else 0 and every
// function below fails. Replaces whatever was loaded before.
int LoadLz32From(const char *directory);

// 1 when the functions are available, loading them from the system directory
// on first use; a load that failed is not tried again.
int Lz32Available(void);

// As LZOpenFileA, LZCopy and LZClose; without the DLL, opens and copies fail
// (-1, and LZERROR_BADINHANDLE) and closing does nothing.
INT Lz32OpenFile(char *path, OFSTRUCT *record, WORD style);
LONG Lz32Copy(INT source, INT destination);
void Lz32Close(INT handle);

#endif
