// Message table access, insert formatting, the setup log and the pump.
// Every text operation here is bounded by its destination's capacity.
#include "setup/messages.h"
#include "setup/startup.h"
#include "files/files.h"
#include <stdarg.h>

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

// The platform's formatter stops at 1024 bytes; a longer text counts as cut.
int FormatText(char *destination, int capacity, const char *format, ...)
{
    if (capacity <= 0)
        return 0;
    char formatted[1025];
    formatted[1024] = 0;
    va_list args;
    va_start(args, format);
    int length = wvsprintfA(formatted, format, args);
    va_end(args);
    if (length < 0)
        return 0;
    return CopyText(destination, capacity, formatted) && length < 1024;
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
static int HasCarriageReturn(const char *text)
{
    for (; *text; text++)
        if (*text == '\r')
            return 1;
    return 0;
}

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
    if (!HasCarriageReturn(templ))
        CollapseLineBreaks(result);
    CopyText(destination, capacity, result);
    LocalFree(result);
    return 1;
}

// Writes text as a text-mode file would: every line feed becomes CR LF.
static void WriteTextMode(HANDLE file, const char *text)
{
    char chunk[512];
    int used = 0;
    DWORD written;
    for (;; text++) {
        if (*text == 0 || used >= (int)sizeof chunk - 2) {
            WriteFile(file, chunk, used, &written, NULL);
            used = 0;
            if (*text == 0)
                return;
        }
        if (*text == '\n')
            chunk[used++] = '\r';
        chunk[used++] = *text;
    }
}

void LogLine(const char *text)
{
    if (!loggingEnabled)
        return;
    HANDLE log = CreateFileA("setup.log", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (log == INVALID_HANDLE_VALUE) {
        loggingEnabled = 0;
        return;
    }
    SetFilePointer(log, 0, NULL, FILE_END);
    WriteTextMode(log, text);
    WriteTextMode(log, "\n");
    CloseHandle(log);
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
