// One run of setup: the install-or-remove choice, then either the removal or
// the installation steps in their fixed order. A step that fails says why in
// the log (and a box unless quiet) and ends the run; nothing is undone.
#include "setup/sequence.h"
#include "setup/product.h"
#include "setup/startup.h"
#include "setup/messages.h"
#include "setup/record.h"
#include "files/files.h"
#include "progman/progman.h"
#include "removal/removal.h"
#include "dialogs/dialogs.h"
#include "resource.h"

int runInProgress;

// The buffers of one installation run.
struct InstallRun {
    char sourceDirectory[PATH_SIZE];
    char programDirectory[PATH_SIZE];
    char dataDirectory[TEXT_SIZE];
    char work[PATH_SIZE];
};

// Logs a message and, unless quiet, shows it owned by the main window.
static void Report(HWND window, const char *text, const char *caption, UINT style)
{
    LogLine(text);
    if (!setupOptions.quiet)
        MessageBoxA(window, text, caption, style);
}

static void ReportMessage(HWND window, UINT number, const char *caption, UINT style)
{
    char text[1024];
    LoadMessage(number, text, sizeof text);
    Report(window, text, caption, style);
}

static int ExtractStep(HWND window, InstallRun *run)
{
    if (ExtractPayload(appInstance, window) == 0) {
        ReportMessage(window, MSG_EXTRACT_FAILED, "", MB_OK);
        return 0;
    }
    // The payload sits in this run's own directory, never loose in the
    // shared temporary directory where others could plant files.
    CopyText(run->sourceDirectory, sizeof run->sourceDirectory, extractDirectory);
    if (run->sourceDirectory[0] && run->sourceDirectory[lstrlenA(run->sourceDirectory) - 1] != '\\')
        AppendText(run->sourceDirectory, sizeof run->sourceDirectory, "\\");
    PumpMessages();
    return 1;
}

static int SourceStep(HWND window, InstallRun *run)
{
    if (!LocateSource(appInstance, window, run->sourceDirectory, payloadTable[0].sourceName)) {
        ReportMessage(window, MSG_NO_SOURCE, "LumTools.exe", MB_ICONERROR);
        return 0;
    }
    return 1;
}

static void LogDirectoryFailure(const char *directory)
{
    char text[1024];
    LoadMessage(MSG_DIR_FAILED, text, sizeof text);
    AppendText(text, sizeof text, "\r\n");
    AppendText(text, sizeof text, directory);
    LogLine(text);
}

static int ProgramDirectoryStep(HWND window, InstallRun *run)
{
    PumpMessages();
    run->work[0] = 0;
    if (ReadRecordValue("DIR", run->programDirectory, run->work))
        CopyText(run->programDirectory, sizeof run->programDirectory, run->work);
    if (!setupOptions.quiet && !AskProgramDirectory(appInstance, window, run->programDirectory)) {
        ReportMessage(window, MSG_NO_DESTINATION, setupTitle, MB_ICONERROR);
        return 0;
    }
    if (!ProgramDirectoryCanHoldFiles(run->programDirectory)) {
        char caption[256], text[1024];
        LoadMessage(MSG_INSTALL_CAPTION, caption, sizeof caption);
        LoadMessage(MSG_DIR_FAILED, text, sizeof text);
        MessageBoxA(NULL, text, caption, MB_ICONERROR);  // shown in quiet mode too, as creation failures are
        LogDirectoryFailure(run->programDirectory);
        return 0;
    }
    if (!CreateDirectoryPath(run->programDirectory)) {
        LogDirectoryFailure(run->programDirectory);
        return 0;
    }
    // Every file goes to the program directory: it is the data directory too.
    CopyText(run->dataDirectory, sizeof run->dataDirectory, run->programDirectory);
    PumpMessages();
    return 1;
}

static void CreateProgramItems(InstallRun *run)
{
    for (int i = 0; i < payloadCount; i++) {
        const PayloadEntry *entry = &payloadTable[i];
        if (!(entry->status & STATUS_INSTALLED) || !entry->createIcon)
            continue;
        if (!FormatText(run->work, sizeof run->work, "%s\\%s", run->programDirectory, entry->destName))
            continue;
        if (GetFileAttributesA(run->work) == INVALID_FILE_ATTRIBUTES)
            continue;
        char line[1024];
        FormatText(line, sizeof line, "creating icon for %s", run->work);
        LogLine(line);
        ProgmanAddItem(entry->iconTitle, run->dataDirectory, run->work, run->work);
    }
}

static int GroupStep(HWND window, InstallRun *run)
{
    run->work[0] = 0;
    if (ReadRecordValue("GROUP", groupName, run->work))
        CopyText(groupName, sizeof groupName, run->work);
    if (!setupOptions.quiet && !AskGroupName(window, appInstance))
        return 0;
    if (groupName[0] == 0)
        CopyText(groupName, sizeof groupName, productName);
    char text[1024];
    LoadMessage(MSG_CREATING_GROUP, text, sizeof text);
    LogLine(text);
    if (ProgmanCreateGroup(groupName))
        CreateProgramItems(run);
    PumpMessages();
    ProgmanUninitialize();
    return 1;
}

static int FinishStep(HWND window, InstallRun *run)
{
    WriteInstallationRecord(run->programDirectory, run->dataDirectory, groupName);
    char text[1024], caption[1024];
    LoadMessage(MSG_INSTALL_SUCCESS, text, sizeof text);
    LogLine(text);
    if (!setupOptions.quiet) {
        LoadMessage(MSG_CONGRATULATIONS, caption, sizeof caption);
        MessageBoxA(window, "Installation successful!", caption, MB_OK);
    }
    return 1;
}

static int RunInstallation(HWND window)
{
    static InstallRun run;
    ZeroMemory(&run, sizeof run);
    if (!ExtractStep(window, &run))
        return 0;
    CopyText(run.programDirectory, sizeof run.programDirectory, defaultProgramDirectory);
    if (!SourceStep(window, &run) || !ProgramDirectoryStep(window, &run))
        return 0;
    PumpMessages();
    PumpMessages();
    WriteSettingsValues();
    PumpMessages();
    int result = InstallPayloadFiles(appInstance, window, run.sourceDirectory, run.programDirectory);
    PumpMessages();
    if (result)
        result = GroupStep(window, &run);
    PumpMessages();
    if (!result) {
        ReportMessage(window, MSG_INSTALL_FAILED, setupTitle, MB_ICONERROR);
        return 0;
    }
    return FinishStep(window, &run);
}

int RunSetup(HWND window)
{
    SetWindowTextA(window, setupTitle);
    int choice = AskInstallOrRemove(window, appInstance);
    if (choice == 0)
        return 0;
    if (choice == 2)
        return RemoveInstallation(window);
    return RunInstallation(window);
}

void RunStartCommand(HWND window)
{
    runInProgress = 1;
    RunSetup(window);
    DeleteExtractedFiles();
    runInProgress = 0;
    PostMessageA(window, WM_CLOSE, 0, 0);
}
