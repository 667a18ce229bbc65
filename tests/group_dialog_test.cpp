// The program group dialog, driven by the robot as a person would: the list
// of existing groups comes from the Program Manager stand-in (Wine's own
// Program Manager is silenced for this whole program, see progman_test.cpp),
// the answer lands in groupName.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "dialogs/dialogs.h"
#include "progman/progman.h"
#include "progman_standin/standin_control.h"
#include "setup/messages.h"
#include "setup/product.h"
#include "setup/startup.h"
#include "resource.h"
#include "robot/robot.h"
#include "test_files.h"

namespace {

const char groupCaption[] = "Program Manager Group";

struct OwnedSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK MatchOwnedWindow(HWND window, LPARAM param)
{
    OwnedSearch *search = (OwnedSearch *)param;
    if (IsWindowVisible(window) && GetWindow(window, GW_OWNER) == search->owner) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The message box shares the dialog's caption: find it as the window the
// dialog owns.
HWND WaitOwnedWindow(HWND owner, DWORD timeoutMs = 20000)
{
    DWORD start = GetTickCount();
    for (;;) {
        OwnedSearch search = { owner, NULL };
        EnumWindows(MatchOwnedWindow, (LPARAM)&search);
        if (search.found != NULL || GetTickCount() - start >= timeoutMs)
            return search.found;
        Sleep(50);
    }
}

void ExpectCentred(HWND window)
{
    RECT rect = RobotWindowRect(window), desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    int x = 0, y = 0;
    ComputeCenteredPosition(&rect, &desktop, 0, &x, &y);
    EXPECT_EQ(rect.left, x) << "dialog at " << rect.left << "," << rect.top;
    EXPECT_EQ(rect.top, y) << "dialog at " << rect.left << "," << rect.top;
}

class GroupDialogTest : public testing::Test {
protected:
    Standin standin;

    void SetUp() override { CopyText(groupName, sizeof groupName, "Lumetra"); }

    void TearDown() override
    {
        StopStandin(&standin);
        CopyText(groupName, sizeof groupName, productName);
    }

    // A Program Manager with three groups, sent out of order.
    bool StartWithGroups()
    {
        std::string failure;
        if (!StartStandin(&standin, StandinOptions(), &failure) ||
            !SetGroupsReply(standin, std::string("Zeta\r\nAlpha\r\nMiddle\r\n", 21) + '\0')) {
            ADD_FAILURE() << failure;
            return false;
        }
        return true;
    }

