// Program Manager command texts built from inserts that may come from the
// user (the group dialog) or from win.ini. An insert must never end or split
// the command it goes into: Program Manager reads "Tools)][DeleteGroup(StartUp"
// as two commands, and an unquoted "C:\Old (2)" as a broken one.
//
// Rules, for every command this client sends:
// - Unquoted parameters (the group name of CreateGroup, DeleteGroup and
//   ShowGroup; the working directory of AddItem) are sent as they are unless
//   they hold one of [ ] ( ) , -- then they are sent between quotation marks,
//   which Program Manager accepts in every parameter position.
// - Inside quotation marks only a double quote can end a parameter, so a text
//   holding a double quote cannot be sent at all; that includes item names and
//   command lines, which the templates quote already.
// - A command longer than 515 characters cannot be sent either.
// A builder that refuses returns 0 and the caller sends nothing.
#ifndef LUMSETUP_PROGMAN_COMMAND_TEXT_H
#define LUMSETUP_PROGMAN_COMMAND_TEXT_H

enum {
    PROGMAN_COMMAND_SIZE = 516,  // a command is at most 515 characters
    PROGMAN_PATH_SIZE = 260      // directories and joined paths: at most 259
};

// The templates whose one insert is a group name.
extern const char createGroupTemplate[];  // "[CreateGroup(%s)]"
extern const char deleteGroupTemplate[];  // "[DeleteGroup(%s)]"
extern const char showGroupTemplate[];    // "[ShowGroup(%s,1)]"

// One of the group templates with the group name.
int ProgmanFormatGroupCommand(char *command, const char *templ, const char *group);
// "[DeleteItem("%s")]" with the item name.
int ProgmanFormatDeleteItemCommand(char *command, const char *itemName);
// "[AddItem("%s","%s",,,,,%s)]" with the command line, item name and directory.
int ProgmanFormatAddItemCommand(char *command, const char *commandLine, const char *itemName,
                                const char *directory);

#endif
