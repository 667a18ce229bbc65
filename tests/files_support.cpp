// Helpers of the file-installation tests (see files_support.h).
#include "files_support.h"
#include "robot/robot.h"
#include "setup/product.h"
#include "setup/startup.h"
#include "files/files.h"
#include <gtest/gtest.h>
#include <atomic>

std::string WinePath(const std::string &linuxPath)
{
    std::string path = "Z:" + linuxPath;
    for (char &c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::string ResourceBytes(HMODULE module, const char *name)
{
    HRSRC resource = FindResourceA(module, name, "EXE");
    if (resource == NULL)
        return "";
    HGLOBAL loaded = LoadResource(module, resource);
    const char *bytes = (const char *)LockResource(loaded);
    return bytes != NULL ? std::string(bytes, SizeofResource(module, resource)) : "";
}

std::string PayloadSourceBytes(const char *fileName)
{
#ifdef PAYLOAD_SOURCE_LIST
    std::string list = PAYLOAD_SOURCE_LIST;
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find('|', start);
        if (end == std::string::npos)
            end = list.size();
        std::string source = list.substr(start, end - start);
        size_t slash = source.rfind('/');
        if (source.substr(slash + 1) == fileName) {
            bool found = false;
            std::string bytes = ReadFileBytes(WinePath(source), &found);
            EXPECT_TRUE(found) << "payload source " << source << " unreadable";
            return bytes;
        }
        start = end + 1;
    }
#endif
    ADD_FAILURE() << "no payload source named " << fileName;
    return "";
}

ScratchDirectory::ScratchDirectory()
{
    static int counter;
    char temporary[MAX_PATH];
    GetTempPathA(sizeof temporary, temporary);
    char name[MAX_PATH];
    wsprintfA(name, "%sfiles-test-%lu-%d", temporary, GetCurrentProcessId(), ++counter);
    DeleteTree(name);
    EXPECT_TRUE(CreateDirectoryA(name, NULL)) << name << " error " << GetLastError();
    path_ = std::string(name) + "\\";
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof current, current);
    previous_ = current;
    SetCurrentDirectoryA(name);
}

ScratchDirectory::~ScratchDirectory()
{
    SetCurrentDirectoryA(previous_.c_str());
    EXPECT_TRUE(DeleteTree(path_)) << "scratch directory " << path_ << " left behind";
}

std::string ScratchDirectory::MakeDirectory(const std::string &name) const
{
    std::string directory = path_ + name;
    EXPECT_TRUE(CreateDirectoryA(directory.c_str(), NULL))
        << directory << " error " << GetLastError();
    return directory;
}

std::vector<std::string> LogLines()
{
    std::string bytes = ReadFileBytes("setup.log");
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "setup.log ends without a line end: " << bytes.substr(start);
            lines.push_back(bytes.substr(start));
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

void ResetFilesState()
{
    for (int i = 0; i < payloadCount; i++)
        payloadTable[i].status = 0;
    setupOptions.quiet = 0;
    copyCancelled = 0;
}

OwnerWindow::OwnerWindow()
{
    WNDCLASSA windowClass;
    ZeroMemory(&windowClass, sizeof windowClass);
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = "FilesTestOwner";
    RegisterClassA(&windowClass);
    window_ = CreateWindowExA(0, "FilesTestOwner", "Files test owner",
                              WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 320, 200, NULL, NULL,
                              GetModuleHandleA(NULL), NULL);
    EXPECT_NE(window_, (HWND)NULL) << "owner window: error " << GetLastError();
    SetActiveWindow(window_);
}

OwnerWindow::~OwnerWindow()
{
    DestroyWindow(window_);
}

// The watch lives in hooks of this thread; one watch at a time.
static HHOOK creationHook;
static HHOOK callHook;
static int progressDialogsCreated;
static std::vector<std::string> progressTexts;

static bool IsProgressCaption(const char *caption)
{
    return caption != NULL && !IS_INTRESOURCE(caption) && lstrcmpA(caption, "Installation") == 0;
}

static LRESULT CALLBACK WatchCreation(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        CBT_CREATEWNDA *creation = (CBT_CREATEWNDA *)lParam;
        if (IsProgressCaption(creation->lpcs->lpszName))
            progressDialogsCreated++;
    }
    return CallNextHookEx(creationHook, code, wParam, lParam);
}

