// The Program Manager client against our stand-in server: the exact bytes
// of every command, what is refused and never sent, the results for
// accepted, rejected and late commands, no server at all, and the group list.
//
// Which server answers: Wine's own Program Manager (in the prefix's desktop
// process) is silenced once when this program starts, so nothing answers
// "PROGMAN" until a test starts the stand-in; StartStandin then waits until
// a connection reaches the stand-in's process before the test sends anything.
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>
#include "progman/progman.h"
#include "progman_standin/standin_control.h"

namespace {

class SilenceWineProgramManager : public testing::Environment {
public:
    void SetUp() override
    {
        std::string failure;
        ASSERT_TRUE(SilenceProgramManagers(&failure)) << failure;
    }
};

testing::Environment *const silencer =
    testing::AddGlobalTestEnvironment(new SilenceWineProgramManager);

// A command as it must arrive: its text and the terminating zero.
std::string Sent(const std::string &text)
{
    return text + std::string(1, '\0');
}

typedef std::vector<std::string> Commands;

const char testDirectory[] = "C:\\progman test";
const char bracketDirectory[] = "C:\\Old (2)";

class StandinTest : public testing::Test {
protected:
    Standin standin;
    char savedDirectory[MAX_PATH] = "";

    void SetUp() override
    {
        ProgmanUninitialize();
        GetCurrentDirectoryA(sizeof savedDirectory, savedDirectory);
        CreateDirectoryA(testDirectory, NULL);
        CreateDirectoryA(bracketDirectory, NULL);
        SetCurrentDirectoryA(testDirectory);
    }

    void TearDown() override
    {
        ProgmanUninitialize();
        StopStandin(&standin);
        SetCurrentDirectoryA(savedDirectory);
        RemoveDirectoryA(testDirectory);
        RemoveDirectoryA(bracketDirectory);
    }

    bool Start(const StandinOptions &options = StandinOptions())
    {
        std::string failure;
        bool started = StartStandin(&standin, options, &failure);
        if (!started)
            ADD_FAILURE() << failure;
        return started;
    }

