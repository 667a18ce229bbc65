// Runs the real setup.exe as its own process and talks to it as a person
// would, keeping a transcript of every window and box it showed.
#ifndef LUMSETUP_SETUP_PROCESS_H
#define LUMSETUP_SETUP_PROCESS_H

#include <windows.h>
#include <string>
#include <vector>

struct SetupProcess {
    PROCESS_INFORMATION info;
    std::vector<std::string> transcript;
};

// Windows path of a Linux path (Wine maps / to Z:).
std::string WindowsPath(const std::string &unixPath);
// BUILD_DIR\setup.exe
std::string SetupExePath(void);

bool StartSetup(SetupProcess *process, const char *switches, const char *currentDirectory);
// Exit code, or STILL_ACTIVE after the time-out (the process is then killed).
DWORD WaitSetupExit(SetupProcess *process, DWORD timeoutMs = 120000);

// Waits for a dialog (or message box) of setup by caption; records it.
HWND ExpectDialog(SetupProcess *process, const char *caption, DWORD timeoutMs = 60000);
// Waits for a message box, records caption and text, presses the button.
std::string AnswerBox(SetupProcess *process, const char *caption, const char *button,
                      DWORD timeoutMs = 60000);
void Note(SetupProcess *process, const std::string &line);

// The main window of setup (class "LumInstal"), or NULL.
HWND SetupMainWindow(SetupProcess *process);

// A screenshot of the whole screen as a 24-bit BMP file.
bool SaveScreenshot(const char *path);

#endif
