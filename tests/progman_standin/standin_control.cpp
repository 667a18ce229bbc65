// Test-side control of the Program Manager stand-in (progman_standin.exe).
#include "progman_standin/standin_control.h"
#include <ddeml.h>
#include <stdio.h>

static HDDEDATA CALLBACK ProbeCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR,
                                       ULONG_PTR)
{
    return NULL;
}

DWORD ProgramManagerProcess(HWND *nameWindow)
{
    if (nameWindow != NULL)
        *nameWindow = NULL;
    DWORD instance = 0;
    if (DdeInitializeA(&instance, ProbeCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR)
        return 0;
    HSZ service = DdeCreateStringHandleA(instance, "PROGMAN", CP_WINANSI);
    HCONV conversation = DdeConnect(instance, service, service, NULL);
    DWORD process = 0;
    if (conversation != NULL) {
        CONVINFO info;
        ZeroMemory(&info, sizeof info);
        info.cb = sizeof info;
        if (DdeQueryConvInfo(conversation, QID_SYNC, &info)) {
            GetWindowThreadProcessId(info.hwndPartner, &process);
            // A DDEML server's conversation window is a child of its name window.
            if (nameWindow != NULL)
                *nameWindow = GetAncestor(info.hwndPartner, GA_PARENT);
        }
        DdeDisconnect(conversation);
    }
    DdeUninitialize(instance);
    return process;
}

static std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

bool SilenceProgramManagers(std::string *failure)
{
    for (int round = 0; round < 10; round++) {
        HWND nameWindow = NULL;
        DWORD process = ProgramManagerProcess(&nameWindow);
        if (process == 0)
            return true;
        // Closing its name window ends the service's registration for good;
        // the server process itself runs on.
        if (nameWindow == NULL || ClassOf(nameWindow) != "WineDdeServerName") {
            *failure = "process " + std::to_string(process) + " answers PROGMAN through window class '" +
                       ClassOf(nameWindow) + "', which cannot be silenced";
            return false;
        }
        DWORD_PTR result = 0;
        SendMessageTimeoutA(nameWindow, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
    }
    *failure = "a Program Manager server still answers after 10 attempts";
    return false;
}

static std::string TemporaryPath(const char *name)
{
    char directory[MAX_PATH];
    GetTempPathA(sizeof directory, directory);
    return std::string(directory) + name;
}

static bool WriteBytes(const std::string &path, const std::string &bytes)
{
    FILE *file = fopen(path.c_str(), "wb");
    if (file == NULL)
        return false;
    bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && written;
}

// The stand-in is built beside the tests; the build passes its Linux path,
// which Wine sees on drive Z:.
static std::string StandinProgram()
{
    std::string path = std::string("Z:") + STANDIN_EXE;
    for (char &c : path)
        if (c == '/')
            c = '\\';
    return path;
}

static std::string StandinCommandLine(const Standin &standin, const StandinOptions &options)
{
    std::string line = "\"" + StandinProgram() + "\" \"" + standin.recordPath + "\"";
    line += " \"/groups:" + standin.groupsPath + "\"";
    if (options.reject)
        line += " /reject";
    if (options.lateMs != 0)
        line += " /late:" + std::to_string(options.lateMs);
    return line;
}

static bool WaitUntilAnswering(const Standin &standin, std::string *failure)
{
    DWORD start = GetTickCount();
    for (;;) {
        DWORD process = ProgramManagerProcess();
        if (process == standin.process.dwProcessId)
            return true;
        if (WaitForSingleObject(standin.process.hProcess, 0) == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(standin.process.hProcess, &code);
            *failure = "the stand-in ended at once with code " + std::to_string(code);
            return false;
        }
        if (GetTickCount() - start > 20000) {
            *failure = "after 20 s PROGMAN is answered by process " + std::to_string(process) +
                       ", not by the stand-in (" + std::to_string(standin.process.dwProcessId) + ")";
            return false;
        }
        Sleep(100);
    }
}

bool StartStandin(Standin *standin, const StandinOptions &options, std::string *failure)
{
    standin->recordPath = TemporaryPath("progman_standin_record.bin");
    standin->groupsPath = TemporaryPath("progman_standin_groups.bin");
    DeleteFileA(standin->recordPath.c_str());
    DeleteFileA(standin->groupsPath.c_str());
    std::string line = StandinCommandLine(*standin, options);
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    if (!CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                        &standin->process)) {
        *failure = "cannot start " + line + ", error " + std::to_string(GetLastError());
        standin->process = PROCESS_INFORMATION();
        return false;
    }
    if (!WaitUntilAnswering(*standin, failure)) {
        StopStandin(standin);
        return false;
    }
    return true;
}

bool SetGroupsReply(const Standin &standin, const std::string &reply)
{
    return WriteBytes(standin.groupsPath, reply);
}

void RefuseGroupsRequest(const Standin &standin)
{
    DeleteFileA(standin.groupsPath.c_str());
}

void ClearStandinCommands(const Standin &standin)
{
    DeleteFileA(standin.recordPath.c_str());
}

void StopStandin(Standin *standin)
{
    if (standin->process.hProcess != NULL) {
        PostThreadMessageA(standin->process.dwThreadId, WM_QUIT, 0, 0);
        if (WaitForSingleObject(standin->process.hProcess, 20000) != WAIT_OBJECT_0)
            TerminateProcess(standin->process.hProcess, 1);
        CloseHandle(standin->process.hProcess);
        CloseHandle(standin->process.hThread);
        standin->process = PROCESS_INFORMATION();
    }
    if (!standin->recordPath.empty())
        DeleteFileA(standin->recordPath.c_str());
    if (!standin->groupsPath.empty())
        DeleteFileA(standin->groupsPath.c_str());
}

std::vector<std::string> StandinCommands(const Standin &standin)
{
    std::vector<std::string> commands;
    FILE *file = fopen(standin.recordPath.c_str(), "rb");
    if (file == NULL)
        return commands;
    unsigned char header[4];
    while (fread(header, 1, 4, file) == 4) {
        size_t size = header[0] | header[1] << 8 | header[2] << 16 | (size_t)header[3] << 24;
        std::string bytes(size, '\0');
        bytes.resize(fread(&bytes[0], 1, size, file));
        commands.push_back(bytes);
    }
    fclose(file);
    return commands;
}
