// The main window: a teal backdrop with the product picture and the maker's
// logo, behind which every dialog of a run appears. Also the command line
// switches and the helper that centres dialogs.
#include "setup/startup.h"
#include "setup/sequence.h"
#include "setup/messages.h"
#include "resource.h"

SetupOptions setupOptions;
HINSTANCE appInstance;
HWND mainWindow;

static HBITMAP productBitmap;  // "LUM_BMP"
static HBITMAP logoBitmap;     // "VELLOGO"

static int ContainsText(const char *text, const char *part)
{
    for (; *text; text++) {
        int i = 0;
        while (part[i] && text[i] == part[i])
            i++;
        if (part[i] == 0)
            return 1;
    }
    return 0;
}

void ReadCommandLine(const char *commandLine, SetupOptions *options)
{
    if (commandLine == NULL)
        return;
    if (ContainsText(commandLine, "-installqu") || ContainsText(commandLine, "-installsi")) {
        options->installRequested = 1;
        options->removeRequested = 0;
        options->quiet = 1;
        return;
    }
    if (ContainsText(commandLine, "-i")) {
        options->installRequested = 1;
        options->removeRequested = 0;
    } else if (ContainsText(commandLine, "-r")) {
        options->installRequested = 0;
        options->removeRequested = 1;
    }
    if (ContainsText(commandLine, "-s"))
        options->quiet = 1;
    if (ContainsText(commandLine, "-q"))
        options->quiet = 1;
}

void ComputeMainWindowRect(const RECT *desktop, int *x, int *y, int *width, int *height)
{
    *width = 4 * ((desktop->right - desktop->left) / 5);
    if (*width < 600)
        *width = 600;
    *height = 4 * ((desktop->bottom - desktop->top) / 5);
    if (*height < 400)
        *height = 400;
    *x = (desktop->right - *width) / 2;
    *y = (desktop->bottom - *height) / 2;
}

void ComputeCenteredPosition(const RECT *window, const RECT *desktop, int dy, int *x, int *y)
{
    int w = window->right - window->left;
    int h = window->bottom - window->top;
    int dw = desktop->right - desktop->left;
    int dh = desktop->bottom - desktop->top;
    *x = dw / 2 - w / 2;
    *y = dh / 2 - h / 2;
    if (dy != 0)
        *y += dy;
    if (*x <= 0)
        *x = 0;
    if (*y <= 0)
        *y = 0;
}

void CenterWindow(HWND window, int dy)
{
    RECT windowRect, desktopRect;
    GetWindowRect(window, &windowRect);
    GetWindowRect(GetDesktopWindow(), &desktopRect);
    int x, y;
    ComputeCenteredPosition(&windowRect, &desktopRect, dy, &x, &y);
    MoveWindow(window, x, y, windowRect.right - windowRect.left,
               windowRect.bottom - windowRect.top, FALSE);
}

// Copies a bitmap at its natural size with its top left corner at (x, y).
static void DrawBitmap(HDC target, HDC memory, HBITMAP bitmap, int x, int y)
{
    BITMAP info;
    GetObjectA(bitmap, sizeof info, &info);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(target, x, y, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
}

static void BitmapSize(HBITMAP bitmap, int *width, int *height)
{
    BITMAP info;
    GetObjectA(bitmap, sizeof info, &info);
    *width = info.bmWidth;
    *height = info.bmHeight;
}

int PaintMainWindow(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (dc == NULL)
        return 0;
    RECT client;
    GetClientRect(window, &client);
    HDC memory = CreateCompatibleDC(dc);
    if (productBitmap != NULL)
        DrawBitmap(dc, memory, productBitmap, 10, 10);
    if (logoBitmap != NULL) {
        int width, height;
        BitmapSize(logoBitmap, &width, &height);
        DrawBitmap(dc, memory, logoBitmap, client.right - width - 10, client.bottom - height - 10);
    }
    DeleteDC(memory);
    EndPaint(window, &paint);
    return 0;
}

static void LoadMainWindowBitmaps(void)
{
    logoBitmap = LoadBitmapA(appInstance, "VELLOGO");
    productBitmap = LoadBitmapA(appInstance, "LUM_BMP");
}

static void ReleaseMainWindowBitmaps(void)
{
    if (productBitmap != NULL)
        DeleteObject(productBitmap);
    if (logoBitmap != NULL)
        DeleteObject(logoBitmap);
    productBitmap = NULL;
    logoBitmap = NULL;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        LoadMainWindowBitmaps();
        return 0;
    case WM_PAINT:
        return PaintMainWindow(window);
    case WM_COMMAND:
        if (LOWORD(wParam) == CMD_START)
            RunStartCommand(window);
        return 0;
    case WM_CLOSE:
        // A run's dialogs still need this window; it closes itself when done.
        if (runInProgress)
            return 0;
        PostQuitMessage(0);
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_DESTROY:
        ReleaseMainWindowBitmaps();
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
