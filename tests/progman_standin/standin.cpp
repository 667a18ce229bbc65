// A Program Manager stand-in for the tests: a DDE server for service and
// topic "PROGMAN" that records every command it is sent, byte for byte, and
// answers the "Groups" request with a reply the test chose.
//
//   progman_standin RECORD [/groups:FILE] [/reject] [/late:MS]
//
// RECORD  receives one entry per XTYP_EXECUTE: the data size as a 32-bit
//         little-endian number, then the data exactly as received.
// /groups:FILE  the bytes of FILE, read at each request, are the reply to
//         the "Groups" request; while FILE is missing the request is refused.
// /reject answer every command with "not processed".
// /late:MS  answer each command only MS milliseconds after it arrived.
// The program ends on WM_QUIT posted to its thread.
#include <windows.h>
#include <ddeml.h>
#include <stdio.h>
#include <string.h>
#include <stdlib.h>

static DWORD instance;
static HSZ serviceName;
static HSZ groupsItem;
static const char *recordPath;
static const char *groupsPath;
static int rejectCommands;
static UINT lateMilliseconds;

static void RecordCommand(HDDEDATA data)
{
    DWORD size = DdeGetData(data, NULL, 0, 0);
    BYTE *bytes = (BYTE *)malloc(size + 1);
    DdeGetData(data, bytes, size, 0);
    FILE *record = fopen(recordPath, "ab");
    if (record != NULL) {
        BYTE header[4] = { (BYTE)size, (BYTE)(size >> 8), (BYTE)(size >> 16), (BYTE)(size >> 24) };
        fwrite(header, 1, 4, record);
        fwrite(bytes, 1, size, record);
        fclose(record);
    }
    free(bytes);
}

// A late answer is given by sleeping in the callback. Blocking the
// conversation (CBR_BLOCK) and releasing it later does not work under Wine:
// when the client gives up and ends the conversation, the blocked command is
// dropped, and the next conversation may come with the same handle.
static HDDEDATA AnswerExecute(HDDEDATA data)
{
    RecordCommand(data);
    if (lateMilliseconds != 0)
        Sleep(lateMilliseconds);
    return (HDDEDATA)(rejectCommands ? DDE_FNOTPROCESSED : DDE_FACK);
}

static HDDEDATA GroupsReply(void)
{
    FILE *file = fopen(groupsPath, "rb");
    if (file == NULL)
        return NULL;
    fseek(file, 0, SEEK_END);
    long size = ftell(file);
    fseek(file, 0, SEEK_SET);
    BYTE *bytes = (BYTE *)malloc(size > 0 ? size : 1);
    DWORD read = (DWORD)fread(bytes, 1, size, file);
    fclose(file);
    HDDEDATA reply = DdeCreateDataHandle(instance, bytes, read, 0, groupsItem, CF_TEXT, 0);
    free(bytes);
    return reply;
}

static HDDEDATA AnswerRequest(UINT format, HSZ item)
{
    if (format != CF_TEXT || DdeCmpStringHandles(item, groupsItem) != 0 || groupsPath == NULL)
        return NULL;
    return GroupsReply();
}

static HDDEDATA CALLBACK StandinCallback(UINT type, UINT format, HCONV, HSZ hsz1,
                                         HSZ hsz2, HDDEDATA data, ULONG_PTR, ULONG_PTR)
{
    switch (type) {
    case XTYP_CONNECT:  // hsz1 topic, hsz2 service
        return (HDDEDATA)(UINT_PTR)(DdeCmpStringHandles(hsz1, serviceName) == 0 &&
                                    DdeCmpStringHandles(hsz2, serviceName) == 0);
    case XTYP_EXECUTE:
        return AnswerExecute(data);
    case XTYP_REQUEST:
        return AnswerRequest(format, hsz2);
    }
    return NULL;
}

static int ReadArguments(int argc, char **argv)
{
    if (argc < 2)
        return 0;
    recordPath = argv[1];
    for (int i = 2; i < argc; i++) {
        if (strncmp(argv[i], "/groups:", 8) == 0) {
            groupsPath = argv[i] + 8;
        } else if (strcmp(argv[i], "/reject") == 0) {
            rejectCommands = 1;
        } else if (strncmp(argv[i], "/late:", 6) == 0) {
            lateMilliseconds = (UINT)atoi(argv[i] + 6);
        } else {
            return 0;
        }
    }
    return 1;
}

int main(int argc, char **argv)
{
    if (!ReadArguments(argc, argv)) {
        fprintf(stderr, "usage: progman_standin RECORD [/groups:FILE] [/reject] [/late:MS]\n");
        return 2;
    }
    if (DdeInitializeA(&instance, StandinCallback, APPCLASS_STANDARD | CBF_SKIP_ALLNOTIFICATIONS,
                       0) != DMLERR_NO_ERROR)
        return 3;
    serviceName = DdeCreateStringHandleA(instance, "PROGMAN", CP_WINANSI);
    groupsItem = DdeCreateStringHandleA(instance, "Groups", CP_WINANSI);
    if (!DdeNameService(instance, serviceName, 0, DNS_REGISTER))
        return 4;
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    DdeNameService(instance, 0, 0, DNS_UNREGISTER);
    DdeUninitialize(instance);
    return 0;
}
