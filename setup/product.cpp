// What this setup program installs: Lumetra's names, defaults and files.
#include "setup/product.h"
#include "setup/messages.h"
#include "resource.h"

const char productName[] = "Lumetra";
char setupTitle[TEXT_SIZE];
char groupName[TEXT_SIZE];
char defaultProgramDirectory[TEXT_SIZE];
const DWORD appletsMask = 0;
const int payloadCount = 5;

// Table order is the order of extraction, copying, items and removal.
PayloadEntry payloadTable[] = {
    { "EXEFILE", 1, "lumtools.exe", "lumtools.exe", 1, 1, "Lumetra", 0, 0 },
    { "HLPFILE", 1, "lumtools.hlp", "lumtools.hlp", 1, 1, "Lumetra Help File", 0, 0 },
    { "CNTFILE", 1, "lumtools.cnt", "lumtools.cnt", 1, 0, "", 0, 0 },
    { "TXTFILE", 1, "lumtools.txt", "lumtools.txt", 1, 1, "Lumetra Release Notes", 0, 0 },
    { "MIBFILE", 1, "mib.txt", "mib.txt", 0, 0, "", 0, 0 },
};

int InitProductDescription(HINSTANCE instance)
{
    CopyText(groupName, sizeof groupName, productName);
    LoadStringA(instance, MSG_SETUP_TITLE, setupTitle, sizeof setupTitle);
    CopyText(defaultProgramDirectory, sizeof defaultProgramDirectory, "C:\\Program Files\\LumTools");
    return payloadCount;
}

int ProgramDirectoryCanHoldFiles(const char *directory)
{
    return lstrlenA(directory) + 1 + LongestDestNameLength() <= INSTALLED_PATH_LIMIT;
}

int LongestDestNameLength(void)
{
    int longest = 0;
    for (int i = 0; i < payloadCount; i++) {
        int length = lstrlenA(payloadTable[i].destName);
        if (length > longest)
            longest = length;
    }
    return longest;
}
