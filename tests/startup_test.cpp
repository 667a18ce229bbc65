// Start-up pieces that need no running setup: the switches, the window
// geometry, centring, the message table, insert formatting and the log.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <stdio.h>
#include "setup/startup.h"
#include "setup/messages.h"
#include "setup/product.h"
#include "robot/robot.h"
#include "resource.h"

struct CommandLineCase {
    const char *commandLine;
    int install, remove, quiet;
};

TEST(CommandLine, SwitchesAreCaseSensitiveSubstrings)
{
    const CommandLineCase cases[] = {
        { "", 0, 0, 0 },
        { "-installqu", 1, 0, 1 },
        { "-installsi", 1, 0, 1 },
        { "-installsi -r", 1, 0, 1 },
        { "-r -installqu", 1, 0, 1 },
        { "-i", 1, 0, 0 },
        { "-r", 0, 1, 0 },
        { "-i -r", 1, 0, 0 },
        { "-s", 0, 0, 1 },
        { "-q", 0, 0, 1 },
        { "-i -q", 1, 0, 1 },
        { "-r -q", 0, 1, 1 },
        { "-r -s", 0, 1, 1 },
        { "-I", 0, 0, 0 },
        { "-R", 0, 0, 0 },
        { "-Q -S", 0, 0, 0 },
        { "-install", 1, 0, 0 },
        { "-ignore", 1, 0, 0 },
        { "-remove", 0, 1, 0 },
        { "-silent", 0, 0, 1 },
        { "C:\\my-rack\\x", 0, 1, 0 },
    };
    for (const CommandLineCase &row : cases) {
        SCOPED_TRACE(std::string("command line \"") + row.commandLine + "\"");
        SetupOptions options = { 0, 0, 0 };
        ReadCommandLine(row.commandLine, &options);
        EXPECT_EQ(options.installRequested, row.install);
        EXPECT_EQ(options.removeRequested, row.remove);
        EXPECT_EQ(options.quiet, row.quiet);
    }
}

struct GeometryCase {
    RECT desktop;
    int x, y, width, height;
};

TEST(MainWindow, FourFifthsOfTheDesktopAtLeast600By400Centred)
{
    const GeometryCase cases[] = {
        { { 0, 0, 640, 480 }, 20, 40, 600, 400 },
        { { 0, 0, 800, 600 }, 80, 60, 640, 480 },
        { { 0, 0, 1024, 768 }, 104, 78, 816, 612 },
        { { 0, 0, 320, 200 }, -140, -100, 600, 400 },
    };
    for (const GeometryCase &row : cases) {
        SCOPED_TRACE(testing::Message() << "desktop " << row.desktop.right << "x" << row.desktop.bottom);
        int x, y, width, height;
        ComputeMainWindowRect(&row.desktop, &x, &y, &width, &height);
        EXPECT_EQ(width, row.width);
        EXPECT_EQ(height, row.height);
        EXPECT_EQ(x, row.x);
        EXPECT_EQ(y, row.y);
    }
}

struct CenterCase {
    RECT window;
    RECT desktop;
    int dy;
    int x, y;
};

TEST(CenterWindow, CentresShiftsAndNeverGoesNegative)
{
    const CenterCase cases[] = {
        { { 0, 0, 300, 200 }, { 0, 0, 1024, 768 }, 0, 362, 284 },
        { { 50, 50, 351, 251 }, { 0, 0, 1024, 768 }, 0, 362, 284 },  // odd size truncates
        { { 0, 0, 300, 200 }, { 0, 0, 1024, 768 }, 30, 362, 314 },
        { { 0, 0, 300, 200 }, { 0, 0, 1024, 768 }, -400, 362, 0 },
        { { 0, 0, 1200, 900 }, { 0, 0, 1024, 768 }, 0, 0, 0 },
    };
    for (const CenterCase &row : cases) {
        SCOPED_TRACE(testing::Message() << "window " << row.window.right - row.window.left << "x"
                                        << row.window.bottom - row.window.top << " dy " << row.dy);
        int x, y;
        ComputeCenteredPosition(&row.window, &row.desktop, row.dy, &x, &y);
        EXPECT_EQ(x, row.x);
        EXPECT_EQ(y, row.y);
    }
}

TEST(CenterWindow, MovesARealWindowAndKeepsItsSize)
{
    HWND window = CreateWindowExA(0, "STATIC", "c", WS_POPUP, 5, 5, 301, 201, NULL, NULL,
                                  appInstance, NULL);
    ASSERT_NE(window, (HWND)NULL);
    CenterWindow(window, 0);
    RECT desktop = RobotWindowRect(GetDesktopWindow());
    RECT rect = RobotWindowRect(window);
    EXPECT_EQ(rect.right - rect.left, 301);
    EXPECT_EQ(rect.bottom - rect.top, 201);
    EXPECT_EQ(rect.left, (desktop.right - desktop.left) / 2 - 150);
    EXPECT_EQ(rect.top, (desktop.bottom - desktop.top) / 2 - 100);
    DestroyWindow(window);
}

