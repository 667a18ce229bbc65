// The group and item operations of the Program Manager client: each builds
// its commands first and sends nothing when one of them cannot be built
// safely (see command_text.h).
#include "progman/progman.h"
#include "progman/command_text.h"
#include "setup/messages.h"

static const char *TextOrEmpty(const char *text)
{
    return text != NULL ? text : "";
}

static const char *ChosenText(const char *preferred, const char *fallback)
{
    return preferred != NULL && *preferred ? preferred : TextOrEmpty(fallback);
}

static int SendGroupCommand(const char *templ, const char *group)
{
    char command[PROGMAN_COMMAND_SIZE];
    if (!ProgmanFormatGroupCommand(command, templ, TextOrEmpty(group)))
        return 0;
    return ProgmanExecute(ddeInstance, command);
}

int ProgmanCreateGroup(const char *group)
{
    if (!ProgmanInitialize())
        return 0;
    SendGroupCommand(createGroupTemplate, group);
    return 1;
}

int ProgmanShowGroup(const char *group)
{
    return SendGroupCommand(showGroupTemplate, group);
}

int ProgmanDeleteGroup(const char *group)
{
    SendGroupCommand(deleteGroupTemplate, group);
    ProgmanUninitialize();
    return 1;
}

int ProgmanDeleteItem(const char *itemName, const char *file)
{
    char command[PROGMAN_COMMAND_SIZE];
    if (ProgmanFormatDeleteItemCommand(command, ChosenText(itemName, file)))
        ProgmanExecute(ddeInstance, command);
    return 1;
}

// The directory argument, or the current directory when there is none.
static int WorkingDirectory(char *directory, const char *argument)
{
    if (argument != NULL && *argument)
        return CopyText(directory, PROGMAN_PATH_SIZE, argument);
    DWORD length = GetCurrentDirectoryA(PROGMAN_PATH_SIZE, directory);
    return length > 0 && length < PROGMAN_PATH_SIZE;
}

// A file given with a directory of its own stands alone; otherwise it is
// joined to the working directory, with one backslash between (a drive root
// such as "C:\" already ends in one).
static int JoinItemPath(char *path, const char *directory, const char *file)
{
    for (const char *c = file; *c; c++)
        if (*c == '\\')
            return CopyText(path, PROGMAN_PATH_SIZE, file);
    if (!CopyText(path, PROGMAN_PATH_SIZE, directory))
        return 0;
    int length = lstrlenA(path);
    if (length == 0 || (path[length - 1] != '\\' && path[length - 1] != '/'))
        if (!AppendText(path, PROGMAN_PATH_SIZE, "\\"))
            return 0;
    return AppendText(path, PROGMAN_PATH_SIZE, file);
}

// Both commands or neither: the deletion alone would only remove the item.
static int FormatItemCommands(char *deleteCommand, char *addCommand, const char *itemName,
                              const char *directory, const char *file, const char *commandLine)
{
    char workingDirectory[PROGMAN_PATH_SIZE];
    char joinedPath[PROGMAN_PATH_SIZE];
    if (!WorkingDirectory(workingDirectory, directory))
        return 0;
    if (commandLine == NULL || *commandLine == 0) {
        if (!JoinItemPath(joinedPath, workingDirectory, file))
            return 0;
        commandLine = joinedPath;
    }
    itemName = ChosenText(itemName, file);
    return ProgmanFormatDeleteItemCommand(deleteCommand, itemName) &&
           ProgmanFormatAddItemCommand(addCommand, commandLine, itemName, workingDirectory);
}

int ProgmanAddItem(const char *itemName, const char *directory, const char *file,
                   const char *commandLine)
{
    char deleteCommand[PROGMAN_COMMAND_SIZE];
    char addCommand[PROGMAN_COMMAND_SIZE];
    if (FormatItemCommands(deleteCommand, addCommand, itemName, directory, TextOrEmpty(file),
                           commandLine)) {
        // A failed deletion (no such item yet) must not stop the addition.
        ProgmanExecute(ddeInstance, deleteCommand);
        ProgmanExecute(ddeInstance, addCommand);
    }
    return 1;
}
