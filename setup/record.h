// The installation record: the win.ini section [Lumetra] and the settings
// values under HKEY_LOCAL_MACHINE\Software\Veltrane\LumTools\Settings.
#ifndef LUMSETUP_RECORD_H
#define LUMSETUP_RECORD_H

#include <windows.h>

extern const char settingsKeyPath[];  // "Software\Veltrane\LumTools\Settings"
extern const char productKeyPath[];   // "Software\Veltrane\LumTools"

// Reads key of [Lumetra] with a default into a 256-byte buffer; returns the count.
int ReadRecordValue(const char *key, const char *defaultText, char *buffer);

// Applets = appletsMask; RawSock = 0 unless it already holds 2 to 4 bytes.
void WriteSettingsValues(void);

// DIR, DEFDIR, GROUP, INSTOPTS in that order.
void WriteInstallationRecord(const char *programDirectory, const char *dataDirectory,
                             const char *group);

void DeleteInstallationRecord(void);

#endif
