// The directory prompt, its browser (the system's older file-open dialog
// under our templates) and the program directory loop, driven by the robot
// as a person would: texts read from the windows, outcomes checked on disk
// and in "setup.log".
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "dialogs/dialogs.h"
#include "setup/messages.h"
#include "setup/product.h"
#include "setup/startup.h"
#include "resource.h"
#include "robot/robot.h"
#include "test_files.h"

namespace {

const char workDirectory[] = "C:\\dirstest";
const char browserCaption[] = "Locate";
const char sourceFixedText[] = "Please help me locate the source files directory!";
const char programCaption[] = "PROGRAM files directory";

enum { DIRECTORY_LIST = 1121, CURRENT_DIRECTORY = 1088, DRIVE_LIST = 1137, HELP_BUTTON = 1038,
       FILE_NAME = 1152 };

std::string Lower(std::string text)
{
    CharLowerBuffA(&text[0], (DWORD)text.size());
    return text;
}

// What a caller of AskDirectory sets up, and what the robot saw.
struct PromptView {
    std::string caption, prompt, field;
    RECT rect;
};

PromptView ReadPrompt(HWND prompt)
{
    PromptView view;
    view.caption = RobotCaption(prompt);
    view.prompt = RobotText(prompt, IDC_PROMPT);
    view.field = RobotText(prompt, IDC_DIRECTORY);
    view.rect = RobotWindowRect(prompt);
    return view;
}

class DirectoryDialogTest : public testing::Test {
protected:
    HWND owner = NULL;

    void SetUp() override
    {
        CreateDirectoryA(workDirectory, NULL);
        ASSERT_TRUE(SetCurrentDirectoryA(workDirectory)) << "last error " << GetLastError();
        DeleteFileA("setup.log");
        owner = CreateWindowExA(0, "STATIC", "Lumetra Install", WS_POPUP | WS_VISIBLE, 0, 0, 40,
                                40, NULL, NULL, appInstance, NULL);
        ASSERT_NE(owner, (HWND)NULL);
        directoryDialogTitle[0] = 0;
        CopyText(browseFileName, sizeof browseFileName, "a");
    }

    void TearDown() override
    {
        // The browser moves the current directory; the log must not follow it.
        SetCurrentDirectoryA(workDirectory);
        DeleteFileA("setup.log");
        DestroyWindow(owner);
    }

    int Ask(const char *prompt, const char *initial, char *result)
    {
        return AskDirectory(owner, appInstance, prompt, initial, result);
    }
};

// Opens the browser from the prompt and returns it (NULL on time-out).
HWND OpenBrowser(HWND prompt)
{
    RobotClick(prompt, IDC_BROWSE);
    return RobotWaitWindow(browserCaption);
}

// Presses a browser button and waits until the browser has gone.
void CloseBrowser(HWND browser, int button)
{
    RobotClick(browser, button);
    EXPECT_TRUE(RobotWaitGone(browser)) << "the browser stayed open";
}

TEST_F(DirectoryDialogTest, PromptOpensCentredWithTheCallersTexts)
{
    struct Row {
        const char *title;
        const char *expectedCaption;
    } rows[] = {
        { "Caller Caption", "Caller Caption" },
        { "", "Locate Directory" },  // an empty title keeps the template's
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.expectedCaption);
        CopyText(directoryDialogTitle, sizeof directoryDialogTitle, row.title);
        char buffer[PATH_SIZE] = "C:\\Initial Dir";
        PromptView view;
        std::vector<std::string> stray;
        int result = RobotDrive([&] { return Ask("Where shall it go?", buffer, buffer); }, [&] {
            HWND prompt = RobotWaitWindow(row.expectedCaption);
            ASSERT_NE(prompt, (HWND)NULL) << "no prompt captioned " << row.expectedCaption;
            view = ReadPrompt(prompt);
            RobotType(prompt, IDC_DIRECTORY, "D:\\Edited");
            RobotClick(prompt, IDOK);
        }, &stray);
        EXPECT_EQ(result, 1);
        EXPECT_STREQ(buffer, "D:\\Edited");
        EXPECT_EQ(view.prompt, "Where shall it go?");
        EXPECT_EQ(view.field, "C:\\Initial Dir");
        RECT desktop = RobotWindowRect(GetDesktopWindow());
        int x = 0, y = 0;
        ComputeCenteredPosition(&view.rect, &desktop, 0, &x, &y);
        EXPECT_EQ(view.rect.left, x) << "not centred across";
        EXPECT_EQ(view.rect.top, y) << "not centred down";
        EXPECT_TRUE(stray.empty()) << stray[0];
    }
}

