// The numbered message table, insert formatting, the setup log and the
// message pump that keeps windows alive during long steps.
#ifndef LUMSETUP_MESSAGES_H
#define LUMSETUP_MESSAGES_H

#include <windows.h>

extern int loggingEnabled;

// Copies message `number` into buffer (capacity `size`); 1 from the table,
// 0 with a cut fallback text (or nothing at all when size is 0).
int LoadMessage(UINT number, char *buffer, int size);

// Fills %n!s! / %n!u! inserts of `templ` into destination, never writing more
// than `capacity` bytes: a result that does not fit is cut to capacity - 1
// characters. Returns 1 when a text was stored, 0 (destination untouched) otherwise.
int FormatInserts(char *destination, int capacity, const char *templ, ...);

// Appends text and a line end to "setup.log" in the current directory.
void LogLine(const char *text);

// Drains the thread's queue, feeding the progress dialog its keyboard messages.
void PumpMessages(void);

// Bounded text helpers: copy/append/format that always terminate and report
// whether the whole text fitted (1) or was cut (0).
int CopyText(char *destination, int capacity, const char *source);
int AppendText(char *destination, int capacity, const char *source);
int FormatText(char *destination, int capacity, const char *format, ...);

#endif
