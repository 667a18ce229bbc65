// The compiled-in description of the product this setup program carries:
// names, defaults and the payload table that every step walks in order.
#ifndef LUMSETUP_PRODUCT_H
#define LUMSETUP_PRODUCT_H

#include <windows.h>

enum PayloadStatus {
    STATUS_INSTALLED = 1,  // copied into the program directory
    STATUS_EXTRACTED = 2   // written to this run's temporary directory
};

struct PayloadEntry {
    const char *resourceName;
    DWORD diskNumber;
    const char *sourceName;
    const char *destName;
    DWORD required;
    DWORD createIcon;
    const char *iconTitle;
    DWORD directoryKind;
    DWORD status;
};

enum { TEXT_SIZE = 256, PATH_SIZE = 512 };

extern const char productName[];
extern char setupTitle[TEXT_SIZE];
extern char groupName[TEXT_SIZE];
extern char defaultProgramDirectory[TEXT_SIZE];
extern const DWORD appletsMask;
extern const int payloadCount;
extern PayloadEntry payloadTable[];

// Fills the three start-up buffers; returns payloadCount.
int InitProductDescription(HINSTANCE instance);

// Length of the longest destName: what a program directory must leave room for.
int LongestDestNameLength(void);

// The longest installed path the copy can open: LZ32 opens files through an
// open-file record whose path holds at most 127 characters.
enum { INSTALLED_PATH_LIMIT = OFS_MAXPATHNAME - 1 };

// 1 when "<directory>\<destName>" fits INSTALLED_PATH_LIMIT for every file.
int ProgramDirectoryCanHoldFiles(const char *directory);

#endif
