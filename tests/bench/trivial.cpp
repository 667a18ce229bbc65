// The baselines of the install-time benchmark, built and started exactly like
// setup.exe: with no switches it does nothing (the cost of starting a Win32
// process under Wine); with "-window" it also shows a window and takes its
// messages once before it ends (the cost of a GUI process: display
// connection, fonts, one top-level window), which every run of setup pays.
#include <windows.h>

static void ShowOneWindow(HINSTANCE instance)
{
    HWND window = CreateWindowExA(0, "STATIC", "baseline", WS_CAPTION | WS_SYSMENU, 0, 0, 300, 200,
                                  NULL, NULL, instance, NULL);
    ShowWindow(window, SW_SHOWNORMAL);
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
    DestroyWindow(window);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    if (lstrcmpA(commandLine, "-window") == 0)
        ShowOneWindow(instance);
    return 0;
}
