// Message table access, insert formatting, the setup log and the pump.
// Every text operation here is bounded by its destination's capacity.
#include "setup/messages.h"
#include "setup/startup.h"
#include "files/files.h"
#include <stdarg.h>
#include <stdio.h>
#include <string.h>

int loggingEnabled = 1;

int CopyText(char *destination, int capacity, const char *source)
{
    if (capacity <= 0)
        return 0;
    int i = 0;
    for (; i < capacity - 1 && source[i]; i++)
        destination[i] = source[i];
    destination[i] = 0;
    return source[i] == 0;
}

int AppendText(char *destination, int capacity, const char *source)
{
    int used = lstrlenA(destination);
    if (used >= capacity)
        return 0;
    return CopyText(destination + used, capacity - used, source);
}

int FormatText(char *destination, int capacity, const char *format, ...)
{
    if (capacity <= 0)
        return 0;
    va_list args;
    va_start(args, format);
    int length = _vsnprintf(destination, capacity, format, args);
    va_end(args);
    destination[capacity - 1] = 0;
    return length >= 0 && length < capacity;
}

int LoadMessage(UINT number, char *buffer, int size)
{
    if (size <= 0)
        return 0;
    if (LoadStringA(appInstance, number, buffer, size) > 0)
        return 1;
    char fallback[2048];
    wsprintfA(fallback, "%u DEBUG - Unable to load string", number);
    // Pad with zeros like strncpy, then cut to size - 1 characters.
    int i = 0;
    for (; i < size && fallback[i]; i++)
        buffer[i] = fallback[i];
    for (; i < size; i++)
        buffer[i] = 0;
    buffer[size - 1] = 0;
    return 0;
}

// The platform writes each line feed of a template as CR LF. The templates
// hold bare line feeds, and the log's text mode adds the CR itself, so give
// the template's own line feeds back.
static void CollapseLineBreaks(char *text)
{
    char *to = text;
    for (const char *from = text; *from; from++) {
        if (from[0] == '\r' && from[1] == '\n')
            continue;
        *to++ = *from;
    }
    *to = 0;
}

int FormatInserts(char *destination, int capacity, const char *templ, ...)
{
    if (capacity <= 0)
        return 0;
    char *result = NULL;
    va_list args;
    va_start(args, templ);
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER,
                                  templ, 0, 0, (LPSTR)&result, 0, &args);
    va_end(args);
    if (length == 0 || result == NULL)
        return 0;
    if (strchr(templ, '\r') == NULL)
        CollapseLineBreaks(result);
    CopyText(destination, capacity, result);
    LocalFree(result);
    return 1;
}

void LogLine(const char *text)
{
    if (!loggingEnabled)
        return;
    FILE *log = fopen("setup.log", "a");
    if (log == NULL) {
        loggingEnabled = 0;
        return;
    }
    fputs(text, log);
    fputs("\n", log);
    fclose(log);
}

void PumpMessages(void)
{
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
        if (progressDialog != NULL && IsDialogMessageA(progressDialog, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
