// lumtools.exe, the Lumetra program that setup installs: one window naming
// the product and its version and listing the ten applets, each shown enabled
// or blocked as the administrator's settings in the registry say.
#include <windows.h>

static const char mainClassName[] = "LumetraMain";
static const char mainTitle[] = "Lumetra";
static const char productVersion[] = "Lumetra 1.0";
static const char settingsKey[] = "Software\\Veltrane\\LumTools\\Settings";

struct Applet {
    const char *name;
    DWORD bit;  // the applet's bit in the Applets value
};

static const Applet applets[] = {
    {"Ping", 1},    {"Trace", 2},  {"Look", 4},   {"Finger", 8},  {"Whois", 16},
    {"LDAP", 32},   {"Quote", 64}, {"Scan", 128}, {"SNMP", 256},  {"WinNet", 512},
};
static const int appletCount = sizeof applets / sizeof applets[0];

// Layout of the client area, in pixels.
static const int clientWidth = 300;
static const int margin = 16;
static const int titleHeight = 24;
static const int rowHeight = 18;
static const int listTop = 84;
static const int stateColumn = 150;
static const int clientHeight = listTop + appletCount * rowHeight + 44;

static DWORD blockedApplets;  // bit set of blocked applets; 0 blocks none
static DWORD rawSockets;      // nonzero: Ping and Trace may use raw sockets
static HFONT titleFont;
static HICON appIcon;

// A settings value read as a DWORD; an absent or unreadable value counts as
// 0, and a shorter value (setup keeps 2- and 3-byte ones) is zero-extended.
static DWORD ReadSettingsValue(HKEY key, const char *name)
{
    DWORD value = 0;
    DWORD size = sizeof value;
    DWORD type = 0;
    if (RegQueryValueExA(key, name, NULL, &type, (BYTE *)&value, &size) != ERROR_SUCCESS)
        return 0;
    return value;
}

static void ReadSettings(void)
{
    HKEY key;
    blockedApplets = 0;
    rawSockets = 0;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, settingsKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return;
    blockedApplets = ReadSettingsValue(key, "Applets");
    rawSockets = ReadSettingsValue(key, "RawSock");
    RegCloseKey(key);
}

static int IsAppletEnabled(int index)
{
    return (blockedApplets & applets[index].bit) == 0;
}

static int CountEnabledApplets(void)
{
    int count = 0;
    for (int i = 0; i < appletCount; ++i)
        count += IsAppletEnabled(i);
    return count;
}

static void PaintText(HDC dc, int x, int y, const char *text)
{
    TextOutA(dc, x, y, text, lstrlenA(text));
}

static void PaintHeading(HDC dc)
{
    int textLeft = margin;
    if (appIcon) {
        DrawIcon(dc, margin, margin, appIcon);
        textLeft += 32 + 10;
    }
    HGDIOBJ previous = SelectObject(dc, titleFont ? (HGDIOBJ)titleFont : GetStockObject(SYSTEM_FONT));
    PaintText(dc, textLeft, margin - 2, productVersion);
    SelectObject(dc, previous);
    PaintText(dc, textLeft, margin + titleHeight, "Network utilities by Veltrane");
}

// A small square before each applet: green when enabled, red when blocked.
static void PaintStateMark(HDC dc, int y, int enabled)
{
    RECT mark = {margin, y + 3, margin + 9, y + 12};
    HBRUSH brush = CreateSolidBrush(enabled ? RGB(0, 160, 0) : RGB(192, 0, 0));
    if (!brush)
        return;
    FillRect(dc, &mark, brush);
    DeleteObject(brush);
}

static void PaintAppletRow(HDC dc, int index)
{
    int y = listTop + index * rowHeight;
    int enabled = IsAppletEnabled(index);
    PaintStateMark(dc, y, enabled);
    SetTextColor(dc, GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    PaintText(dc, margin + 18, y, applets[index].name);
    PaintText(dc, stateColumn, y, enabled ? "enabled" : "blocked");
}

static void PaintAppletList(HDC dc)
{
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    PaintText(dc, margin, listTop - rowHeight - 4, "Applets:");
    for (int i = 0; i < appletCount; ++i)
        PaintAppletRow(dc, i);
}

static void PaintFooter(HDC dc)
{
    // Two counts below 100 and "on" or "off": at most 44 characters.
    char summary[80];
    wsprintfA(summary, "%d of %d applets enabled. Raw sockets: %s.", CountEnabledApplets(),
              appletCount, rawSockets ? "on" : "off");
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    PaintText(dc, margin, listTop + appletCount * rowHeight + 14, summary);
}

static void PaintMainWindow(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (!dc)
        return;
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ previous = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    PaintHeading(dc);
    PaintAppletList(dc);
    PaintFooter(dc);
    SelectObject(dc, previous);
    EndPaint(window, &paint);
}

static HFONT CreateTitleFont(void)
{
    return CreateFontA(-titleHeight, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       VARIABLE_PITCH | FF_SWISS, "Arial");
}

static LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        titleFont = CreateTitleFont();
        ReadSettings();
        return 0;
    case WM_ACTIVATE:
        // The administrator may have changed the settings meanwhile.
        if (LOWORD(wParam) != WA_INACTIVE) {
            ReadSettings();
            InvalidateRect(window, NULL, TRUE);
        }
        return 0;
    case WM_PAINT:
        PaintMainWindow(window);
        return 0;
    case WM_DESTROY:
        if (titleFont)
            DeleteObject(titleFont);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

static int RegisterMainClass(HINSTANCE instance)
{
    WNDCLASSA windowClass;
    ZeroMemory(&windowClass, sizeof windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = appIcon;
    windowClass.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    windowClass.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    windowClass.lpszClassName = mainClassName;
    return RegisterClassA(&windowClass) != 0;
}

static HWND CreateMainWindow(HINSTANCE instance)
{
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame = {0, 0, clientWidth, clientHeight};
    AdjustWindowRect(&frame, style, FALSE);
    return CreateWindowA(mainClassName, mainTitle, style, CW_USEDEFAULT, CW_USEDEFAULT,
                         frame.right - frame.left, frame.bottom - frame.top, NULL, NULL,
                         instance, NULL);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    appIcon = LoadIconA(instance, "APP_MAIN");  // none when built without resources
    if (!RegisterMainClass(instance))
        return 1;
    HWND window = CreateMainWindow(instance);
    if (!window)
        return 2;
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return (int)message.wParam;
}

// The entry point when linked without the C runtime's start-up code, which
// this program does not need (no constructors, no C library state): the
// executable shrinks to a few kilobytes.
extern "C" void WINAPI LumtoolsStart(void)
{
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
    ExitProcess((UINT)WinMain(GetModuleHandleA(NULL), NULL, GetCommandLineA(), show));
}
