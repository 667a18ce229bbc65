// The baseline of the install-time benchmark: a Win32 program that does
// nothing, built and started exactly like setup.exe.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return 0;
}
