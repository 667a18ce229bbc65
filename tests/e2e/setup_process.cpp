// Starting setup.exe, waiting for its windows and answering them, from the
// outside: everything goes through the dialog robot's window messages.
#include "e2e/setup_process.h"
#include "robot/robot.h"
#include <stdio.h>

std::string WindowsPath(const std::string &unixPath)
{
    std::string path = "Z:" + unixPath;
    for (char &c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::string SetupExePath(void)
{
    return WindowsPath(BUILD_DIR "/setup.exe");
}

bool StartSetup(SetupProcess *process, const char *switches, const char *currentDirectory)
{
    std::string commandLine = "\"" + SetupExePath() + "\" " + switches;
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    ZeroMemory(&process->info, sizeof process->info);
    process->transcript.clear();
    Note(process, std::string("run setup.exe ") + switches);
    return CreateProcessA(NULL, &commandLine[0], NULL, NULL, FALSE, 0, NULL, currentDirectory,
                          &startup, &process->info) != 0;
}

// Waits for the process while this thread keeps answering its messages, so
// that setup's DDE conversations never wait on a window of ours.
static bool WaitAnswering(HANDLE process, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        DWORD elapsed = GetTickCount() - start;
        DWORD left = elapsed >= timeoutMs ? 0 : timeoutMs - elapsed;
        DWORD result = MsgWaitForMultipleObjects(1, &process, FALSE, left, QS_ALLINPUT);
        if (result == WAIT_OBJECT_0)
            return true;
        if (result != WAIT_OBJECT_0 + 1)
            return false;
        RobotPause(0);
    }
}

DWORD WaitSetupExit(SetupProcess *process, DWORD timeoutMs)
{
    DWORD code = STILL_ACTIVE;
    if (WaitAnswering(process->info.hProcess, timeoutMs)) {
        GetExitCodeProcess(process->info.hProcess, &code);
    } else {
        Note(process, "setup.exe did not end: killed");
        TerminateProcess(process->info.hProcess, 99);
        WaitForSingleObject(process->info.hProcess, 10000);
    }
    CloseHandle(process->info.hProcess);
    CloseHandle(process->info.hThread);
    ZeroMemory(&process->info, sizeof process->info);
    char line[64];
    sprintf(line, "exit code %ld", (long)code);
    Note(process, line);
    return code;
}

void Note(SetupProcess *process, const std::string &line)
{
    process->transcript.push_back(line);
}

HWND ExpectDialog(SetupProcess *process, const char *caption, DWORD timeoutMs)
{
    HWND dialog = RobotWaitMessageBox(caption, timeoutMs, process->info.dwProcessId);
    Note(process, std::string(dialog ? "dialog \"" : "no dialog \"") + caption + "\"");
    return dialog;
}

std::string AnswerBox(SetupProcess *process, const char *caption, const char *button,
                      DWORD timeoutMs)
{
    HWND window = RobotWaitMessageBox(caption, timeoutMs, process->info.dwProcessId);
    if (window == NULL) {
        Note(process, std::string("no box \"") + caption + "\"");
        return "<no box>";
    }
    RobotMessageBox box;
    RobotReadMessageBox(window, &box);
    Note(process, "box \"" + box.caption + "\": " + box.text + " [" + button + "]");
    RobotPressMessageBoxButton(window, button);
    RobotWaitGone(window);
    return box.text;
}

HWND SetupMainWindow(SetupProcess *process)
{
    return RobotFindProcessWindow(process->info.dwProcessId, "LumInstal");
}

bool SaveScreenshot(const char *path)
{
    HDC screen = GetDC(NULL);
    int width = GetDeviceCaps(screen, HORZRES), height = GetDeviceCaps(screen, VERTRES);
    BITMAPINFO info;
    ZeroMemory(&info, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void *bits = NULL;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
    DWORD rowBytes = ((DWORD)width * 3 + 3) & ~3u;
    DWORD imageBytes = rowBytes * height;
    BITMAPFILEHEADER file;
    ZeroMemory(&file, sizeof file);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + imageBytes;
    FILE *out = fopen(path, "wb");
    bool ok = out != NULL;
    if (ok) {
        fwrite(&file, sizeof file, 1, out);
        fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
        fwrite(bits, imageBytes, 1, out);
        fclose(out);
    }
    DeleteObject(bitmap);
    return ok;
}
