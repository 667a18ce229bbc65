// The installation record: the win.ini section named after the product, which
// tells later runs where and under which group the product was installed,
// and the settings values prepared for the installed program.
#include "setup/record.h"
#include "setup/messages.h"
#include "setup/product.h"

const char settingsKeyPath[] = "Software\\Veltrane\\LumTools\\Settings";
const char productKeyPath[] = "Software\\Veltrane\\LumTools";

int ReadRecordValue(const char *key, const char *defaultText, char *buffer)
{
    // The default is copied first: callers pass the buffer they read into.
    char fallback[TEXT_SIZE];
    CopyText(fallback, sizeof fallback, defaultText);
    return (int)GetProfileStringA(productName, key, fallback, buffer, TEXT_SIZE);
}

static void SetDwordValue(HKEY key, const char *name, DWORD value)
{
    RegSetValueExA(key, name, 0, REG_DWORD, (const BYTE *)&value, sizeof value);
}

// A value of 2 to 4 bytes is the installed program's own and is kept; the
// query fails for longer ones.
static int RawSockIsKept(HKEY key)
{
    BYTE data[4];
    DWORD type = 0;
    DWORD size = sizeof data;
    if (RegQueryValueExA(key, "RawSock", NULL, &type, data, &size) != ERROR_SUCCESS)
        return 0;
    return size >= 2;
}

void WriteSettingsValues(void)
{
    HKEY key;
    // Without rights to HKEY_LOCAL_MACHINE the installation goes on without them.
    if (RegCreateKeyA(HKEY_LOCAL_MACHINE, settingsKeyPath, &key) != ERROR_SUCCESS)
        return;
    SetDwordValue(key, "Applets", appletsMask);
    if (!RawSockIsKept(key))
        SetDwordValue(key, "RawSock", 0);
    RegCloseKey(key);
}

void WriteInstallationRecord(const char *programDirectory, const char *dataDirectory,
                             const char *group)
{
    char options[16];
    FormatText(options, sizeof options, "%u", 1u);
    WriteProfileStringA(productName, "DIR", programDirectory);
    WriteProfileStringA(productName, "DEFDIR", dataDirectory);
    WriteProfileStringA(productName, "GROUP", group);
    WriteProfileStringA(productName, "INSTOPTS", options);
}

void DeleteInstallationRecord(void)
{
    WriteProfileStringA(productName, NULL, NULL);
}