    Commands Received() { return StandinCommands(standin); }
};

struct CommandCase {
    const char *what;
    std::function<int()> operation;
    int result;
    Commands expected;
};

void CheckCommands(const Standin &standin, const std::vector<CommandCase> &cases)
{
    for (const CommandCase &row : cases) {
        SCOPED_TRACE(row.what);
        ClearStandinCommands(standin);
        ASSERT_EQ(ProgmanInitialize(), 1);
        EXPECT_EQ(row.operation(), row.result);
        EXPECT_EQ(StandinCommands(standin), row.expected);
        ProgmanUninitialize();
    }
}

TEST_F(StandinTest, PlainInsertsGiveTheExactCommandTexts)
{
    ASSERT_TRUE(Start());
    std::vector<CommandCase> cases = {
        { "CreateGroup: blanks kept, no quotation marks",
          [] { return ProgmanCreateGroup("Lumetra Network Tools"); }, 1,
          { Sent("[CreateGroup(Lumetra Network Tools)]") } },
        { "ShowGroup", [] { return ProgmanShowGroup("Lumetra Network Tools"); }, 1,
          { Sent("[ShowGroup(Lumetra Network Tools,1)]") } },
        { "DeleteGroup", [] { return ProgmanDeleteGroup("Lumetra Network Tools"); }, 1,
          { Sent("[DeleteGroup(Lumetra Network Tools)]") } },
        { "AddItem: DeleteItem first, then AddItem",
          [] {
              return ProgmanAddItem("Lumetra", "C:\\Program Files\\LumTools",
                                    "C:\\Program Files\\LumTools\\lumtools.exe",
                                    "C:\\Program Files\\LumTools\\lumtools.exe");
          },
          1,
          { Sent("[DeleteItem(\"Lumetra\")]"),
            Sent("[AddItem(\"C:\\Program Files\\LumTools\\lumtools.exe\",\"Lumetra\",,,,,"
                 "C:\\Program Files\\LumTools)]") } },
        { "AddItem: an empty item name takes the file's",
          [] { return ProgmanAddItem("", "C:\\Tools", "app.exe", "C:\\Tools\\app.exe"); }, 1,
          { Sent("[DeleteItem(\"app.exe\")]"),
            Sent("[AddItem(\"C:\\Tools\\app.exe\",\"app.exe\",,,,,C:\\Tools)]") } },
        { "AddItem: an empty directory is the current directory",
          [] { return ProgmanAddItem("Tool", "", "C:\\Tools\\app.exe", "C:\\Tools\\app.exe"); },
          1,
          { Sent("[DeleteItem(\"Tool\")]"),
            Sent("[AddItem(\"C:\\Tools\\app.exe\",\"Tool\",,,,,C:\\progman test)]") } },
        { "AddItem: no arguments but the file",
          [] { return ProgmanAddItem(NULL, NULL, "app.exe", NULL); }, 1,
          { Sent("[DeleteItem(\"app.exe\")]"),
            Sent("[AddItem(\"C:\\progman test\\app.exe\",\"app.exe\",,,,,C:\\progman test)]") } },
        { "AddItem: an empty command line joins directory and file",
          [] { return ProgmanAddItem("Tool", "C:\\Tools", "app.exe", ""); }, 1,
          { Sent("[DeleteItem(\"Tool\")]"),
            Sent("[AddItem(\"C:\\Tools\\app.exe\",\"Tool\",,,,,C:\\Tools)]") } },
        { "AddItem: a file with its own directory is the command line",
          [] { return ProgmanAddItem("Tool", "C:\\Tools", "D:\\Other\\app.exe", ""); }, 1,
          { Sent("[DeleteItem(\"Tool\")]"),
            Sent("[AddItem(\"D:\\Other\\app.exe\",\"Tool\",,,,,C:\\Tools)]") } },
        { "AddItem: a drive root joins with one backslash",
          [] { return ProgmanAddItem("Tool", "C:\\", "app.exe", ""); }, 1,
          { Sent("[DeleteItem(\"Tool\")]"),
            Sent("[AddItem(\"C:\\app.exe\",\"Tool\",,,,,C:\\)]") } },
        { "DeleteItem by item name", [] { return ProgmanDeleteItem("Tool", "C:\\Tools\\app.exe"); },
          1, { Sent("[DeleteItem(\"Tool\")]") } },
        { "DeleteItem: an empty item name takes the file",
          [] { return ProgmanDeleteItem("", "C:\\Tools\\app.exe"); }, 1,
          { Sent("[DeleteItem(\"C:\\Tools\\app.exe\")]") } },
        { "Execute sends the text as given",
          [] { return ProgmanExecute(ddeInstance, "[ExitProgman(1)]"); }, 1,
          { Sent("[ExitProgman(1)]") } },
    };
    CheckCommands(standin, cases);
}

// A name or directory that would end or split its command travels between
// quotation marks; item names and command lines are quoted by the templates.
TEST_F(StandinTest, InsertsThatWouldSplitACommandAreQuoted)
{
    ASSERT_TRUE(Start());
    std::vector<CommandCase> cases = {
        { "a group name that would delete another group",
          [] { return ProgmanCreateGroup("Tools)][DeleteGroup(StartUp"); }, 1,
          { Sent("[CreateGroup(\"Tools)][DeleteGroup(StartUp\")]") } },
        { "a comma in ShowGroup's name", [] { return ProgmanShowGroup("Tools, Extra"); }, 1,
          { Sent("[ShowGroup(\"Tools, Extra\",1)]") } },
        { "brackets in DeleteGroup's name", [] { return ProgmanDeleteGroup("Old [2]"); }, 1,
          { Sent("[DeleteGroup(\"Old [2]\")]") } },
        { "a directory with parentheses",
          [] {
              return ProgmanAddItem("Lumetra (Help)", "C:\\Old (2)", "help.hlp",
                                    "C:\\Old (2)\\help.hlp");
          },
          1,
          { Sent("[DeleteItem(\"Lumetra (Help)\")]"),
            Sent("[AddItem(\"C:\\Old (2)\\help.hlp\",\"Lumetra (Help)\",,,,,\"C:\\Old (2)\")]") } },
        { "a current directory with parentheses",
          [] {
              SetCurrentDirectoryA(bracketDirectory);
              int result = ProgmanAddItem("Tool", "", "app.exe", "");
              SetCurrentDirectoryA(testDirectory);
              return result;
          },
          1,
          { Sent("[DeleteItem(\"Tool\")]"),
            Sent("[AddItem(\"C:\\Old (2)\\app.exe\",\"Tool\",,,,,\"C:\\Old (2)\")]") } },
        { "brackets and commas inside an item name stay as they are",
          [] { return ProgmanDeleteItem("Notes [1], (old)", ""); }, 1,
          { Sent("[DeleteItem(\"Notes [1], (old)\")]") } },
    };
    CheckCommands(standin, cases);
}

// A text that cannot be sent safely is not sent at all: nothing reaches the
// server, and an operation that builds two commands sends neither.
TEST_F(StandinTest, UnsafeOrOversizedTextsAreNotSent)
{
    ASSERT_TRUE(Start());
    const std::string longDirectory = "C:\\" + std::string(256, 'd');  // 259 characters
    const std::string tooLongDirectory = longDirectory + "e";         // 260
    const std::string deepDirectory = "C:\\" + std::string(250, 'd');  // joined: 269
    // 21 characters of template, "C:\x.exe" and "C:\T": 33 + item name.
    const std::string item515(515 - 33, 'i'), item516(516 - 33, 'i');
    const std::string group500(500, 'g'), group501(501, 'g');
    const std::string command515 = "[" + std::string(513, 'x') + "]";
    const std::string command516 = "[" + std::string(514, 'x') + "]";
    std::vector<CommandCase> cases = {
        { "double quote in CreateGroup's name", [] { return ProgmanCreateGroup("Say \"Hi\""); }, 1,
          {} },
        { "double quote in ShowGroup's name", [] { return ProgmanShowGroup("Say \"Hi\""); }, 0, {} },
        { "double quote in DeleteGroup's name", [] { return ProgmanDeleteGroup("\""); }, 1, {} },
        { "double quote in an item name",
          [] { return ProgmanAddItem("A \"B\"", "C:\\T", "x.exe", "C:\\x.exe"); }, 1, {} },
        { "double quote in a command line",
          [] { return ProgmanAddItem("A", "C:\\T", "x.exe", "\"C:\\x.exe\" /s"); }, 1, {} },
        { "double quote in a directory",
          [] { return ProgmanAddItem("A", "C:\\T\"", "x.exe", "C:\\x.exe"); }, 1, {} },
        { "double quote in a file that names the item",
          [] { return ProgmanDeleteItem("", "C:\\x\".exe"); }, 1, {} },
        { "directory of 259 characters is sent",
          [&] { return ProgmanAddItem("X", longDirectory.c_str(), "x.exe", "C:\\x.exe"); }, 1,
          { Sent("[DeleteItem(\"X\")]"),
            Sent("[AddItem(\"C:\\x.exe\",\"X\",,,,," + longDirectory + ")]") } },
        { "directory of 260 characters is not",
          [&] { return ProgmanAddItem("X", tooLongDirectory.c_str(), "x.exe", "C:\\x.exe"); }, 1,
          {} },
        { "a joined path over 259 characters is not",
          [&] { return ProgmanAddItem("X", deepDirectory.c_str(), "application.exe", ""); }, 1,
          {} },
        { "the same directory with a command line is",
          [&] {
              return ProgmanAddItem("X", deepDirectory.c_str(), "application.exe", "C:\\x.exe");
          },
          1,
          { Sent("[DeleteItem(\"X\")]"),
            Sent("[AddItem(\"C:\\x.exe\",\"X\",,,,," + deepDirectory + ")]") } },
        { "AddItem of 515 characters is sent",
          [&] { return ProgmanAddItem(item515.c_str(), "C:\\T", "x.exe", "C:\\x.exe"); }, 1,
          { Sent("[DeleteItem(\"" + item515 + "\")]"),
            Sent("[AddItem(\"C:\\x.exe\",\"" + item515 + "\",,,,,C:\\T)]") } },
        { "AddItem of 516 characters is not, nor its DeleteItem",
          [&] { return ProgmanAddItem(item516.c_str(), "C:\\T", "x.exe", "C:\\x.exe"); }, 1, {} },
        { "group commands of 515 characters are sent",
          [&] { return ProgmanShowGroup(group500.c_str()); }, 1,
          { Sent("[ShowGroup(" + group500 + ",1)]") } },
        { "group commands of 516 characters are not",
          [&] { return ProgmanShowGroup(group501.c_str()); }, 0, {} },
        { "Execute with 515 characters",
          [&] { return ProgmanExecute(ddeInstance, command515.c_str()); }, 1,
          { Sent(command515) } },
        { "Execute with 516 characters", [&] { return ProgmanExecute(ddeInstance, command516.c_str()); },
          0, {} },
    };
    CheckCommands(standin, cases);
}

TEST(ProgmanSafeGroupName, OnlyDoubleQuotesAndOversizedNamesAreUnsafe)
{
    struct Row {
        std::string name;
        int safe;
    } rows[] = {
        { "Lumetra", 1 },
        { "", 1 },
        { "Tools)][DeleteGroup(StartUp", 1 },
        { "A, (b) [c]", 1 },
        { "My \"Best\" Tools", 0 },
        { "\"", 0 },
        { std::string(255, 'g'), 1 },
        { std::string(500, 'g'), 1 },
        { std::string(501, 'g'), 0 },
        { "(" + std::string(497, 'g'), 1 },  // quoted: 2 characters more
        { "(" + std::string(498, 'g'), 0 },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name.substr(0, 40) + " (" + std::to_string(row.name.size()) + " chars)");
        EXPECT_EQ(ProgmanIsSafeGroupName(row.name.c_str()), row.safe);
    }
}

