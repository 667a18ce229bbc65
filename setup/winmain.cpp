// Entry point: register the window class, create the main window, read the
// switches, start the run and pump messages until the window closes itself.
#include "setup/startup.h"
#include "setup/product.h"
#include "setup/messages.h"
#include "files/files.h"
#include "resource.h"

static const char windowClassName[] = "LumInstal";

static ATOM RegisterMainWindowClass(HINSTANCE instance)
{
    WNDCLASSA windowClass;
    ZeroMemory(&windowClass, sizeof windowClass);
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_BYTEALIGNWINDOW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, "APP_MAIN");
    windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
    windowClass.hbrBackground = CreateSolidBrush(RGB(0, 128, 128));
    windowClass.lpszClassName = windowClassName;
    return RegisterClassA(&windowClass);
}

static HWND CreateMainWindow(HINSTANCE instance)
{
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    int x, y, width, height;
    ComputeMainWindowRect(&desktop, &x, &y, &width, &height);
    return CreateWindowExA(0, windowClassName, "Install", WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU,
                           x, y, width, height, NULL, NULL, instance, NULL);
}

static void ShowStartupFailure(UINT number)
{
    char text[512];
    LoadMessage(number, text, sizeof text);
    if (number == MSG_CREATE_FAILED)
        LogLine(text);
    MessageBoxA(NULL, text, NULL, MB_ICONEXCLAMATION);
}

static int RunMessageLoop(void)
{
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0)) {
        if (progressDialog != NULL && IsDialogMessageA(progressDialog, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return (int)message.wParam;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    appInstance = instance;
    if (!RegisterMainWindowClass(instance)) {
        ShowStartupFailure(MSG_REGISTER_FAILED);
        return -1;
    }
    mainWindow = CreateMainWindow(instance);
    if (mainWindow == NULL) {
        ShowStartupFailure(MSG_CREATE_FAILED);
        return 2;
    }
    ReadCommandLine(commandLine, &setupOptions);
    InitProductDescription(appInstance);
    if (setupOptions.quiet) {
        if (!setupOptions.removeRequested)
            setupOptions.installRequested = 1;
        ShowWindow(mainWindow, SW_SHOWMINIMIZED);
    } else {
        ShowWindow(mainWindow, SW_SHOWNORMAL);
    }
    PostMessageA(mainWindow, WM_COMMAND, CMD_START, 0);
    return RunMessageLoop();
}
