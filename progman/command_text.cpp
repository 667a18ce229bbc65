// Builds Program Manager command texts so that no insert can end or split
// its command (the rules are in command_text.h).
#include "progman/command_text.h"
#include "progman/progman.h"
#include "setup/messages.h"

const char createGroupTemplate[] = "[CreateGroup(%s)]";
const char deleteGroupTemplate[] = "[DeleteGroup(%s)]";
const char showGroupTemplate[] = "[ShowGroup(%s,1)]";

static int HoldsAnyOf(const char *text, const char *characters)
{
    for (; *text; text++)
        for (const char *c = characters; *c; c++)
            if (*text == *c)
                return 1;
    return 0;
}

// A quoted parameter runs to the next double quote.
static int HoldsQuote(const char *text)
{
    return HoldsAnyOf(text, "\"");
}

// Writes a parameter the template leaves unquoted: plain text as it is, text
// that would end or split it in quotation marks. 0 when it cannot be sent.
static int FormatBareParameter(char *parameter, int capacity, const char *text)
{
    if (HoldsQuote(text))
        return 0;
    if (HoldsAnyOf(text, "[](),"))
        return FormatText(parameter, capacity, "\"%s\"", text);
    return CopyText(parameter, capacity, text);
}

int ProgmanFormatGroupCommand(char *command, const char *templ, const char *group)
{
    char parameter[PROGMAN_COMMAND_SIZE];
    if (!FormatBareParameter(parameter, sizeof parameter, group))
        return 0;
    return FormatText(command, PROGMAN_COMMAND_SIZE, templ, parameter);
}

int ProgmanFormatDeleteItemCommand(char *command, const char *itemName)
{
    if (HoldsQuote(itemName))
        return 0;
    return FormatText(command, PROGMAN_COMMAND_SIZE, "[DeleteItem(\"%s\")]", itemName);
}

int ProgmanFormatAddItemCommand(char *command, const char *commandLine, const char *itemName,
                                const char *directory)
{
    char parameter[PROGMAN_COMMAND_SIZE];
    if (HoldsQuote(commandLine) || HoldsQuote(itemName) ||
        !FormatBareParameter(parameter, sizeof parameter, directory))
        return 0;
    return FormatText(command, PROGMAN_COMMAND_SIZE, "[AddItem(\"%s\",\"%s\",,,,,%s)]",
                      commandLine, itemName, parameter);
}

// With quoting, a double quote is the only character a group name cannot
// carry; a name so long that a group command would pass 515 characters
// cannot be sent either. The dialog's 255 characters always fit.
int ProgmanIsSafeGroupName(const char *group)
{
    char command[PROGMAN_COMMAND_SIZE];
    return ProgmanFormatGroupCommand(command, createGroupTemplate, group) &&
           ProgmanFormatGroupCommand(command, deleteGroupTemplate, group) &&
           ProgmanFormatGroupCommand(command, showGroupTemplate, group);
}
