// Wine's help viewer opens the generated lumtools.hlp: its window takes the
// file's title, and no error box appears, for the contents topic and for a
// topic opened by its context string.
#include <gtest/gtest.h>
#include <string>
#include "e2e/setup_process.h"
#include "robot/robot.h"

struct ViewerCase {
    const char *options;
};

static std::string CaptionStartingWith(DWORD processId, const char *start)
{
    HWND window = RobotFindProcessWindow(processId, NULL);
    for (int i = 0; i < 400 && window == NULL; i++) {
        Sleep(100);
        window = RobotFindProcessWindow(processId, NULL);
    }
    std::string caption = RobotCaption(window);
    for (int i = 0; i < 100 && caption.compare(0, lstrlenA(start), start) != 0; i++) {
        Sleep(100);
        caption = RobotCaption(RobotFindProcessWindow(processId, NULL));
    }
    return caption;
}

TEST(HelpViewer, OpensTheGeneratedHelpFileWithoutAnError)
{
    const ViewerCase cases[] = { { "" }, { "-i applet_ping " }, { "-i install_remove " } };
    std::string file = WindowsPath(BUILD_DIR "/generated/payload/lumtools.hlp");
    for (const ViewerCase &row : cases) {
        SCOPED_TRACE(std::string("options \"") + row.options + "\"");
        std::string commandLine = std::string("winhlp32.exe ") + row.options + "\"" + file + "\"";
        STARTUPINFOA startup = { sizeof startup };
        PROCESS_INFORMATION process;
        ASSERT_TRUE(CreateProcessA(NULL, &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                                   &process)) << "error " << GetLastError();
        std::string caption = CaptionStartingWith(process.dwProcessId, "Lumetra Help");
        EXPECT_EQ(caption.compare(0, 12, "Lumetra Help"), 0) << "caption \"" << caption << "\"";
        HWND errorBox = RobotWaitMessageBox(NULL, 2000, process.dwProcessId);
        if (errorBox != NULL) {
            RobotMessageBox box;
            RobotReadMessageBox(errorBox, &box);
            ADD_FAILURE() << "the viewer showed \"" << box.caption << "\": " << box.text;
        }
        TerminateProcess(process.hProcess, 0);
        WaitForSingleObject(process.hProcess, 10000);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
}