TEST(LoadMessage, SizeZeroLeavesTheBufferAlone)
{
    char buffer[8] = "keep";
    EXPECT_EQ(LoadMessage(MSG_INSTALL_SUCCESS, buffer, 0), 0);
    EXPECT_STREQ(buffer, "keep");
}

TEST(LoadMessage, LongTextIsCutToTheBuffer)
{
    char buffer[40];
    memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(LoadMessage(MSG_REMOVAL_INCOMPLETE, buffer, 32), 1);
    EXPECT_STREQ(buffer, std::string("Removal process complete.\nCheck").substr(0, 31).c_str());
    EXPECT_EQ(buffer[32], 'x') << "written past the given size";
}

TEST(LoadMessage, MissingNumberGivesTheCutFallback)
{
    char buffer[20];
    memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(LoadMessage(12345, buffer, 16), 0);
    EXPECT_STREQ(buffer, "12345 DEBUG - U");
    EXPECT_EQ(buffer[16], 'x');
}

TEST(LoadMessage, EveryTableEntryHasItsText)
{
    const struct { UINT number; const char *text; } table[] = {
        { 10001, "All Files" }, { 10002, "Locate" }, { 10003, "Creation of %1!s! failed. (%2!u!)" },
        { 10004, "Install" }, { 10005, "Copy of %1!s! to %2!s! failed. (%3!u!)" },
        { 10010, "Removal process complete.\nAll files removed." }, { 10011, "Remove" },
        { 10012, "Removal process complete.\nCheck the directory %1!s! for excess files\nthat caused "
                 "the removal process to not cleanup entirely." },
        { 10013, "Insufficient information available to\nremove this application." },
        { 10016, "Orvanta" }, { 10017, "SOURCE files directory" },
        { 10018, "Please locate source directory!" }, { 10019, "Can't continue with no source." },
        { 10020, "PROGRAM files directory" }, { 10021, "Please enter the destination directory:" },
        { 10022, "Failed to create requested directory!" },
        { 10023, "Can't continue without a destination directory!" },
        { 10026, "Failed to create requested directory!" }, { 10028, "Creating group and icons." },
        { 10034, "Creating group" }, { 10035, "Some portion of installation process failed." },
        { 10038, "Congratulations!" }, { 10040, "Installation successful!" },
        { 10046, "Window registration failed.\nExit and restart Windows." },
        { 10047, "Window creation failed.\nExit and restart Windows." }, { 10052, "Lumetra Install" },
        { 10070, "File extraction to temporary directory failed." },
    };
    for (const auto &row : table) {
        SCOPED_TRACE(testing::Message() << "message " << row.number);
        char buffer[1024];
        EXPECT_EQ(LoadMessage(row.number, buffer, sizeof buffer), 1);
        EXPECT_STREQ(buffer, row.text);
    }
}

TEST(FormatInserts, FillsTextAndNumberInserts)
{
    char text[256];
    char templ[256];
    LoadMessage(MSG_CREATION_FAILED, templ, sizeof templ);
    EXPECT_EQ(FormatInserts(text, sizeof text, templ, "C:\\Program Files\\LumTools", 5u), 1);
    EXPECT_STREQ(text, "Creation of C:\\Program Files\\LumTools failed. (5)");
}

TEST(FormatInserts, KeepsTheLineFeedsAsLineFeeds)
{
    char text[512];
    char templ[256];
    LoadMessage(MSG_REMOVAL_INCOMPLETE, templ, sizeof templ);
    EXPECT_EQ(FormatInserts(text, sizeof text, templ, "C:\\LumTools"), 1);
    // The log's text mode adds the carriage returns; none may come from here.
    EXPECT_STREQ(text, "Removal process complete.\nCheck the directory C:\\LumTools for excess files\n"
                       "that caused the removal process to not cleanup entirely.");
}

TEST(FormatInserts, LongInsertIsCutWithoutWritingPastTheBuffer)
{
    std::string path = "C:\\" + std::string(597, 'p');  // 600 characters
    char templ[256];
    LoadMessage(MSG_CREATION_FAILED, templ, sizeof templ);
    char buffer[256 + 8];
    memset(buffer, 'G', sizeof buffer);
    EXPECT_EQ(FormatInserts(buffer, 256, templ, path.c_str(), 3u), 1);
    EXPECT_EQ(strlen(buffer), 255u);
    EXPECT_EQ(std::string(buffer), ("Creation of " + path).substr(0, 255));
    for (int i = 256; i < (int)sizeof buffer; i++)
        EXPECT_EQ(buffer[i], 'G') << "guard byte " << i << " overwritten";
}

