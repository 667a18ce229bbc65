// The process entry of setup.exe, without the C runtime: the program uses
// nothing of it, so it imports only system DLLs and stays small.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show);

// The command line after the program's own name, as WinMain receives it.
static char *ArgumentsOf(char *commandLine)
{
    char *p = commandLine;
    if (*p == '"') {
        for (p++; *p && *p != '"'; p++)
            ;
        if (*p == '"')
            p++;
    } else {
        while (*p && *p != ' ' && *p != '\t')
            p++;
    }
    while (*p == ' ' || *p == '\t')
        p++;
    return p;
}

extern "C" void WINAPI SetupEntry(void)
{
    ExitProcess((UINT)WinMain(GetModuleHandleA(NULL), NULL, ArgumentsOf(GetCommandLineA()),
                              SW_SHOWDEFAULT));
}

// The compiler emits calls to these for structure copies and clears.
extern "C" void *memset(void *destination, int value, size_t count)
{
    unsigned char *p = (unsigned char *)destination;
    while (count--)
        *p++ = (unsigned char)value;
    return destination;
}

extern "C" void *memcpy(void *destination, const void *source, size_t count)
{
    unsigned char *to = (unsigned char *)destination;
    const unsigned char *from = (const unsigned char *)source;
    while (count--)
        *to++ = *from++;
    return destination;
}
