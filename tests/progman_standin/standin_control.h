// The tests' side of the Program Manager stand-in: start and stop it, set
// its "Groups" reply, read what it recorded, and find out which server
// answers "PROGMAN" (the stand-in, Wine's own Program Manager, or none).
#ifndef LUMSETUP_STANDIN_CONTROL_H
#define LUMSETUP_STANDIN_CONTROL_H

#include <windows.h>
#include <string>
#include <vector>

struct StandinOptions {
    bool reject = false;         // answer commands with "not processed"
    unsigned lateMs = 0;         // answer commands this late (0: at once)
};

struct Standin {
    PROCESS_INFORMATION process = {};
    std::string recordPath;
    std::string groupsPath;
};

// The process of the server that answers a connection to "PROGMAN" now, 0
// when none answers. nameWindow (optional) receives the DDE name window of
// the service in that process.
DWORD ProgramManagerProcess(HWND *nameWindow = NULL);

// Makes every DDE server that answers "PROGMAN" deaf to new conversations
// (Wine's desktop process runs one), so that only the stand-in can answer.
// Lasts until the Wine session ends. Returns false when a server stays.
bool SilenceProgramManagers(std::string *failure);

// Starts the stand-in and waits until it is the server that answers
// "PROGMAN" (20 s at most). Returns false, with the reason, otherwise.
bool StartStandin(Standin *standin, const StandinOptions &options, std::string *failure);
// The stand-in's reply to the next "Groups" requests, byte for byte.
bool SetGroupsReply(const Standin &standin, const std::string &reply);
// From now on the stand-in refuses the "Groups" request.
void RefuseGroupsRequest(const Standin &standin);
// Ends the stand-in and deletes its files.
void StopStandin(Standin *standin);

// Forgets the commands received so far.
void ClearStandinCommands(const Standin &standin);
// The commands received so far, each exactly as received (the terminating
// zero included when it was sent).
std::vector<std::string> StandinCommands(const Standin &standin);

#endif