TEST_F(DirectoryDialogTest, OkAndEnterConfirmWhileCancelEscapeAndCloseBoxLeaveTheResult)
{
    struct Row {
        const char *how;
        int expectedResult;
        const char *expectedText;
    } rows[] = {
        { "Ok button", 1, "C:\\After" },
        { "Enter", 1, "C:\\After" },
        { "Cancel button", 0, "untouched" },
        { "Escape", 0, "untouched" },
        { "close box", 0, "untouched" },
    };
    CopyText(directoryDialogTitle, sizeof directoryDialogTitle, "Ending Case");
    for (const Row &row : rows) {
        SCOPED_TRACE(row.how);
        char result[PATH_SIZE] = "untouched";
        int answer = RobotDrive([&] { return Ask("Prompt", "C:\\Before", result); }, [&] {
            HWND prompt = RobotWaitWindow("Ending Case");
            ASSERT_NE(prompt, (HWND)NULL);
            RobotType(prompt, IDC_DIRECTORY, "C:\\After");
            std::string how = row.how;
            if (how == "Ok button")
                RobotClick(prompt, IDOK);
            else if (how == "Enter")
                RobotPressEnter(prompt);
            else if (how == "Cancel button")
                RobotClick(prompt, IDCANCEL);
            else if (how == "Escape")
                RobotPressEscape(prompt);
            else
                RobotCloseBox(prompt);
        });
        EXPECT_EQ(answer, row.expectedResult);
        EXPECT_STREQ(result, row.expectedText);
    }
}

TEST_F(DirectoryDialogTest, OverlongEditTextIsConfirmedAsItsFirst511Characters)
{
    CopyText(directoryDialogTitle, sizeof directoryDialogTitle, "Long Case");
    std::string typed;
    for (int i = 0; i < 600; i++)
        typed += (char)('a' + i % 26);
    struct {
        char result[PATH_SIZE];
        char guard[16];
    } area;
    memset(&area, '#', sizeof area);
    int answer = RobotDrive([&] { return Ask("Prompt", "", area.result); }, [&] {
        HWND prompt = RobotWaitWindow("Long Case");
        ASSERT_NE(prompt, (HWND)NULL);
        RobotSetText(prompt, IDC_DIRECTORY, typed.c_str());
        RobotClick(prompt, IDOK);
    });
    EXPECT_EQ(answer, 1);
    EXPECT_EQ(std::string(area.result), typed.substr(0, 511));
    EXPECT_EQ(std::string(area.guard, sizeof area.guard), std::string(sizeof area.guard, '#'))
        << "written past the 512-byte result";
}

// The browser's template follows the file name it pre-selects; Cancel in it
// leaves the prompt's field alone.
TEST_F(DirectoryDialogTest, BrowserFormFollowsTheFileNameAndCancelKeepsTheField)
{
    struct Row {
        const char *fileName;
        bool sourceForm;
    } rows[] = {
        { "lumtools.exe", true },
        { "LUMTOOLS.EXE", true },
        { "LumTools.Exe", true },
        { "a", false },
        { "lumtools.ex_", false },
    };
    CreateDirectoryA("C:\\dirsbrowse", NULL);
    CopyText(directoryDialogTitle, sizeof directoryDialogTitle, "Browse Case");
    for (const Row &row : rows) {
        SCOPED_TRACE(row.fileName);
        CopyText(browseFileName, sizeof browseFileName, row.fileName);
        char buffer[PATH_SIZE] = "C:\\dirsbrowse";
        std::vector<std::string> stray;
        int answer = RobotDrive([&] { return Ask("Pick a folder for the test", buffer, buffer); },
                                [&] {
            HWND prompt = RobotWaitWindow("Browse Case");
            ASSERT_NE(prompt, (HWND)NULL);
            HWND browser = OpenBrowser(prompt);
            ASSERT_NE(browser, (HWND)NULL) << "no browser";
            EXPECT_EQ(RobotHasText(browser, sourceFixedText), row.sourceForm);
            if (row.sourceForm)
                EXPECT_EQ(GetDlgItem(browser, IDC_BROWSE_PROMPT), (HWND)NULL);
            else
                EXPECT_EQ(RobotText(browser, IDC_BROWSE_PROMPT), "Pick a folder for the test");
            EXPECT_EQ(Lower(RobotText(browser, FILE_NAME)), Lower(row.fileName));
            EXPECT_EQ(Lower(RobotText(browser, CURRENT_DIRECTORY)), "c:\\dirsbrowse");
            EXPECT_FALSE(RobotVisible(browser, HELP_BUTTON));
            CloseBrowser(browser, IDCANCEL);
            RobotClick(prompt, IDOK);
        }, &stray);
        EXPECT_EQ(answer, 1);
        EXPECT_STREQ(buffer, "C:\\dirsbrowse");
        EXPECT_TRUE(stray.empty()) << stray[0];
        SetCurrentDirectoryA(workDirectory);
    }
    RemoveDirectoryA("C:\\dirsbrowse");
}