TEST_F(StandinTest, RejectedCommandsGiveZeroFromExecuteOnlyAndAreSentOnce)
{
    StandinOptions options;
    options.reject = true;
    ASSERT_TRUE(Start(options));
    ASSERT_EQ(ProgmanCreateGroup("Rejected"), 1);
    EXPECT_EQ(ProgmanExecute(ddeInstance, "[ShowGroup(Rejected,1)]"), 0);
    EXPECT_EQ(ProgmanShowGroup("Rejected"), 0);
    EXPECT_EQ(ProgmanAddItem("Tool", "C:\\Tools", "app.exe", "C:\\Tools\\app.exe"), 1);
    EXPECT_EQ(ProgmanDeleteItem("Tool", "C:\\Tools\\app.exe"), 1);
    EXPECT_EQ(ProgmanDeleteGroup("Rejected"), 1);
    Commands expected = {
        Sent("[CreateGroup(Rejected)]"),
        Sent("[ShowGroup(Rejected,1)]"),
        Sent("[ShowGroup(Rejected,1)]"),
        Sent("[DeleteItem(\"Tool\")]"),
        Sent("[AddItem(\"C:\\Tools\\app.exe\",\"Tool\",,,,,C:\\Tools)]"),
        Sent("[DeleteItem(\"Tool\")]"),
        Sent("[DeleteGroup(Rejected)]"),
    };
    EXPECT_EQ(Received(), expected);
}

