// Program Manager DDE client: groups and items over service/topic "PROGMAN".
#ifndef LUMSETUP_PROGMAN_H
#define LUMSETUP_PROGMAN_H

#include <windows.h>
#include <ddeml.h>

enum { GROUP_LIST_SIZE = 2096 };

extern DWORD ddeInstance;
extern char groupList[GROUP_LIST_SIZE];

int ProgmanExecute(DWORD instance, const char *command);
int ProgmanCreateGroup(const char *group);
int ProgmanShowGroup(const char *group);
int ProgmanAddItem(const char *itemName, const char *directory, const char *file,
                   const char *commandLine);
int ProgmanDeleteItem(const char *itemName, const char *file);
int ProgmanDeleteGroup(const char *group);
int ProgmanInitialize(void);
int ProgmanUninitialize(void);
char *ProgmanListGroups(HWND comboBox);
HDDEDATA CALLBACK ProgmanCallback(UINT type, UINT format, HCONV conversation, HSZ hsz1,
                                  HSZ hsz2, HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2);

// 1 when a group name can be sent in every command without ending or
// splitting it; the group dialog refuses other names.
int ProgmanIsSafeGroupName(const char *group);

#endif
