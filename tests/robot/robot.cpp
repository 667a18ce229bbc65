// Implementation of the dialog robot with plain window messages, so that it
// works across threads and processes alike.
#include "robot/robot.h"

static const DWORD pollInterval = 50;

void RobotPause(DWORD ms)
{
    DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms)
            return;
        MsgWaitForMultipleObjects(0, NULL, FALSE, ms - elapsed, QS_ALLINPUT);
    }
}

struct FindRequest {
    const char *caption;
    const char *className;
    DWORD processId;
    HWND found;
};

static BOOL CALLBACK MatchWindow(HWND window, LPARAM param)
{
    FindRequest *request = (FindRequest *)param;
    if (!IsWindowVisible(window))
        return TRUE;
    if (request->processId != 0) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != request->processId)
            return TRUE;
    }
    if (request->caption != NULL && RobotCaption(window) != request->caption)
        return TRUE;
    if (request->className != NULL) {
        char name[256] = "";
        GetClassNameA(window, name, sizeof name);
        if (lstrcmpA(name, request->className) != 0)
            return TRUE;
    }
    request->found = window;
    return FALSE;
}

static HWND FindTopLevel(const char *caption, const char *className, DWORD processId)
{
    FindRequest request = { caption, className, processId, NULL };
    EnumWindows(MatchWindow, (LPARAM)&request);
    return request.found;
}

static HWND WaitTopLevel(const char *caption, const char *className, DWORD timeoutMs,
                         DWORD processId)
{
    DWORD start = GetTickCount();
    for (;;) {
        HWND window = FindTopLevel(caption, className, processId);
        if (window != NULL)
            return window;
        if (GetTickCount() - start >= timeoutMs)
            return NULL;
        RobotPause(pollInterval);
    }
}

HWND RobotWaitWindow(const char *caption, DWORD timeoutMs, DWORD processId)
{
    return WaitTopLevel(caption, NULL, timeoutMs, processId);
}

HWND RobotWaitMessageBox(const char *caption, DWORD timeoutMs, DWORD processId)
{
    return WaitTopLevel(caption, "#32770", timeoutMs, processId);
}

HWND RobotFindProcessWindow(DWORD processId, const char *className)
{
    return FindTopLevel(NULL, className, processId);
}

bool RobotWaitGone(HWND window, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        RobotPause(pollInterval);
    }
    return true;
}

// Asks the window's own thread for its text. Under load a busy thread may
// take a while to answer, so wait long and ask again rather than take an
// empty answer for the text.
static bool AskText(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR *result)
{
    for (int attempt = 0; attempt < 3; attempt++) {
        if (SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, 20000, result))
            return true;
        if (!IsWindow(window))
            return false;
    }
    return false;
}

static std::string WindowText(HWND window)
{
    if (window == NULL)
        return "";
    DWORD_PTR length = 0;
    if (!AskText(window, WM_GETTEXTLENGTH, 0, 0, &length))
        return "";
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    AskText(window, WM_GETTEXT, length + 1, (LPARAM)&text[0], &copied);
    text.resize(copied);
    return text;
}

std::string RobotCaption(HWND window) { return WindowText(window); }
std::string RobotText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }
bool RobotEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != 0; }
bool RobotVisible(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != 0; }

