// The copy step: every payload file is expanded (or copied unchanged) from
// the source directory into the program directory under the progress
// dialog, with a "Change disk" prompt while a required file cannot be copied.
#include "files/files.h"
#include "files/lz32.h"
#include "files/progress.h"
#include "setup/messages.h"
#include "setup/product.h"
#include "setup/startup.h"
#include "resource.h"

enum { PATH_TEXT_SIZE = 256, PROGRESS_SIZE = 512, MESSAGE_SIZE = 256 };

// GetFullPathNameA into a MAX_PATH buffer; 0 when it fails or does not fit.
static int FullPath(const char *path, char *full)
{
    char *filePart;
    DWORD length = GetFullPathNameA(path, MAX_PATH, full, &filePart);
    return length > 0 && length < MAX_PATH;
}

// Opens a file for its identity only; no access, so nothing is locked.
static HANDLE OpenForIdentity(const char *path)
{
    HANDLE file = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              NULL, OPEN_EXISTING, 0, NULL);
    // Windows 95 knows no FILE_SHARE_DELETE.
    if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_INVALID_PARAMETER)
        file = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0,
                           NULL);
    return file;
}

// Two existing files with the same volume serial number and file index are
// one file, whatever names lead to them (short names, links, other spellings).
static int HaveSameIdentity(const char *first, const char *second)
{
    HANDLE a = OpenForIdentity(first);
    if (a == INVALID_HANDLE_VALUE)
        return 0;
    HANDLE b = OpenForIdentity(second);
    int same = 0;
    if (b != INVALID_HANDLE_VALUE) {
        BY_HANDLE_FILE_INFORMATION infoA, infoB;
        if (GetFileInformationByHandle(a, &infoA) && GetFileInformationByHandle(b, &infoB))
            same = infoA.dwVolumeSerialNumber == infoB.dwVolumeSerialNumber &&
                   infoA.nFileIndexHigh == infoB.nFileIndexHigh &&
                   infoA.nFileIndexLow == infoB.nFileIndexLow;
        CloseHandle(b);
    }
    CloseHandle(a);
    return same;
}

// Opening a file both as the source and, truncated, as the destination would
// destroy the only copy, so sameness is decided on what the paths name, not
// on how they are written.
static int IsSameFile(const char *first, const char *second)
{
    if (lstrcmpiA(first, second) == 0)
        return 1;
    char fullFirst[MAX_PATH], fullSecond[MAX_PATH];
    if (FullPath(first, fullFirst) && FullPath(second, fullSecond) &&
        lstrcmpiA(fullFirst, fullSecond) == 0)
        return 1;
    return HaveSameIdentity(first, second);
}

// Opens the source for reading, its compressed name (last character "_")
// first; -1 when neither opens.
static INT OpenSource(const char *sourcePath)
{
    char path[MAX_PATH];
    if (!CopyText(path, sizeof path, sourcePath) || path[0] == 0) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return -1;
    }
    OFSTRUCT record;
    path[lstrlenA(path) - 1] = '_';
    INT source = Lz32OpenFile(path, &record, OF_READ);
    if (source >= 0)
        return source;
    CopyText(path, sizeof path, sourcePath);
    return Lz32OpenFile(path, &record, OF_READ);
}

// LZOpenFileA falls back to the compressed name ("lumtools.ex_") when the
// file itself cannot be opened, and would report a copy into that other file
// as a success. So the destination must open for writing under its own name
// first, and the name LZ32 opened is checked afterwards.
static int DestinationOpensForWriting(const char *path)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    CloseHandle(file);
    return 1;
}

static int OpenedUnderItsOwnName(const char *path, const OFSTRUCT *record)
{
    char full[MAX_PATH];
    return FullPath(path, full) && lstrcmpiA(full, record->szPathName) == 0;
}

static INT OpenDestination(const char *destinationPath)
{
    char path[MAX_PATH];
    if (!CopyText(path, sizeof path, destinationPath)) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return -1;
    }
    if (!DestinationOpensForWriting(path))
        return -1;
    OFSTRUCT record;
    INT destination = Lz32OpenFile(path, &record, OF_CREATE | OF_WRITE);
    if (destination >= 0 && !OpenedUnderItsOwnName(path, &record)) {
        Lz32Close(destination);
        SetLastError(ERROR_ACCESS_DENIED);
        return -1;
    }
    return destination;
}

