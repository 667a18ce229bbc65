// The DDE side of the Program Manager client: the instance under which group
// and item commands run, and one conversation per command.
#include "progman/progman.h"
#include "progman/command_text.h"

DWORD ddeInstance;

static const DWORD transactionTimeout = 1000;

// Client only: the platform never calls it with anything to answer.
HDDEDATA CALLBACK ProgmanCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR)
{
    return 0;
}

int ProgmanInitialize(void)
{
    ddeInstance = 0;
    return DdeInitializeA(&ddeInstance, ProgmanCallback, APPCMD_CLIENTONLY, 0) ==
           DMLERR_NO_ERROR;
}

int ProgmanUninitialize(void)
{
    if (ddeInstance != 0)
        DdeUninitialize(ddeInstance);
    // An ended instance's number may be handed out again; never reuse it.
    ddeInstance = 0;
    return 1;
}

static int SendCommand(DWORD instance, HSZ service, const char *command)
{
    HCONV conversation = DdeConnect(instance, service, service, NULL);
    if (conversation == NULL)
        return 0;
    DWORD status = 0;
    // The terminating zero goes with the text.
    HDDEDATA accepted = DdeClientTransaction((LPBYTE)command, lstrlenA(command) + 1, conversation,
                                            0, CF_TEXT, XTYP_EXECUTE, transactionTimeout, &status);
    DdeDisconnect(conversation);
    return accepted != 0;
}

int ProgmanExecute(DWORD instance, const char *command)
{
    if (command == NULL || lstrlenA(command) >= PROGMAN_COMMAND_SIZE)
        return 0;
    HSZ service = DdeCreateStringHandleA(instance, "PROGMAN", CP_WINANSI);
    int result = SendCommand(instance, service, command);
    if (service != 0)
        DdeFreeStringHandle(instance, service);
    return result;
}