bool RobotChecked(HWND dialog, int id)
{
    return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

RECT RobotWindowRect(HWND window)
{
    RECT rect = { 0, 0, 0, 0 };
    GetWindowRect(window, &rect);
    return rect;
}

// A combo box's own edit field takes the text; other controls take it themselves.
static HWND TextTarget(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    char name[64] = "";
    GetClassNameA(control, name, sizeof name);
    if (lstrcmpiA(name, "ComboBox") == 0) {
        HWND edit = FindWindowExA(control, NULL, "Edit", NULL);
        if (edit != NULL)
            return edit;
    }
    return control;
}

void RobotSetText(HWND dialog, int id, const char *text)
{
    SendMessageA(TextTarget(dialog, id), WM_SETTEXT, 0, (LPARAM)text);
}

void RobotType(HWND dialog, int id, const char *text)
{
    HWND target = TextTarget(dialog, id);
    SendMessageA(target, EM_SETSEL, 0, -1);
    for (const char *c = text; *c; c++)
        SendMessageA(target, WM_CHAR, (BYTE)*c, 1);
}

void RobotClick(HWND dialog, int id)
{
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void RobotCheck(HWND dialog, int id)
{
    RobotClick(dialog, id);
    DWORD start = GetTickCount();
    while (!RobotChecked(dialog, id) && GetTickCount() - start < 5000)
        RobotPause(10);
}

static std::vector<std::string> ItemTexts(HWND control, UINT countMessage, UINT lengthMessage,
                                          UINT textMessage)
{
    std::vector<std::string> items;
    LRESULT count = SendMessageA(control, countMessage, 0, 0);
    for (LRESULT i = 0; i < count; i++) {
        LRESULT length = SendMessageA(control, lengthMessage, i, 0);
        if (length < 0)
            continue;
        std::string text(length + 1, '\0');
        SendMessageA(control, textMessage, i, (LPARAM)&text[0]);
        text.resize(length);
        items.push_back(text);
    }
    return items;
}

std::vector<std::string> RobotComboItems(HWND dialog, int id)
{
    return ItemTexts(GetDlgItem(dialog, id), CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

std::vector<std::string> RobotListItems(HWND dialog, int id)
{
    return ItemTexts(GetDlgItem(dialog, id), LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

bool RobotPickCombo(HWND dialog, int id, const char *text)
{
    HWND combo = GetDlgItem(dialog, id);
    LRESULT index = SendMessageA(combo, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)text);
    if (index == CB_ERR)
        return false;
    SendMessageA(combo, CB_SETCURSEL, index, 0);
    // Tell the dialog, as the list does when the user picks an entry.
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), (LPARAM)combo);
    return true;
}

static HWND FocusOf(HWND dialog)
{
    GUITHREADINFO info;
    ZeroMemory(&info, sizeof info);
    info.cbSize = sizeof info;
    DWORD thread = GetWindowThreadProcessId(dialog, NULL);
    if (GetGUIThreadInfo(thread, &info) && info.hwndFocus != NULL)
        return info.hwndFocus;
    return dialog;
}

static void PressKey(HWND dialog, UINT key)
{
    HWND focus = FocusOf(dialog);
    PostMessageA(focus, WM_KEYDOWN, key, 1);
    PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
}

void RobotPressEnter(HWND dialog) { PressKey(dialog, VK_RETURN); }
void RobotPressEscape(HWND dialog) { PressKey(dialog, VK_ESCAPE); }

void RobotCloseBox(HWND window)
{
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

struct ChildScan {
    RobotMessageBox *box;
};

static BOOL CALLBACK ReadMessageBoxChild(HWND child, LPARAM param)
{
    RobotMessageBox *box = ((ChildScan *)param)->box;
    char name[64] = "";
    GetClassNameA(child, name, sizeof name);
    LONG style = GetWindowLongA(child, GWL_STYLE);
    if (lstrcmpiA(name, "Button") == 0) {
        box->buttons.push_back(WindowText(child));
    } else if (lstrcmpiA(name, "Static") == 0) {
        if ((style & SS_TYPEMASK) == SS_ICON)
            box->icon = (HICON)SendMessageA(child, STM_GETICON, 0, 0);
        else if (GetDlgCtrlID(child) == 0xFFFF)
            box->text = WindowText(child);
    }
    return TRUE;
}

bool RobotReadMessageBox(HWND window, RobotMessageBox *box)
{
    if (window == NULL || !IsWindow(window))
        return false;
    box->window = window;
    box->caption = WindowText(window);
    box->text.clear();
    box->buttons.clear();
    box->icon = NULL;
    ChildScan scan = { box };
    EnumChildWindows(window, ReadMessageBoxChild, (LPARAM)&scan);
    return true;
}

static BOOL CALLBACK FindButtonByText(HWND child, LPARAM param)
{
    std::pair<const char *, HWND> *request = (std::pair<const char *, HWND> *)param;
    char name[64] = "";
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, "Button") == 0) {
        std::string text = WindowText(child);
        std::string plain;
        for (char c : text)
            if (c != '&')
                plain += c;
        if (plain == request->first) {
            request->second = child;
            return FALSE;
        }
    }
    return TRUE;
}

bool RobotPressMessageBoxButton(HWND window, const char *buttonText)
{
    std::pair<const char *, HWND> request(buttonText, (HWND)NULL);
    EnumChildWindows(window, FindButtonByText, (LPARAM)&request);
    if (request.second == NULL)
        return false;
    PostMessageA(request.second, BM_CLICK, 0, 0);
    return true;
}

bool RobotDoubleClickList(HWND dialog, int id, const char *text)
{
    HWND list = GetDlgItem(dialog, id);
    LRESULT index = SendMessageA(list, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)text);
    if (index == LB_ERR)
        return false;
    SendMessageA(list, LB_SETCURSEL, index, 0);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, LBN_DBLCLK), (LPARAM)list);
    return true;
}