// Walks the browser from C:\dirswalk with the directory list and the drive
// list; OK hands the directory shown back into the prompt's field.
TEST_F(DirectoryDialogTest, BrowserOkPutsTheDirectoryShownIntoTheField)
{
    CreateDirectoryA("C:\\dirswalk", NULL);
    CreateDirectoryA("C:\\dirswalk\\inner", NULL);
    struct Row {
        const char *walk;
        const char *expected;
    } rows[] = {
        { "into [inner]", "C:\\dirswalk\\inner" },
        { "up [..] to the root", "C:" },
        // The drive list names drives in lower case, and so does the result.
        { "drive list to z", "z:" },
    };
    CopyText(directoryDialogTitle, sizeof directoryDialogTitle, "Walk Case");
    for (const Row &row : rows) {
        SCOPED_TRACE(row.walk);
        char buffer[PATH_SIZE] = "C:\\dirswalk";
        std::string shown;
        int answer = RobotDrive([&] { return Ask("Walk", buffer, buffer); }, [&] {
            HWND prompt = RobotWaitWindow("Walk Case");
            ASSERT_NE(prompt, (HWND)NULL);
            HWND browser = OpenBrowser(prompt);
            ASSERT_NE(browser, (HWND)NULL);
            std::string before = RobotText(browser, CURRENT_DIRECTORY);
            std::string walk = row.walk;
            bool walked;
            if (walk == "into [inner]")
                walked = RobotDoubleClickList(browser, DIRECTORY_LIST, "[inner]");
            else if (walk == "up [..] to the root")
                walked = RobotDoubleClickList(browser, DIRECTORY_LIST, "[..]");
            else
                // Only the list's closing is told: the hook turns it into the
                // selection change the dialog acts on.
                walked = RobotPickDropList(browser, DRIVE_LIST, "[-z-]", true);
            EXPECT_TRUE(walked) << "entries: " << RobotListItems(browser, DIRECTORY_LIST).size();
            // The dialog shows the directory it moved to.
            DWORD start = GetTickCount();
            while (RobotText(browser, CURRENT_DIRECTORY) == before &&
                   GetTickCount() - start < 20000)
                Sleep(50);
            shown = RobotText(browser, CURRENT_DIRECTORY);
            CloseBrowser(browser, IDOK);
            RobotClick(prompt, IDOK);
        });
        EXPECT_EQ(answer, 1);
        EXPECT_STREQ(buffer, row.expected) << "the browser showed " << shown;
        SetCurrentDirectoryA(workDirectory);
    }
    DeleteTree("C:\\dirswalk");
}

class ProgramDirectoryTest : public DirectoryDialogTest {};

TEST_F(ProgramDirectoryTest, CreatableProposalIsCreatedAfterOnePrompt)
{
    DeleteTree("C:\\dirsprog");
    char directory[PATH_SIZE] = "C:\\dirsprog\\new\\deep";
    PromptView view;
    std::vector<std::string> stray;
    int answer = RobotDrive([&] { return AskProgramDirectory(appInstance, owner, directory); },
                            [&] {
        HWND prompt = RobotWaitWindow(programCaption);
        ASSERT_NE(prompt, (HWND)NULL);
        view = ReadPrompt(prompt);
        RobotClick(prompt, IDOK);
    }, &stray);
    EXPECT_EQ(answer, 1);
    EXPECT_STREQ(directory, "C:\\dirsprog\\new\\deep");
    EXPECT_TRUE(DirectoryExists(directory)) << "not created";
    EXPECT_EQ(view.prompt, "Please enter the destination directory:");
    EXPECT_EQ(view.field, "C:\\dirsprog\\new\\deep");
    EXPECT_STREQ(browseFileName, "a");
    EXPECT_TRUE(stray.empty()) << "a second window: " << stray[0];
    EXPECT_EQ(ReadFileBytes("setup.log"), "");
    DeleteTree("C:\\dirsprog");
}

