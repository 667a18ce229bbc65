// The source check: makes sure the directory to copy from holds the primary
// payload file, plain or compressed, and asks for another directory until it
// does or the user gives up.
#include "files/files.h"
#include "dialogs/dialogs.h"
#include "setup/messages.h"
#include "setup/product.h"
#include "resource.h"

// Ends a non-empty directory in a backslash when there is room; returns its length.
static int NormaliseDirectory(char *path)
{
    int length = lstrlenA(path);
    if (length > 0 && path[length - 1] != '\\' && length + 1 < PATH_SIZE) {
        path[length++] = '\\';
        path[length] = 0;
    }
    return length;
}

static int PathExists(const char *path)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// Looks for the file under its plain name in the directory held in path[0..base),
// then under its compressed name (last character "_"). An empty directory is
// searched for the compressed name only, relative to the current directory.
// A directory that could not take its backslash, or leaves no room for the
// name, holds nothing: a shortened path would name some other file.
static int SourceFileFound(char *path, int base, const char *fileName)
{
    path[base] = 0;
    if (base > 0 && path[base - 1] != '\\')
        return 0;
    if (!AppendText(path, PATH_SIZE, fileName))
        return 0;
    if (base > 0 && PathExists(path))
        return 1;
    int length = lstrlenA(path);
    if (length == base)
        return 0;
    path[length - 1] = '_';
    return PathExists(path);
}

int LocateSource(HINSTANCE instance, HWND owner, char *directory, const char *primaryFileName)
{
    char path[PATH_SIZE];
    char prompt[PATH_SIZE];
    CopyText(path, sizeof path, directory);
    int base = NormaliseDirectory(path);
    LoadMessage(MSG_SOURCE_CAPTION, directoryDialogTitle, sizeof directoryDialogTitle);
    while (!SourceFileFound(path, base, primaryFileName)) {
        path[base] = 0;
        CopyText(browseFileName, sizeof browseFileName, primaryFileName);
        LoadMessage(MSG_SOURCE_PROMPT, prompt, sizeof prompt);
        // -1, a prompt that cannot be shown, hands back the same directory
        // again: asking once more would spin for ever.
        if (AskDirectory(owner, instance, prompt, path, path) != 1)
            return 0;
        base = NormaliseDirectory(path);
    }
    path[base] = 0;
    CopyText(directory, PATH_SIZE, path);
    return 1;
}