static LRESULT CALLBACK WatchCalls(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION) {
        CWPSTRUCT *call = (CWPSTRUCT *)lParam;
        if (call->message == WM_SETTEXT && call->lParam != 0 && GetDlgCtrlID(call->hwnd) == 954) {
            char caption[64] = "";
            GetWindowTextA(GetParent(call->hwnd), caption, sizeof caption);
            if (IsProgressCaption(caption))
                progressTexts.push_back((const char *)call->lParam);
        }
    }
    return CallNextHookEx(callHook, code, wParam, lParam);
}

ProgressWatch::ProgressWatch()
{
    progressDialogsCreated = 0;
    progressTexts.clear();
    creationHook = SetWindowsHookExA(WH_CBT, WatchCreation, NULL, GetCurrentThreadId());
    callHook = SetWindowsHookExA(WH_CALLWNDPROC, WatchCalls, NULL, GetCurrentThreadId());
    EXPECT_TRUE(creationHook != NULL && callHook != NULL) << "hooks: error " << GetLastError();
}

ProgressWatch::~ProgressWatch()
{
    UnhookWindowsHookEx(creationHook);
    UnhookWindowsHookEx(callHook);
}

int ProgressWatch::DialogsCreated() const { return progressDialogsCreated; }
std::vector<std::string> ProgressWatch::Texts() const { return progressTexts; }

struct BoxSearch {
    DWORD processId;
    HWND found;
};

static BOOL CALLBACK FindAnswerableBox(HWND window, LPARAM param)
{
    BoxSearch *search = (BoxSearch *)param;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window))
        return TRUE;
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    // The progress dialog is known by its status control: asking for its
    // caption would wait for a thread that is busy copying.
    if (lstrcmpA(name, "#32770") != 0 || GetDlgItem(window, 954) != NULL)
        return TRUE;
    search->found = window;
    return FALSE;
}

std::string AnswerOk(const SeenBox &, int)
{
    return "OK";
}

std::string AnswerCancel(const SeenBox &box, int)
{
    return box.buttons.size() > 1 ? "Cancel" : "OK";
}

std::vector<SeenBox> RunAnsweringBoxes(
    const std::function<void()> &action,
    const std::function<std::string(const SeenBox &box, int index)> &answer)
{
    std::vector<SeenBox> boxes;
    std::atomic<bool> done(false);
    RobotScript robot([&] {
        DWORD lastSeen = GetTickCount();
        for (;;) {
            BoxSearch search = { GetCurrentProcessId(), NULL };
            EnumWindows(FindAnswerableBox, (LPARAM)&search);
            if (search.found != NULL) {
                RobotMessageBox read;
                RobotReadMessageBox(search.found, &read);
                SeenBox box = { read.caption, read.text, read.buttons, read.icon != NULL,
                                GetWindow(search.found, GW_OWNER) };
                boxes.push_back(box);
                std::string button = answer(box, (int)boxes.size() - 1);
                if (!RobotPressMessageBoxButton(search.found, button.c_str()))
                    PostMessageA(search.found, WM_CLOSE, 0, 0);
                RobotWaitGone(search.found);
                lastSeen = GetTickCount();
                continue;
            }
            // The action cannot end while one of its boxes is open, so once
            // it is done no box is left to come.
            if (done)
                break;
            if (GetTickCount() - lastSeen > 120000)
                break;
            Sleep(20);
        }
    });
    action();
    done = true;
    robot.Join();
    return boxes;
}