// What the robot saw of one message box.
struct BoxSeen {
    bool shown = false;
    std::string text;
    HWND owner = NULL;
    HICON icon = NULL;
};

BoxSeen AnswerBox(const char *caption)
{
    BoxSeen seen;
    HWND window = RobotWaitMessageBox(caption);
    if (window == NULL)
        return seen;
    RobotMessageBox box;
    RobotReadMessageBox(window, &box);
    seen.shown = true;
    seen.text = box.text;
    seen.owner = GetWindow(window, GW_OWNER);
    seen.icon = box.icon;
    RobotPressMessageBoxButton(window, "OK");
    RobotWaitGone(window);
    return seen;
}

TEST_F(ProgramDirectoryTest, UncreatableAnswerIsReportedAndAskedAgainUntilCancel)
{
    // A file where the parent directory should be: the last level cannot be made.
    ASSERT_TRUE(WriteFileBytes("C:\\dirsfile.txt", "")) << "last error " << GetLastError();
    const char *answerText = "C:\\dirsfile.txt\\sub";
    char directory[PATH_SIZE] = "C:\\dirsprog";
    BoxSeen creationBox, failureBox;
    PromptView again;
    std::vector<std::string> stray;
    int answer = RobotDrive([&] { return AskProgramDirectory(appInstance, owner, directory); },
                            [&] {
        HWND prompt = RobotWaitWindow(programCaption);
        ASSERT_NE(prompt, (HWND)NULL);
        RobotType(prompt, IDC_DIRECTORY, answerText);
        RobotClick(prompt, IDOK);
        ASSERT_TRUE(RobotWaitGone(prompt));
        creationBox = AnswerBox("Install");
        failureBox = AnswerBox("Orvanta");
        HWND second = RobotWaitWindow(programCaption);
        ASSERT_NE(second, (HWND)NULL) << "the prompt did not come back";
        again = ReadPrompt(second);
        RobotClick(second, IDCANCEL);
    }, &stray);
    EXPECT_EQ(answer, 0);
    EXPECT_STREQ(directory, answerText) << "the failed answer stays with the caller";
    EXPECT_TRUE(creationBox.shown) << "no box from the directory creation";
    EXPECT_EQ(creationBox.text.rfind("Creation of C:\\dirsfile.txt\\sub failed.", 0), 0u)
        << creationBox.text;
    EXPECT_TRUE(failureBox.shown) << "no Orvanta box";
    EXPECT_EQ(failureBox.text, "Failed to create requested directory!");
    EXPECT_EQ(failureBox.owner, owner);
    EXPECT_EQ(failureBox.icon, LoadIconA(NULL, IDI_HAND));
    EXPECT_EQ(again.field, answerText);
    EXPECT_EQ(ReadFileBytes("setup.log"), "Failed to create requested directory!\r\n");
    EXPECT_TRUE(stray.empty()) << stray[0];
    EXPECT_FALSE(PathExists("C:\\dirsprog"));
    DeleteFileA("C:\\dirsfile.txt");
}

// A program directory must leave room for a backslash and the longest file
// name within what the copy can open; a longer one is refused before
// anything exists.
TEST_F(ProgramDirectoryTest, DirectoryTooLongForTheFilesIsRefusedBeforeCreation)
{
    const int longest = INSTALLED_PATH_LIMIT - 1 - LongestDestNameLength();
    const std::string parent = "C:\\dirslong";
    struct Row {
        int length;
        bool accepted;
    } rows[] = { { longest, true }, { longest + 1, false } };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.length);
        DeleteTree(parent);
        DeleteFileA("setup.log");
        std::string path = parent + "\\" + std::string(row.length - parent.size() - 1, 'd');
        char directory[PATH_SIZE];
        CopyText(directory, sizeof directory, path.c_str());
        BoxSeen failureBox;
        PromptView again;
        std::vector<std::string> stray;
        int answer = RobotDrive([&] { return AskProgramDirectory(appInstance, owner, directory); },
                                [&] {
            HWND prompt = RobotWaitWindow(programCaption);
            ASSERT_NE(prompt, (HWND)NULL);
            RobotClick(prompt, IDOK);
            if (row.accepted)
                return;
            ASSERT_TRUE(RobotWaitGone(prompt));
            failureBox = AnswerBox("Orvanta");
            HWND second = RobotWaitWindow(programCaption);
            ASSERT_NE(second, (HWND)NULL) << "the prompt did not come back";
            again = ReadPrompt(second);
            RobotClick(second, IDCANCEL);
        }, &stray);
        EXPECT_EQ(answer, row.accepted ? 1 : 0);
        EXPECT_STREQ(directory, path.c_str());
        EXPECT_EQ(DirectoryExists(path), row.accepted);
        EXPECT_TRUE(stray.empty()) << stray[0];
        if (!row.accepted) {
            EXPECT_FALSE(PathExists(parent)) << "a part of the refused path was created";
            EXPECT_TRUE(failureBox.shown);
            EXPECT_EQ(failureBox.text, "Failed to create requested directory!");
            EXPECT_EQ(again.field, path);
            EXPECT_EQ(ReadFileBytes("setup.log"), "Failed to create requested directory!\r\n");
        }
    }
    DeleteTree(parent);
}

