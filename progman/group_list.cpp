// The names of Program Manager's existing groups, for the group dialog's
// list. Runs under a DDE instance of its own that lives only for the call.
#include "progman/progman.h"

char groupList[GROUP_LIST_SIZE];

// Copies the reply into groupList, cut so that a terminating zero still fits.
static int CopyReply(HDDEDATA reply)
{
    DWORD size = 0;
    BYTE *data = DdeAccessData(reply, &size);
    if (data == NULL)
        return 0;
    if (size > GROUP_LIST_SIZE - 1)
        size = GROUP_LIST_SIZE - 1;
    CopyMemory(groupList, data, size);
    groupList[size] = 0;
    DdeUnaccessData(reply);
    return 1;
}

static int FetchGroupList(DWORD instance)
{
    groupList[0] = 0;
    HSZ service = DdeCreateStringHandleA(instance, "PROGMAN", CP_WINANSI);
    HSZ item = DdeCreateStringHandleA(instance, "Groups", CP_WINANSI);
    HCONV conversation = DdeConnect(instance, service, service, NULL);
    if (conversation == NULL)
        return 0;
    HDDEDATA reply = DdeClientTransaction(NULL, 0, conversation, item, CF_TEXT, XTYP_REQUEST,
                                          1000, NULL);
    int fetched = reply != 0 && CopyReply(reply);
    DdeDisconnect(conversation);
    DdeFreeStringHandle(instance, service);
    DdeFreeStringHandle(instance, item);
    return fetched;
}

static int IsLineBreak(char c)
{
    return c == '\n' || c == '\r';
}

// Splits groupList in place at every run of line breaks; empty pieces are skipped.
static void AddGroupNames(HWND comboBox)
{
    char *position = groupList;
    for (;;) {
        while (IsLineBreak(*position))
            position++;
        if (*position == 0)
            return;
        char *name = position;
        while (*position && !IsLineBreak(*position))
            position++;
        if (*position)
            *position++ = 0;
        SendMessageA(comboBox, CB_ADDSTRING, 0, (LPARAM)name);
    }
}

char *ProgmanListGroups(HWND comboBox)
{
    DWORD instance = 0;
    if (DdeInitializeA(&instance, ProgmanCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR)
        return NULL;
    int fetched = FetchGroupList(instance);
    // Ending the instance releases whatever the fetch left behind.
    DdeUninitialize(instance);
    if (!fetched)
        return NULL;
    AddGroupNames(comboBox);
    return groupList;
}