TEST(FormatInserts, NoTextLeavesTheDestinationAlone)
{
    char buffer[16] = "keep";
    EXPECT_EQ(FormatInserts(buffer, sizeof buffer, ""), 0);
    EXPECT_STREQ(buffer, "keep");
}

// A scratch directory that becomes the current directory for one test.
class LogDirectory : public testing::Test {
protected:
    void SetUp() override
    {
        GetCurrentDirectoryA(sizeof previous, previous);
        GetTempPathA(sizeof directory, directory);
        lstrcatA(directory, "logtest");
        CreateDirectoryA(directory, NULL);
        SetCurrentDirectoryA(directory);
        DeleteFileA("setup.log");
        loggingEnabled = 1;
    }
    void TearDown() override
    {
        DeleteFileA("setup.log");
        RemoveDirectoryA("setup.log");
        SetCurrentDirectoryA(previous);
        RemoveDirectoryA(directory);
        loggingEnabled = 1;
    }
    static std::string ReadLog()
    {
        std::string bytes;
        FILE *file = fopen("setup.log", "rb");
        if (file == NULL)
            return "<no file>";
        int c;
        while ((c = fgetc(file)) != EOF)
            bytes += (char)c;
        fclose(file);
        return bytes;
    }
    char previous[MAX_PATH];
    char directory[MAX_PATH];
};

TEST_F(LogDirectory, LinesEndInCrLfAndAppendInOrder)
{
    LogLine("");
    LogLine("one\ntwo");
    LogLine("three\r\nfour");
    LogLine("Extracting to C:\\x, 5 bytes");
    EXPECT_EQ(ReadLog(), "\r\none\r\ntwo\r\nthree\r\r\nfour\r\nExtracting to C:\\x, 5 bytes\r\n");
}

TEST_F(LogDirectory, EarlierLinesStay)
{
    FILE *file = fopen("setup.log", "wb");
    fputs("old run\r\n", file);
    fclose(file);
    LogLine("new run");
    EXPECT_EQ(ReadLog(), "old run\r\nnew run\r\n");
}

TEST_F(LogDirectory, UnwritableLogTurnsLoggingOffForGood)
{
    CreateDirectoryA("setup.log", NULL);  // a directory where the file would go
    LogLine("lost");
    EXPECT_EQ(loggingEnabled, 0);
    RemoveDirectoryA("setup.log");
    LogLine("also lost");
    EXPECT_EQ(ReadLog(), "<no file>");
}

TEST(BoundedText, CopyAppendAndFormatNeverOverflow)
{
    char buffer[8 + 4];
    memset(buffer, 'G', sizeof buffer);
    EXPECT_EQ(CopyText(buffer, 8, "1234567"), 1);
    EXPECT_STREQ(buffer, "1234567");
    EXPECT_EQ(CopyText(buffer, 8, "123456789"), 0);
    EXPECT_STREQ(buffer, "1234567");
    EXPECT_EQ(CopyText(buffer, 8, "ab"), 1);
    EXPECT_EQ(AppendText(buffer, 8, "cdefgh"), 0);
    EXPECT_STREQ(buffer, "abcdefg");
    EXPECT_EQ(FormatText(buffer, 8, "%s\\%s", "abc", "def"), 1);
    EXPECT_STREQ(buffer, "abc\\def");
    EXPECT_EQ(FormatText(buffer, 8, "%s\\%s", "abcd", "def"), 0);
    EXPECT_STREQ(buffer, "abcd\\de");
    for (int i = 8; i < (int)sizeof buffer; i++)
        EXPECT_EQ(buffer[i], 'G');
}

TEST(ProductDescription, StartUpValuesAndTable)
{
    EXPECT_STREQ(setupTitle, "Lumetra Install");
    EXPECT_STREQ(groupName, "Lumetra");
    EXPECT_STREQ(defaultProgramDirectory, "C:\\Program Files\\LumTools");
    ASSERT_EQ(payloadCount, 5);
    const char *resources[] = { "EXEFILE", "HLPFILE", "CNTFILE", "TXTFILE", "MIBFILE" };
    for (int i = 0; i < payloadCount; i++) {
        SCOPED_TRACE(resources[i]);
        EXPECT_STREQ(payloadTable[i].resourceName, resources[i]);
        EXPECT_STREQ(payloadTable[i].sourceName, payloadTable[i].destName);
        EXPECT_EQ(payloadTable[i].diskNumber, 1u);
        EXPECT_EQ(payloadTable[i].required, i == 4 ? 0u : 1u);
        EXPECT_EQ(payloadTable[i].createIcon, (i == 2 || i == 4) ? 0u : 1u);
    }
}
