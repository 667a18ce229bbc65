// Payload extraction into this run's own temporary directory, and clean-up.
#include "files/files.h"

HWND progressDialog;
int copyCancelled;
char extractDirectory[MAX_PATH];

int DeleteExtractedFiles(void)
{
    return 0;
}
