// Removal of a recorded installation: the payload files, the Program Manager
// items and group, the product's registry keys, the program directory and
// the record itself. Every step is logged and none stops the others; one
// summary message closes the removal.
#include "removal/removal.h"
#include "setup/messages.h"
#include "setup/product.h"
#include "setup/record.h"
#include "setup/startup.h"
#include "progman/progman.h"
#include "resource.h"

enum { REMOVAL_TEXT_SIZE = 512 };

static const char *Outcome(int succeeded)
{
    return succeeded ? "ok" : "failed";
}

// The payload file's place in the program directory; 0 when it does not fit.
static int FormatPayloadPath(char *path, const char *directory, const PayloadEntry *entry)
{
    return FormatText(path, REMOVAL_TEXT_SIZE, "%s\\%s", directory, entry->destName);
}

static void LogRemovalAttempt(const char *path, int succeeded)
{
    char text[REMOVAL_TEXT_SIZE];
    FormatText(text, sizeof text, "Removing %s (%s)", path, Outcome(succeeded));
    LogLine(text);
}

// Every payload file, installed or not: a file that is missing is logged
// as failed and the others are still tried.
static void RemovePayloadFiles(const char *directory)
{
    char path[REMOVAL_TEXT_SIZE];
    for (int i = 0; i < payloadCount; i++) {
        int deleted = FormatPayloadPath(path, directory, &payloadTable[i]) && DeleteFileA(path);
        LogRemovalAttempt(path, deleted);
    }
}

// Takes the recorded group (absent: the current one) as groupName; 0 when
// the record holds an empty group.
static int AdoptRecordedGroup(void)
{
    char group[REMOVAL_TEXT_SIZE];
    if (ReadRecordValue("GROUP", groupName, group) == 0)
        return 0;
    CopyText(groupName, TEXT_SIZE, group);
    return 1;
}

// Program Manager deletes items from its active group, whichever that is:
// only once the recorded group has been made active may item names be sent.
static void RemoveProgramItems(const char *directory)
{
    char path[REMOVAL_TEXT_SIZE];
    char text[REMOVAL_TEXT_SIZE];
    ProgmanInitialize();
    int groupActive = ProgmanShowGroup(groupName);
    for (int i = 0; i < payloadCount; i++) {
        const PayloadEntry *entry = &payloadTable[i];
        if (!entry->createIcon)
            continue;
        if (groupActive && FormatPayloadPath(path, directory, entry))
            ProgmanDeleteItem(entry->iconTitle, path);
        FormatText(text, sizeof text, "Removing icon for %s", entry->iconTitle);
        LogLine(text);
    }
    ProgmanDeleteGroup(groupName);
}

// A key that the plain deletion refuses (subkeys, or no such key) goes the
// long way; only that is logged.
static void RemoveProductKey(HKEY root, const char *logText)
{
    if (RegDeleteKeyA(root, productKeyPath) == ERROR_SUCCESS)
        return;
    DeleteRegistryTree(productKeyPath, root);
    LogLine(logText);
}

static void RemoveProductKeys(void)
{
    RemoveProductKey(HKEY_CURRENT_USER, "Removing HKEY_CURRENT_USER registry entries");
    RemoveProductKey(HKEY_LOCAL_MACHINE, "Removing HKEY_LOCAL_MACHINE registry entries");
}

// Anything left in the directory keeps it; 1 when it is gone.
static int RemoveProgramDirectory(const char *directory)
{
    int removed = RemoveDirectoryA(directory) != 0;
    LogRemovalAttempt(directory, removed);
    return removed;
}

static void ReportSummary(HWND owner, const char *text, const char *caption)
{
    LogLine(text);
    if (!setupOptions.quiet)
        MessageBoxA(owner, text, caption, MB_ICONINFORMATION);
}

// 10010 when the directory went, else 10012 naming the directory to check.
static void ReportOutcome(HWND owner, int directoryRemoved, const char *directory,
                          const char *caption)
{
    char text[REMOVAL_TEXT_SIZE];
    char summary[REMOVAL_TEXT_SIZE];
    if (directoryRemoved) {
        LoadMessage(MSG_REMOVAL_COMPLETE, text, sizeof text);
        ReportSummary(owner, text, caption);
        return;
    }
    LoadMessage(MSG_REMOVAL_INCOMPLETE, text, sizeof text);
    if (!FormatInserts(summary, sizeof summary, text, directory))
        CopyText(summary, sizeof summary, text);
    ReportSummary(owner, summary, caption);
}

int RemoveInstallation(HWND owner)
{
    char caption[REMOVAL_TEXT_SIZE];
    char directory[TEXT_SIZE];
    char text[REMOVAL_TEXT_SIZE];
    LoadMessage(MSG_REMOVE_CAPTION, caption, sizeof caption);
    // Without a recorded directory there is nothing to go by: touch nothing.
    if (ReadRecordValue("DIR", "", directory) == 0) {
        LoadMessage(MSG_REMOVAL_NO_RECORD, text, sizeof text);
        ReportSummary(owner, text, caption);
        return 0;
    }
    FormatText(text, sizeof text, "\nRemoving installation of %s from %s", productName, directory);
    LogLine(text);
    RemovePayloadFiles(directory);
    int directoryRemoved = 0;
    // An empty recorded group leaves icons, group, keys and directory alone.
    if (AdoptRecordedGroup()) {
        RemoveProgramItems(directory);
        RemoveProductKeys();
        directoryRemoved = RemoveProgramDirectory(directory);
    }
    DeleteInstallationRecord();
    ReportOutcome(owner, directoryRemoved, directory, caption);
    return 0;
}