// The stand-in answers 2 s late: past the 1000 ms time-out, the command has
// failed and is not sent again.
TEST_F(StandinTest, AnAnswerPastTheTimeOutIsAFailureAndTheCommandIsNotRepeated)
{
    StandinOptions options;
    options.lateMs = 2000;
    ASSERT_TRUE(Start(options));
    ASSERT_EQ(ProgmanInitialize(), 1);
    EXPECT_EQ(ProgmanExecute(ddeInstance, "[ShowGroup(Late,1)]"), 0);
    EXPECT_EQ(Received(), Commands({ Sent("[ShowGroup(Late,1)]") }));
    EXPECT_EQ(ProgmanAddItem("Late", "C:\\Tools", "app.exe", "C:\\Tools\\app.exe"), 1);
    EXPECT_EQ(Received(), Commands({ Sent("[ShowGroup(Late,1)]"), Sent("[DeleteItem(\"Late\")]"),
                                     Sent("[AddItem(\"C:\\Tools\\app.exe\",\"Late\",,,,,C:\\Tools)]") }))
        << "the addition follows the failed deletion, each once";
}

// Well within the time-out a slow answer still counts.
TEST_F(StandinTest, AnAnswerWithinTheTimeOutCounts)
{
    StandinOptions options;
    options.lateMs = 200;
    ASSERT_TRUE(Start(options));
    ASSERT_EQ(ProgmanInitialize(), 1);
    EXPECT_EQ(ProgmanExecute(ddeInstance, "[ShowGroup(Slow,1)]"), 1);
    EXPECT_EQ(Received(), Commands({ Sent("[ShowGroup(Slow,1)]") }));
}

// After DeleteGroup (or Uninitialize) the instance is ended: later commands
// find no conversation and send nothing.
TEST_F(StandinTest, CommandsAfterTheInstanceEndedSendNothing)
{
    ASSERT_TRUE(Start());
    ASSERT_EQ(ProgmanCreateGroup("Ended"), 1);
    EXPECT_EQ(ProgmanDeleteGroup("Ended"), 1);
    ClearStandinCommands(standin);
    EXPECT_EQ(ProgmanAddItem("Tool", "C:\\Tools", "app.exe", "C:\\Tools\\app.exe"), 1);
    EXPECT_EQ(ProgmanShowGroup("Ended"), 0);
    EXPECT_EQ(ProgmanExecute(ddeInstance, "[ShowGroup(Ended,1)]"), 0);
    EXPECT_EQ(Received(), Commands());
}

HWND CreateTestCombo()
{
    return CreateWindowExA(0, "COMBOBOX", "", WS_POPUP | WS_VSCROLL | CBS_DROPDOWN, 0, 0, 200, 200,
                           NULL, NULL, NULL, NULL);
}