    int Ask(std::function<void()> script)
    {
        std::vector<std::string> stray;
        int answer = RobotDrive([] { return AskGroupName(NULL, appInstance); }, script, &stray);
        EXPECT_TRUE(stray.empty()) << "left open: " << testing::PrintToString(stray);
        return answer;
    }
};

TEST_F(GroupDialogTest, OpensCentredWithTheNameAndTheGroupsSorted)
{
    ASSERT_TRUE(StartWithGroups());
    std::string field;
    std::vector<std::string> groups;
    int answer = Ask([&] {
        HWND dialog = RobotWaitWindow(groupCaption);
        ASSERT_NE(dialog, (HWND)NULL) << "no dialog";
        ExpectCentred(dialog);
        field = RobotText(dialog, IDC_GROUP_COMBO);
        groups = RobotComboItems(dialog, IDC_GROUP_COMBO);
        RobotClick(dialog, IDCANCEL);
    });
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(field, "Lumetra");
    EXPECT_EQ(groups, std::vector<std::string>({ "Alpha", "Middle", "Zeta" }));
    EXPECT_STREQ(groupName, "Lumetra");
}

TEST_F(GroupDialogTest, EveryWayOutGivesItsAnswerAndName)
{
    ASSERT_TRUE(StartWithGroups());
    struct Row {
        const char *what;
        const char *pick;  // a listed group to pick, or NULL
        const char *type;  // a name to type, or NULL
        void (*leave)(HWND dialog);
        int answer;
        const char *name;  // groupName afterwards
    } rows[] = {
        { "picked group, Ok", "Middle", NULL, [](HWND d) { RobotClick(d, IDOK); }, 1, "Middle" },
        { "typed name, Enter", NULL, "New Group", [](HWND d) { RobotPressEnter(d); }, 1,
          "New Group" },
        { "proposal kept, Ok", NULL, NULL, [](HWND d) { RobotClick(d, IDOK); }, 1, "Lumetra" },
        { "emptied with Backspace, Ok", NULL, "\b", [](HWND d) { RobotClick(d, IDOK); }, 1, "" },
        { "typed, Cancel", NULL, "Other", [](HWND d) { RobotClick(d, IDCANCEL); }, 0, "Lumetra" },
        { "typed, Escape", NULL, "Other", [](HWND d) { RobotPressEscape(d); }, 0, "Lumetra" },
        { "typed, close box", NULL, "Other", [](HWND d) { RobotCloseBox(d); }, 0, "Lumetra" },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        CopyText(groupName, sizeof groupName, "Lumetra");
        int answer = Ask([&] {
            HWND dialog = RobotWaitWindow(groupCaption);
            ASSERT_NE(dialog, (HWND)NULL) << "no dialog";
            if (row.pick != NULL)
                EXPECT_TRUE(RobotPickCombo(dialog, IDC_GROUP_COMBO, row.pick));
            if (row.type != NULL)
                RobotType(dialog, IDC_GROUP_COMBO, row.type);
            row.leave(dialog);
        });
        EXPECT_EQ(answer, row.answer);
        EXPECT_STREQ(groupName, row.name);
    }
}

// Program Manager would read a double quote as the end of the quoted name;
// the dialog says so and keeps the name for editing.
TEST_F(GroupDialogTest, AnUnsendableNameIsRefusedAndTheDialogStays)
{
    ASSERT_TRUE(StartWithGroups());
    RobotMessageBox box;
    bool stayed = false;
    std::string kept;
    int answer = Ask([&] {
        HWND dialog = RobotWaitWindow(groupCaption);
        ASSERT_NE(dialog, (HWND)NULL) << "no dialog";
        RobotType(dialog, IDC_GROUP_COMBO, "My \"Best\" Tools");
        RobotClick(dialog, IDOK);
        HWND boxWindow = WaitOwnedWindow(dialog);
        ASSERT_TRUE(RobotReadMessageBox(boxWindow, &box)) << "no message box";
        RobotPressMessageBoxButton(boxWindow, "OK");
        ASSERT_TRUE(RobotWaitGone(boxWindow));
        stayed = IsWindowVisible(dialog) != 0;
        kept = RobotText(dialog, IDC_GROUP_COMBO);
        RobotType(dialog, IDC_GROUP_COMBO, "Tools)][DeleteGroup(StartUp");
        RobotClick(dialog, IDOK);
    });
    EXPECT_EQ(box.caption, groupCaption);
    EXPECT_EQ(box.text, "The group name cannot contain double quotes.");
    EXPECT_EQ(box.buttons, std::vector<std::string>({ "OK" }));
    EXPECT_TRUE(stayed);
    EXPECT_EQ(kept, "My \"Best\" Tools");
    EXPECT_EQ(answer, 1);
    EXPECT_STREQ(groupName, "Tools)][DeleteGroup(StartUp") << "brackets are sendable (quoted)";
}

TEST_F(GroupDialogTest, WithoutProgramManagerTheListIsEmptyAndATypedNameComesBack)
{
    ASSERT_EQ(ProgramManagerProcess(), 0u) << "some server answers PROGMAN";
    std::vector<std::string> groups = { "not read" };
    int answer = Ask([&] {
        HWND dialog = RobotWaitWindow(groupCaption);
        ASSERT_NE(dialog, (HWND)NULL) << "no dialog";
        groups = RobotComboItems(dialog, IDC_GROUP_COMBO);
        RobotType(dialog, IDC_GROUP_COMBO, "Typed Group");
        RobotClick(dialog, IDOK);
    });
    EXPECT_EQ(answer, 1);
    EXPECT_TRUE(groups.empty()) << testing::PrintToString(groups);
    EXPECT_STREQ(groupName, "Typed Group");
}

// Not a check: writes a picture of the dialog for the documentation. Run with --gtest_also_run_disabled_tests; the picture goes
// to the directory named by LUMSETUP_SCREENSHOT_DIR (default: the current
// one) as "getgroup.bmp".
TEST_F(GroupDialogTest, DISABLED_ScreenshotOfTheDialog)
{
    std::string path = ScreenshotPath("getgroup.bmp");
    ASSERT_TRUE(StartWithGroups());
    Ask([&] {
        HWND dialog = RobotWaitWindow(groupCaption);
        ASSERT_NE(dialog, (HWND)NULL) << "no dialog";
        RedrawWindow(dialog, NULL, NULL, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        EXPECT_TRUE(RobotSaveWindowImage(dialog, path.c_str())) << path;
        RobotClick(dialog, IDCANCEL);
    });
}

}  // namespace
