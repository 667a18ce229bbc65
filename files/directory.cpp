// Creation of a directory path, parents first. Every level that cannot be
// created reports itself in a box of its own, also in quiet mode, since the
// user has to know which directory could not be made.
#include "files/files.h"
#include "setup/messages.h"
#include "resource.h"

enum { MESSAGE_SIZE = 256 };

// Kept out of CreateDirectoryPath so the recursion carries no message buffers.
static void ReportCreationFailure(const char *path)
{
    // Read first: loading the template must not be able to change it.
    DWORD error = GetLastError();
    char templ[MESSAGE_SIZE];
    char text[MESSAGE_SIZE];
    LoadMessage(MSG_CREATION_FAILED, templ, sizeof templ);
    // A long path is cut together with the message; the box only names it.
    if (!FormatInserts(text, sizeof text, templ, path, (unsigned)error))
        CopyText(text, sizeof text, templ);
    LoadMessage(MSG_INSTALL_CAPTION, templ, sizeof templ);
    MessageBoxA(NULL, text, templ, MB_ICONERROR);
}

// Creates one level; an existing directory counts as created.
static int CreateOneLevel(const char *path)
{
    return CreateDirectoryA(path, NULL) || GetLastError() == ERROR_ALREADY_EXISTS;
}

int CreateDirectoryPath(char *path)
{
    int result = CreateOneLevel(path);
    if (!result) {
        char *separator = NULL;
        for (char *c = path; *c; c++)
            if (*c == '\\')
                separator = c;
        if (separator != NULL) {
            // The parent's result is not examined: it has shown its own box,
            // and the second attempt below tells whether this level exists.
            *separator = 0;
            CreateDirectoryPath(path);
            *separator = '\\';
            // A trailing backslash names the directory the parent call just
            // made, so "already exists" is success here as well.
            result = CreateOneLevel(path);
        }
    }
    if (!result)
        ReportCreationFailure(path);
    return result;
}
