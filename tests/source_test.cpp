// The source check: where the primary payload file is looked for, when the
// source prompt appears and what it holds, and what the caller gets back.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "dialogs/dialogs.h"
#include "files/files.h"
#include "setup/messages.h"
#include "setup/product.h"
#include "setup/startup.h"
#include "resource.h"
#include "robot/robot.h"
#include "test_files.h"

namespace {

const char sourceCaption[] = "SOURCE files directory";
const char workDirectory[] = "C:\\srctest";

void MakeFile(const std::string &path)
{
    ASSERT_TRUE(WriteFileBytes(path, "MZ")) << path << " last error " << GetLastError();
}

struct PromptView {
    std::string prompt, field, browseName;
};

PromptView ReadPrompt(HWND prompt)
{
    PromptView view;
    view.prompt = RobotText(prompt, IDC_PROMPT);
    view.field = RobotText(prompt, IDC_DIRECTORY);
    view.browseName = browseFileName;
    return view;
}

// Source directories: plain file only, compressed file only, a short one, an
// empty one, and the working directory of the test.
class SourceTest : public testing::Test {
protected:
    HWND owner = NULL;
    const char *primary = payloadTable[0].sourceName;

    void SetUp() override
    {
        TearDownDirectories();
        CreateDirectoryA(workDirectory, NULL);
        CreateDirectoryA("C:\\srcplain", NULL);
        MakeFile(std::string("C:\\srcplain\\") + primary);
        CreateDirectoryA("C:\\srccomp", NULL);
        MakeFile("C:\\srccomp\\lumtools.ex_");
        CreateDirectoryA("C:\\s1", NULL);
        MakeFile(std::string("C:\\s1\\") + primary);
        CreateDirectoryA("C:\\srcnone", NULL);
        ASSERT_TRUE(SetCurrentDirectoryA(workDirectory));
        owner = CreateWindowExA(0, "STATIC", "Lumetra Install", WS_POPUP | WS_VISIBLE, 0, 0, 40,
                                40, NULL, NULL, appInstance, NULL);
        directoryDialogTitle[0] = 0;
        browseFileName[0] = 0;
        setupOptions.quiet = 0;
    }

    void TearDown() override
    {
        setupOptions.quiet = 0;
        DestroyWindow(owner);
        SetCurrentDirectoryA("C:\\");
        TearDownDirectories();
    }

    static void TearDownDirectories()
    {
        const char *directories[] = { workDirectory, "C:\\srcplain", "C:\\srccomp", "C:\\s1",
                                      "C:\\srcnone" };
        for (const char *directory : directories)
            DeleteTree(directory);
    }

    int Locate(char *directory)
    {
        return LocateSource(appInstance, owner, directory, primary);
    }
};

TEST_F(SourceTest, FileFoundAtOnceReturnsItsDirectoryWithABackslash)
{
    struct Row {
        const char *given;
        const char *currentDirectory;
        const char *expected;
    } rows[] = {
        { "C:\\srcplain", workDirectory, "C:\\srcplain\\" },
        { "C:\\srcplain\\", workDirectory, "C:\\srcplain\\" },
        { "C:\\srccomp", workDirectory, "C:\\srccomp\\" },      // only lumtools.ex_
        { "", "C:\\srccomp", "" },  // empty: the compressed name in the current directory
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string("given \"") + row.given + "\" in " + row.currentDirectory);
        ASSERT_TRUE(SetCurrentDirectoryA(row.currentDirectory));
        directoryDialogTitle[0] = 0;
        char directory[PATH_SIZE];
        CopyText(directory, sizeof directory, row.given);
        std::vector<std::string> stray;
        int result = RobotDrive([&] { return Locate(directory); }, [] {}, &stray);
        EXPECT_EQ(result, 1);
        EXPECT_STREQ(directory, row.expected);
        EXPECT_TRUE(stray.empty()) << "unexpected " << stray[0];
        // The caption is set even when no prompt follows.
        EXPECT_STREQ(directoryDialogTitle, sourceCaption);
    }
}

TEST_F(SourceTest, WrongAnswerBringsThePromptBackUntilTheFileIsFound)
{
    char directory[PATH_SIZE] = "C:\\srcnone";
    PromptView first, second;
    std::vector<std::string> stray;
    int result = RobotDrive([&] { return Locate(directory); }, [&] {
        HWND prompt = RobotWaitWindow(sourceCaption);
        ASSERT_NE(prompt, (HWND)NULL) << "no source prompt";
        first = ReadPrompt(prompt);
        RobotType(prompt, IDC_DIRECTORY, "C:\\srcnone\\not here");
        RobotClick(prompt, IDOK);
        ASSERT_TRUE(RobotWaitGone(prompt));
        prompt = RobotWaitWindow(sourceCaption);
        ASSERT_NE(prompt, (HWND)NULL) << "the prompt did not come back";
        second = ReadPrompt(prompt);
        // Shorter than the first directory and typed without a backslash.
        RobotType(prompt, IDC_DIRECTORY, "C:\\s1");
        RobotClick(prompt, IDOK);
    }, &stray);
    EXPECT_EQ(result, 1);
    EXPECT_STREQ(directory, "C:\\s1\\");
    EXPECT_EQ(first.prompt, "Please locate source directory!");
    EXPECT_EQ(first.field, "C:\\srcnone\\");
    EXPECT_EQ(first.browseName, primary);
    EXPECT_EQ(second.field, "C:\\srcnone\\not here\\");
    EXPECT_TRUE(stray.empty()) << stray[0];
}

