// One run of setup. (The installation steps arrive step by step.)
#include "setup/sequence.h"
#include "setup/product.h"
#include "files/files.h"

int runInProgress;

int RunSetup(HWND window)
{
    SetWindowTextA(window, setupTitle);
    return 0;
}

void RunStartCommand(HWND window)
{
    runInProgress = 1;
    RunSetup(window);
    DeleteExtractedFiles();
    runInProgress = 0;
    PostMessageA(window, WM_CLOSE, 0, 0);
}