std::vector<std::string> ComboEntries(HWND combo)
{
    std::vector<std::string> entries;
    int count = (int)SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; i++) {
        char text[GROUP_LIST_SIZE] = "";
        SendMessageA(combo, CB_GETLBTEXT, i, (LPARAM)text);
        entries.push_back(text);
    }
    return entries;
}

TEST_F(StandinTest, NoServerMeansNothingIsAnswered)
{
    ASSERT_EQ(ProgramManagerProcess(), 0u) << "some server answers PROGMAN";
    EXPECT_EQ(ProgmanCreateGroup("Lumetra"), 1);
    const char *commands[] = { "[CreateGroup(Lumetra)]", "[ShowGroup(Lumetra,1)]",
                               "[DeleteItem(\"Lumetra\")]",
                               "[AddItem(\"C:\\x.exe\",\"Lumetra\",,,,,C:\\)]",
                               "[DeleteGroup(Lumetra)]" };
    for (const char *command : commands) {
        SCOPED_TRACE(command);
        EXPECT_EQ(ProgmanExecute(ddeInstance, command), 0);
    }
    EXPECT_EQ(ProgmanShowGroup("Lumetra"), 0);
    EXPECT_EQ(ProgmanAddItem("Lumetra", "C:\\Tools", "app.exe", "C:\\Tools\\app.exe"), 1);
    EXPECT_EQ(ProgmanDeleteItem("Lumetra", "C:\\Tools\\app.exe"), 1);
    EXPECT_EQ(ProgmanDeleteGroup("Lumetra"), 1);
    EXPECT_EQ(ProgmanInitialize(), 1);
    EXPECT_EQ(ProgmanUninitialize(), 1);

    HWND combo = CreateTestCombo();
    ASSERT_NE(combo, (HWND)NULL) << "last error " << GetLastError();
    SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM) "Already there");
    EXPECT_EQ(ProgmanListGroups(combo), (char *)NULL);
    EXPECT_EQ(ComboEntries(combo), std::vector<std::string>({ "Already there" }));
    DestroyWindow(combo);
}

// Names "Group000" to "Group299", each followed by CR LF: 3,000 characters.
std::string LongGroupsReply(std::vector<std::string> *keptNames)
{
    std::string reply;
    for (int i = 0; i < 300; i++) {
        char name[16];
        wsprintfA(name, "Group%03d", i);
        reply += name;
        reply += "\r\n";
    }
    // 2,095 characters fit: 209 whole names (10 characters each) and "Group".
    keptNames->clear();
    for (int i = 0; i < 209; i++)
        keptNames->push_back(reply.substr(i * 10, 8));
    keptNames->push_back("Group");
    return reply + std::string(1, '\0');
}

TEST_F(StandinTest, GroupListRepliesBecomeComboEntriesInTheOrderReceived)
{
    ASSERT_TRUE(Start());
    std::vector<std::string> longNames;
    std::string exactFit = std::string(2093, 'n') + "\r\n";  // 2,095 characters and the zero
    struct Row {
        const char *what;
        std::string reply;
        std::vector<std::string> entries;
    } rows[] = {
        { "three names, final CR LF", Sent("Accessories\r\nGames\r\nMain\r\n"),
          { "Accessories", "Games", "Main" } },
        { "an empty reply", Sent(""), {} },
        { "line feeds and returns in any runs, no terminating zero", "\n\nZeta\r\r\nAlpha\n\r",
          { "Zeta", "Alpha" } },
        { "a reply of 2,095 characters is kept whole", Sent(exactFit),
          { std::string(2093, 'n') } },
        { "a longer reply is cut at 2,095 characters", LongGroupsReply(&longNames), longNames },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        ASSERT_TRUE(SetGroupsReply(standin, row.reply));
        HWND combo = CreateTestCombo();
        ASSERT_NE(combo, (HWND)NULL) << "last error " << GetLastError();
        DWORD instanceBefore = ddeInstance;
        EXPECT_EQ(ProgmanListGroups(combo), groupList);
        EXPECT_EQ(ComboEntries(combo), row.entries);
        EXPECT_EQ(ddeInstance, instanceBefore) << "the group list has an instance of its own";
        DestroyWindow(combo);
    }
}

TEST_F(StandinTest, ARefusedGroupListLeavesTheComboAlone)
{
    ASSERT_TRUE(Start());
    RefuseGroupsRequest(standin);
    HWND combo = CreateTestCombo();
    ASSERT_NE(combo, (HWND)NULL) << "last error " << GetLastError();
    SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM) "Already there");
    EXPECT_EQ(ProgmanListGroups(combo), (char *)NULL);
    EXPECT_EQ(ComboEntries(combo), std::vector<std::string>({ "Already there" }));
    DestroyWindow(combo);
}

}  // namespace
