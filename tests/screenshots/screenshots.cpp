// make screenshots: pictures of the main window and every dialog, for a
// person to look at. Runs setup.exe through an interactive installation
// (taking a picture at each step), then opens the remaining dialogs in this
// process. Writes NAME.bmp files into the directory named on the command line.
#include <windows.h>
#include <stdio.h>
#include <string>
#include "e2e/setup_process.h"
#include "e2e/machine.h"
#include "robot/robot.h"
#include "setup/startup.h"
#include "setup/product.h"
#include "setup/messages.h"
#include "dialogs/dialogs.h"
#include "files/files.h"
#include "resource.h"

static std::string outputDirectory;

static void Shot(const char *name)
{
    Sleep(700);  // let the window finish painting
    std::string path = outputDirectory + "\\" + name + ".bmp";
    printf("%s %s\n", SaveScreenshot(path.c_str()) ? "wrote" : "FAILED", path.c_str());
}

static void InteractiveInstallation(void)
{
    ResetMachine();
    CreateDirectoryA("C:\\shots", NULL);
    SetupProcess process;
    if (!StartSetup(&process, "", "C:\\shots"))
        return;
    HWND choice = ExpectDialog(&process, "Install");
    if (choice) {
        Shot("main_window_and_choice");
        RobotClick(choice, IDOK);
    }
    HWND prompt = ExpectDialog(&process, "PROGRAM files directory");
    if (prompt) {
        Shot("directory_prompt");
        RobotClick(prompt, IDC_BROWSE);
        HWND browser = ExpectDialog(&process, "Locate");
        if (browser) {
            Shot("browser_destination");
            RobotClick(browser, IDCANCEL);
            RobotWaitGone(browser);
        }
        RobotClick(prompt, IDOK);
    }
    HWND group = ExpectDialog(&process, "Program Manager Group");
    if (group) {
        Shot("group_dialog");
        RobotClick(group, IDOK);
    }
    HWND success = ExpectDialog(&process, "Congratulations!");
    if (success) {
        Shot("success_box");
        RobotPressMessageBoxButton(success, "OK");
    }
    WaitSetupExit(&process);
    for (const std::string &line : process.transcript)
        printf("  %s\n", line.c_str());
}

static void DiskPrompt(void)
{
    ResetMachine();
    CreateDirectoryA("C:\\Program Files", NULL);
    CreateDirectoryA("C:\\Program Files\\LumTools", NULL);
    CreateDirectoryA("C:\\Program Files\\LumTools\\lumtools.exe", NULL);
    SetupProcess process;
    if (!StartSetup(&process, "-installsi", "C:\\shots"))
        return;
    HWND disk = ExpectDialog(&process, "Change disk");
    if (disk) {
        Shot("disk_prompt");
        RobotPressMessageBoxButton(disk, "Cancel");
    }
    WaitSetupExit(&process);
    ResetMachine();
}

static void ProgressDialog(void)
{
    HWND dialog = CreateDialogParamA(appInstance, "DLG_COPY", NULL, CopyDialogProc, 0);
    if (dialog == NULL)
        return;
    SetDlgItemTextA(dialog, IDC_COPY_STATUS,
                    "Copying C:\\users\\root\\Temp\\lumtools.ex_ to C:\\Program Files\\LumTools\\lumtools.exe");
    for (int i = 0; i < 20; i++) {
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(30);
    }
    Shot("progress_dialog");
    DestroyWindow(dialog);
}

static void SourcePromptAndBrowser(void)
{
    CopyText(directoryDialogTitle, sizeof directoryDialogTitle, "SOURCE files directory");
    CopyText(browseFileName, sizeof browseFileName, "lumtools.exe");
    char answer[512] = "C:\\";
    RobotScript robot([] {
        HWND prompt = RobotWaitWindow("SOURCE files directory");
        if (!prompt)
            return;
        Shot("source_prompt");
        RobotClick(prompt, IDC_BROWSE);
        HWND browser = RobotWaitWindow("Locate");
        if (browser) {
            Shot("browser_source");
            RobotClick(browser, IDCANCEL);
            RobotWaitGone(browser);
        }
        RobotClick(prompt, IDCANCEL);
    });
    AskDirectory(NULL, appInstance, "Please locate source directory!", answer, answer);
    robot.Join();
}

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: screenshots OUTPUT_DIRECTORY\n");
        return 2;
    }
    outputDirectory = argv[1];
    appInstance = GetModuleHandleA(NULL);
    InitProductDescription(appInstance);
    InteractiveInstallation();
    DiskPrompt();
    ProgressDialog();
    SourcePromptAndBrowser();
    return 0;
}