int ExpandFile(const char *sourcePath, const char *destinationPath)
{
    if (IsSameFile(sourcePath, destinationPath))
        return 1;
    INT source = OpenSource(sourcePath);
    if (source < 0)
        return 0;
    INT destination = OpenDestination(destinationPath);
    if (destination < 0) {
        DWORD error = GetLastError();
        Lz32Close(source);
        SetLastError(error);
        return 0;
    }
    LONG written = Lz32Copy(source, destination);
    DWORD error = GetLastError();
    Lz32Close(destination);
    Lz32Close(source);
    if (written > 0)
        return 1;
    // Keep the copy's own code for the failure message, not the closes'.
    SetLastError(error);
    return 0;
}

// "Insert disk %u containing %s" under "Change disk"; 1 when the user chose OK.
// Shown in quiet mode too: only the user can bring the missing file.
static int AskForDisk(const PayloadEntry *entry)
{
    char prompt[PATH_TEXT_SIZE];
    FormatText(prompt, sizeof prompt, "Insert disk %u containing %s", (unsigned)entry->diskNumber,
               entry->sourceName);
    return MessageBoxA(NULL, prompt, "Change disk", MB_OKCANCEL) == IDOK;
}

static void ReportCopyFailure(const PayloadEntry *entry, const char *programDirectory, HWND owner,
                              DWORD error)
{
    char templ[MESSAGE_SIZE];
    char text[MESSAGE_SIZE];
    LoadMessage(MSG_COPY_FAILED, templ, sizeof templ);
    // A long program directory is cut together with the message.
    if (!FormatInserts(text, sizeof text, templ, entry->sourceName, programDirectory,
                       (unsigned)error))
        CopyText(text, sizeof text, templ);
    LogLine(text);
    LoadMessage(MSG_INSTALL_CAPTION, templ, sizeof templ);
    if (!setupOptions.quiet)
        MessageBoxA(owner, text, templ, MB_ICONERROR);
}

int InstallPayloadFile(PayloadEntry *entry, const char *sourceDirectory,
                       const char *programDirectory, HWND owner, HWND statusControl)
{
    char destinationPath[PATH_TEXT_SIZE];
    char sourcePath[PATH_TEXT_SIZE];
    // Paths that do not fit are refused, never cut into the name of another file.
    int destinationFits = FormatText(destinationPath, sizeof destinationPath, "%s\\%s",
                                     programDirectory, entry->destName);
    int sourceFits = FormatText(sourcePath, sizeof sourcePath, "%s%s", sourceDirectory,
                                entry->sourceName);
    int pathsFit = destinationFits && sourceFits;
    char progress[PROGRESS_SIZE];
    if (pathsFit)
        FormatText(progress, sizeof progress, "Copying %s to %s", sourcePath, destinationPath);
    else
        FormatText(progress, sizeof progress, "Copying %s%s to %s\\%s", sourceDirectory,
                   entry->sourceName, programDirectory, entry->destName);
    LogLine(progress);
    ShowProgressText(statusControl, progress);
    if (!pathsFit)
        LogLine("Path too long");
    // Takes in a press of Cancel; the entry at hand is still copied.
    PumpMessages();
    DWORD error = 0;
    for (;;) {
        if (pathsFit && ExpandFile(sourcePath, destinationPath)) {
            entry->status |= STATUS_INSTALLED;
            return 0;
        }
        error = pathsFit ? GetLastError() : (DWORD)ERROR_FILENAME_EXCED_RANGE;
        if (!entry->required || !AskForDisk(entry))
            break;
    }
    PumpMessages();
    if (!entry->required)
        return 0;
    ReportCopyFailure(entry, programDirectory, owner, error);
    return 1;
}

int InstallPayloadFiles(HINSTANCE instance, HWND owner, const char *sourceDirectory,
                        const char *programDirectory)
{
    int result = 0;
    int stopped = 0;
    copyCancelled = 0;
    HWND statusControl = OpenProgressDialog(instance, owner);
    for (int i = 0; i < payloadCount && !copyCancelled; i++) {
        if (InstallPayloadFile(&payloadTable[i], sourceDirectory, programDirectory, owner,
                               statusControl)) {
            result = 0;
            stopped = 1;
            break;
        }
        result = 1;
    }
    if (!stopped && !copyCancelled) {
        char text[PROGRESS_SIZE];
        LoadMessage(MSG_CREATING_GROUP_ICONS, text, sizeof text);
        ShowProgressText(statusControl, text);
        result = 1;
    }
    CloseProgressDialog(owner);
    return result;
}