// Without its template the prompt cannot open (-1): the proposal is taken as
// it stands, and a failure ends the loop instead of asking for ever.
TEST_F(ProgramDirectoryTest, PromptThatCannotOpenTakesTheProposalOnce)
{
    HINSTANCE noTemplates = GetModuleHandleA("kernel32.dll");
    DeleteTree("C:\\dirsprog");
    char creatable[PATH_SIZE] = "C:\\dirsprog\\quiet";
    std::vector<std::string> stray;
    int answer = RobotDrive([&] { return AskProgramDirectory(noTemplates, owner, creatable); },
                            [] {}, &stray);
    EXPECT_EQ(answer, 1);
    EXPECT_TRUE(DirectoryExists(creatable));
    EXPECT_TRUE(stray.empty()) << stray[0];

    WriteFileBytes("C:\\dirsfile.txt", "");
    char failing[PATH_SIZE] = "C:\\dirsfile.txt\\sub";
    BoxSeen creationBox, failureBox;
    answer = RobotDrive([&] { return AskProgramDirectory(noTemplates, owner, failing); }, [&] {
        creationBox = AnswerBox("Install");
        failureBox = AnswerBox("Orvanta");
    }, &stray);
    EXPECT_EQ(answer, 0);
    EXPECT_TRUE(creationBox.shown);
    EXPECT_TRUE(failureBox.shown);
    EXPECT_TRUE(stray.empty()) << stray[0];
    DeleteFileA("C:\\dirsfile.txt");
    DeleteTree("C:\\dirsprog");
}

// Not a check: writes pictures of the prompt and both browser forms for the
// documentation. Run with --gtest_also_run_disabled_tests; the pictures go to
// the directory named by LUMSETUP_SCREENSHOT_DIR (default: the current one).
TEST_F(DirectoryDialogTest, DISABLED_ScreenshotsOfThePromptAndBothBrowserForms)
{
    struct Row {
        const char *fileName;
        const char *caption;
        const char *prompt;
        const char *browserImage;
    } rows[] = {
        { "a", "PROGRAM files directory", "Please enter the destination directory:",
          "browse.bmp" },
        { "lumtools.exe", "SOURCE files directory", "Please locate source directory!",
          "getsrcdir.bmp" },
    };
    // Painted now, frame included, so the picture is complete.
    const UINT fullRedraw = RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW;
    for (const Row &row : rows) {
        CopyText(directoryDialogTitle, sizeof directoryDialogTitle, row.caption);
        CopyText(browseFileName, sizeof browseFileName, row.fileName);
        char buffer[PATH_SIZE] = "C:\\Program Files";
        // Taken before the browser moves the current directory.
        const std::string promptPicture = ScreenshotPath("getdir.bmp");
        const std::string browserPicture = ScreenshotPath(row.browserImage);
        RobotDrive([&] { return Ask(row.prompt, buffer, buffer); }, [&] {
            HWND prompt = RobotWaitWindow(row.caption);
            ASSERT_NE(prompt, (HWND)NULL);
            RedrawWindow(prompt, NULL, NULL, fullRedraw);
            if (lstrcmpA(row.fileName, "a") == 0)
                EXPECT_TRUE(RobotSaveWindowImage(prompt, promptPicture.c_str()));
            HWND browser = OpenBrowser(prompt);
            ASSERT_NE(browser, (HWND)NULL);
            RedrawWindow(browser, NULL, NULL, fullRedraw);
            EXPECT_TRUE(RobotSaveWindowImage(browser, browserPicture.c_str()));
            CloseBrowser(browser, IDCANCEL);
            RobotClick(prompt, IDCANCEL);
        });
        SetCurrentDirectoryA(workDirectory);
    }
}

}  // namespace
