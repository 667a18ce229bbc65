// The state of the Wine machine that an installation changes, read and reset
// where it lands: files, setup.log, win.ini, the registry, the Start Menu.
#ifndef LUMSETUP_MACHINE_H
#define LUMSETUP_MACHINE_H

#include <windows.h>
#include <string>
#include <vector>
#include "test_files.h"

struct ProgramItem {
    std::string name;              // the shortcut's name
    std::string target;            // the file it starts
    std::string workingDirectory;
};

// The lines of a log file, split at CR LF (a lone CR stays in its line).
std::vector<std::string> ReadLogLines(const std::string &path);

std::string RecordValue(const char *key);        // win.ini [Lumetra]; "<absent>" if none
bool RecordSectionExists(void);
bool RegistryDword(HKEY root, const char *path, const char *name, DWORD *value);
bool RegistryKeyExists(HKEY root, const char *path);
void DeleteRegistryKeyTree(HKEY root, const char *path);

std::string ProgramsFolder(void);                // Start Menu\Programs
bool GroupExists(const std::string &group);
std::vector<ProgramItem> GroupItems(const std::string &group);

std::string TempDirectory(void);                 // GetTempPathA, with its backslash

// Removes every trace of an installation: files, record, settings, group.
void ResetMachine(const char *programDirectory = "C:\\Program Files\\LumTools");

#endif