TEST_F(SourceTest, CancelledPromptLeavesTheCallersDirectory)
{
    struct Row {
        const char *how;
        int quiet;
    } rows[] = {
        { "Cancel", 0 },
        { "Escape", 0 },
        { "Cancel in quiet mode", 1 },  // the source prompt shows all the same
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.how);
        setupOptions.quiet = row.quiet;
        char directory[PATH_SIZE] = "C:\\srcnone";
        std::vector<std::string> stray;
        int result = RobotDrive([&] { return Locate(directory); }, [&] {
            HWND prompt = RobotWaitWindow(sourceCaption);
            ASSERT_NE(prompt, (HWND)NULL) << "no source prompt";
            RobotType(prompt, IDC_DIRECTORY, "C:\\somewhere else");
            if (std::string(row.how) == "Escape")
                RobotPressEscape(prompt);
            else
                RobotClick(prompt, IDCANCEL);
        }, &stray);
        EXPECT_EQ(result, 0);
        EXPECT_STREQ(directory, "C:\\srcnone");
        EXPECT_TRUE(stray.empty()) << stray[0];
    }
}

// An empty directory is never searched for the plain name; an empty answer
// is searched for the compressed name in the current directory.
TEST_F(SourceTest, EmptyDirectoryLooksOnlyForTheCompressedName)
{
    ASSERT_TRUE(SetCurrentDirectoryA("C:\\srcplain"));  // holds only the plain name
    char directory[PATH_SIZE] = "";
    PromptView shown;
    int result = RobotDrive([&] { return Locate(directory); }, [&] {
        HWND prompt = RobotWaitWindow(sourceCaption);
        ASSERT_NE(prompt, (HWND)NULL) << "the plain name was taken for an empty directory";
        shown = ReadPrompt(prompt);
        RobotClick(prompt, IDCANCEL);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(shown.field, "");

    ASSERT_TRUE(SetCurrentDirectoryA("C:\\srccomp"));
    CopyText(directory, sizeof directory, "C:\\srcnone");
    std::vector<std::string> stray;
    result = RobotDrive([&] { return Locate(directory); }, [&] {
        HWND prompt = RobotWaitWindow(sourceCaption);
        ASSERT_NE(prompt, (HWND)NULL);
        RobotSetText(prompt, IDC_DIRECTORY, "");
        RobotClick(prompt, IDOK);
    }, &stray);
    EXPECT_EQ(result, 1);
    EXPECT_STREQ(directory, "");
    EXPECT_TRUE(stray.empty()) << stray[0];
}

// Answers that leave no room in the 512-character working path for a
// backslash and the file name are not shortened into another path: they fail
// and come back in the prompt as typed (plus the backslash when it fits).
TEST_F(SourceTest, AnswerTooLongForTheWorkingPathBringsThePromptBack)
{
    std::string full = "C:\\srcplain\\" + std::string(511 - 12, 'x');  // 511 characters
    std::string roomy = full.substr(0, 505);  // fits a backslash, not the name
    char directory[PATH_SIZE] = "C:\\srcnone";
    const std::string answers[] = { full, roomy };
    PromptView after[2];
    std::vector<std::string> stray;
    int result = RobotDrive([&] { return Locate(directory); }, [&] {
        HWND prompt = RobotWaitWindow(sourceCaption);
        ASSERT_NE(prompt, (HWND)NULL);
        for (int i = 0; i < 2; i++) {
            RobotSetText(prompt, IDC_DIRECTORY, answers[i].c_str());
            RobotClick(prompt, IDOK);
            ASSERT_TRUE(RobotWaitGone(prompt));
            prompt = RobotWaitWindow(sourceCaption);
            ASSERT_NE(prompt, (HWND)NULL)
                << "no prompt after the " << answers[i].size() << "-character answer";
            after[i] = ReadPrompt(prompt);
        }
        RobotClick(prompt, IDCANCEL);
    }, &stray);
    EXPECT_EQ(result, 0);
    EXPECT_STREQ(directory, "C:\\srcnone");
    EXPECT_EQ(after[0].field, full);
    EXPECT_EQ(after[1].field, roomy + "\\");
    EXPECT_TRUE(stray.empty()) << stray[0];
}

// Without its template the prompt cannot open (-1). Asking again would give
// the same answer for ever, so the check gives up.
struct LocateCall {
    HINSTANCE instance;
    char directory[PATH_SIZE];
    const char *primary;
    int result;
};

DWORD WINAPI LocateOnThread(LPVOID param)
{
    LocateCall *call = (LocateCall *)param;
    call->result = LocateSource(call->instance, NULL, call->directory, call->primary);
    return 0;
}

TEST_F(SourceTest, PromptThatCannotOpenEndsTheSearch)
{
    LocateCall call = { GetModuleHandleA("kernel32.dll"), "C:\\srcnone", primary, -5 };
    // On a thread of its own, so that a search without end fails the test
    // instead of hanging it.
    HANDLE thread = CreateThread(NULL, 0, LocateOnThread, &call, 0, NULL);
    ASSERT_NE(thread, (HANDLE)NULL);
    DWORD waited = WaitForSingleObject(thread, 20000);
    if (waited != WAIT_OBJECT_0)
        TerminateThread(thread, 1);
    CloseHandle(thread);
    ASSERT_EQ(waited, (DWORD)WAIT_OBJECT_0) << "LocateSource kept asking";
    EXPECT_EQ(call.result, 0);
    EXPECT_STREQ(call.directory, "C:\\srcnone");
}

}  // namespace