bool RobotPickDropList(HWND dialog, int id, const char *text, bool onlyCloseUp)
{
    HWND combo = GetDlgItem(dialog, id);
    LRESULT index = SendMessageA(combo, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)text);
    if (index == CB_ERR)
        return false;
    SendMessageA(combo, CB_SETCURSEL, index, 0);
    if (!onlyCloseUp)
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), (LPARAM)combo);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_CLOSEUP), (LPARAM)combo);
    return true;
}

bool RobotWaitText(HWND dialog, int id, const char *text, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (RobotText(dialog, id) != text) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        RobotPause(pollInterval);
    }
    return true;
}

static BOOL CALLBACK MatchChildText(HWND child, LPARAM param)
{
    std::pair<const char *, bool> *request = (std::pair<const char *, bool> *)param;
    if (WindowText(child) == request->first) {
        request->second = true;
        return FALSE;
    }
    return TRUE;
}

bool RobotHasText(HWND window, const char *text)
{
    std::pair<const char *, bool> request(text, false);
    EnumChildWindows(window, MatchChildText, (LPARAM)&request);
    return request.second;
}

std::vector<std::string> RobotUnblock(const std::atomic<bool> *done, DWORD graceMs)
{
    std::vector<std::string> cancelled;
    DWORD start = GetTickCount();
    while (!*done && GetTickCount() - start < graceMs)
        RobotPause(pollInterval);
    std::vector<HWND> seen;
    while (!*done) {
        HWND window = RobotFindProcessWindow(GetCurrentProcessId(), "#32770");
        if (window != NULL) {
            bool known = false;
            for (HWND w : seen)
                known = known || w == window;
            if (!known) {
                RobotMessageBox box;
                RobotReadMessageBox(window, &box);
                cancelled.push_back(box.caption + ": " + box.text);
                seen.push_back(window);
            }
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        }
        RobotPause(pollInterval * 4);
    }
    return cancelled;
}

bool RobotSaveWindowImage(HWND window, const char *path)
{
    RECT rect = RobotWindowRect(window);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return false;
    int stride = (width * 3 + 3) & ~3;
    std::vector<BYTE> pixels((size_t)stride * height);
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, previous);
    BITMAPINFOHEADER info;
    ZeroMemory(&info, sizeof info);
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    GetDIBits(memory, bitmap, 0, height, pixels.data(), (BITMAPINFO *)&info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);

    BITMAPFILEHEADER header;
    ZeroMemory(&header, sizeof header);
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = header.bfOffBits + (DWORD)pixels.size();
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(file, &header, sizeof header, &written, NULL) &&
              WriteFile(file, &info, sizeof info, &written, NULL) &&
              WriteFile(file, pixels.data(), (DWORD)pixels.size(), &written, NULL);
    CloseHandle(file);
    return ok;
}
