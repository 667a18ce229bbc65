// Run-time binding of lz32.dll by its full path in the system directory, so
// that no lz32.dll from the program's own folder can be picked up.
#include "files/lz32.h"
#include "setup/messages.h"

typedef INT(WINAPI *OpenFileFunction)(LPSTR, LPOFSTRUCT, WORD);
typedef LONG(WINAPI *CopyFunction)(INT, INT);
typedef void(WINAPI *CloseFunction)(INT);

static int lz32Attempted;  // a failed load stays failed: the system directory will not change
static HMODULE lz32Module;
static OpenFileFunction openFunction;
static CopyFunction copyFunction;
static CloseFunction closeFunction;

static void ForgetLz32(void)
{
    if (lz32Module != NULL)
        FreeLibrary(lz32Module);
    lz32Module = NULL;
    openFunction = NULL;
    copyFunction = NULL;
    closeFunction = NULL;
}

// "<directory>\lz32.dll"; 0 when the path does not fit.
static int BuildLz32Path(const char *directory, char *path, int capacity)
{
    if (!CopyText(path, capacity, directory))
        return 0;
    int length = lstrlenA(path);
    if (length > 0 && path[length - 1] != '\\' && !AppendText(path, capacity, "\\"))
        return 0;
    return AppendText(path, capacity, "lz32.dll");
}

int LoadLz32From(const char *directory)
{
    ForgetLz32();
    lz32Attempted = 1;
    char path[MAX_PATH];
    if (!BuildLz32Path(directory, path, sizeof path))
        return 0;
    lz32Module = LoadLibraryA(path);
    if (lz32Module == NULL)
        return 0;
    openFunction = (OpenFileFunction)(void *)GetProcAddress(lz32Module, "LZOpenFileA");
    copyFunction = (CopyFunction)(void *)GetProcAddress(lz32Module, "LZCopy");
    closeFunction = (CloseFunction)(void *)GetProcAddress(lz32Module, "LZClose");
    if (openFunction == NULL || copyFunction == NULL || closeFunction == NULL) {
        ForgetLz32();
        return 0;
    }
    return 1;
}

int Lz32Available(void)
{
    if (lz32Attempted)
        return lz32Module != NULL;
    char directory[MAX_PATH];
    UINT length = GetSystemDirectoryA(directory, sizeof directory);
    if (length == 0 || length >= sizeof directory) {
        lz32Attempted = 1;
        return 0;
    }
    return LoadLz32From(directory);
}

INT Lz32OpenFile(char *path, OFSTRUCT *record, WORD style)
{
    if (!Lz32Available())
        return -1;
    return openFunction(path, record, style);
}

LONG Lz32Copy(INT source, INT destination)
{
    if (copyFunction == NULL)
        return -1;
    return copyFunction(source, destination);
}

void Lz32Close(INT handle)
{
    if (closeFunction != NULL)
        closeFunction(handle);
}
