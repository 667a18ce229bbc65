// Payload extraction: every payload resource is written, still compressed,
// into a directory of this run's own under the temporary directory, and
// deleted again at the end of the run. The directory is created fresh
// because the temporary directory is shared: a file planted there under a
// payload name (or its compressed name) must never become our source.
#include "files/files.h"
#include "files/progress.h"
#include "setup/messages.h"
#include "setup/product.h"

char extractDirectory[MAX_PATH];

enum { LOG_SIZE = 512, NAME_ATTEMPTS = 100 };

// The temporary directory with a trailing backslash; 0 when there is none
// or it does not fit.
static int ReadTemporaryDirectory(char *directory, int capacity)
{
    DWORD length = GetTempPathA(capacity, directory);
    if (length == 0 || length >= (DWORD)capacity) {
        directory[0] = 0;
        return 0;
    }
    if (directory[length - 1] != '\\')
        return AppendText(directory, capacity, "\\");
    return 1;
}

// Creates a directory that did not exist before under the temporary
// directory and stores it, with a trailing backslash, in extractDirectory.
static int CreateExtractDirectory(void)
{
    char line[LOG_SIZE];
    char temporary[MAX_PATH];
    extractDirectory[0] = 0;
    if (!ReadTemporaryDirectory(temporary, sizeof temporary)) {
        FormatText(line, sizeof line, "Failed to read the temporary directory (%u)",
                   (unsigned)GetLastError());
        LogLine(line);
        return 0;
    }
    char candidate[MAX_PATH] = "";
    DWORD error = 0;
    for (unsigned attempt = 0; attempt < NAME_ATTEMPTS; attempt++) {
        if (!FormatText(candidate, sizeof candidate, "%slum%lu-%u.tmp", temporary,
                        (unsigned long)GetCurrentProcessId(), attempt)) {
            error = ERROR_FILENAME_EXCED_RANGE;
            break;
        }
        if (CreateDirectoryA(candidate, NULL)) {
            // Fits: the name is at least one character shorter than its buffer allows.
            if (AppendText(candidate, sizeof candidate, "\\")) {
                CopyText(extractDirectory, sizeof extractDirectory, candidate);
                return 1;
            }
            RemoveDirectoryA(candidate);
            error = ERROR_FILENAME_EXCED_RANGE;
            break;
        }
        error = GetLastError();
        // Someone else's file or directory of that name: never reuse it.
        if (error != ERROR_ALREADY_EXISTS)
            break;
    }
    FormatText(line, sizeof line, "Failed to create temporary directory %s (%u)", candidate,
               (unsigned)error);
    LogLine(line);
    return 0;
}

int ExtractPayload(HINSTANCE instance, HWND owner)
{
    int count = 0;
    HWND statusControl = OpenProgressDialog(instance, owner);
    if (CreateExtractDirectory()) {
        for (int i = 0; i < payloadCount; i++) {
            PayloadEntry *entry = &payloadTable[i];
            if (ExtractPayloadFile(instance, statusControl, entry->resourceName, extractDirectory,
                                   entry->sourceName)) {
                count++;
                entry->status |= STATUS_EXTRACTED;
            }
        }
    }
    CloseProgressDialog(owner);
    return count;
}

// Writes size bytes to a new file at path; 1 when all were written.
static int WriteWholeFile(const char *path, const void *bytes, DWORD size)
{
    char line[LOG_SIZE];
    HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        FormatText(line, sizeof line, "File creation error on %s", path);
        LogLine(line);
        return 0;
    }
    DWORD written = 0;
    int result = WriteFile(file, bytes, size, &written, NULL) && written == size;
    CloseHandle(file);
    if (!result) {
        FormatText(line, sizeof line, "File write error on %s, %u!=%u", path, (unsigned)written,
                   (unsigned)size);
        LogLine(line);
        // A cut-off copy would still expand (into a damaged file) if it stayed.
        DeleteFileA(path);
    }
    return result;
}

int ExtractPayloadFile(HINSTANCE instance, HWND statusControl, const char *resourceName,
                       const char *directory, const char *fileName)
{
    char line[LOG_SIZE];
    HRSRC resource = FindResourceA(instance, resourceName, "EXE");
    if (resource == NULL) {
        FormatText(line, sizeof line, "Failed to locate resource %s", resourceName);
        LogLine(line);
        return 0;
    }
    DWORD size = SizeofResource(instance, resource);
    HGLOBAL loaded = LoadResource(instance, resource);
    const void *bytes = loaded != NULL ? LockResource(loaded) : NULL;
    if (bytes == NULL) {
        FormatText(line, sizeof line, "Failed to load resource %s", resourceName);
        LogLine(line);
        return 0;
    }
    char path[MAX_PATH];
    if (!CopyText(path, sizeof path, directory) || !AppendText(path, sizeof path, fileName)) {
        // Refused rather than cut: a shortened path would name another file.
        FormatText(line, sizeof line, "Path too long: %s%s", directory, fileName);
        LogLine(line);
        FreeResource(loaded);
        return 0;
    }
    FormatText(line, sizeof line, "Extracting to %s, %u bytes", path, (unsigned)size);
    LogLine(line);
    ShowProgressText(statusControl, line);
    int result = WriteWholeFile(path, bytes, size);
    FreeResource(loaded);
    return result;
}

int DeleteExtractedFiles(void)
{
    if (extractDirectory[0] == 0)
        return 0;
    for (int i = 0; i < payloadCount; i++) {
        const PayloadEntry *entry = &payloadTable[i];
        if (!(entry->status & STATUS_EXTRACTED))
            continue;
        char line[LOG_SIZE];
        FormatText(line, sizeof line, "Removing %s%s", extractDirectory, entry->sourceName);
        LogLine(line);
        char path[MAX_PATH];
        if (CopyText(path, sizeof path, extractDirectory) &&
            AppendText(path, sizeof path, entry->sourceName))
            DeleteFileA(path);
    }
    RemoveDirectoryA(extractDirectory);
    extractDirectory[0] = 0;
    return 0;
}
