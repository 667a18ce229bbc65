// The real setup.exe as a process under Wine: every scenario starts from a
// clean machine it sets up itself, runs setup.exe (answering its dialogs as a
// person would) and checks where things land.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "e2e/setup_process.h"
#include "e2e/machine.h"
#include "progman_standin/standin_control.h"
#include "robot/robot.h"
#include "resource.h"

static const char defaultDirectory[] = "C:\\Program Files\\LumTools";
static const char workDirectory[] = "C:\\e2e";
static const char logPath[] = "C:\\e2e\\setup.log";
static const char settingsKey[] = "Software\\Veltrane\\LumTools\\Settings";

static const char *const payloadNames[] = { "lumtools.exe", "lumtools.hlp", "lumtools.cnt",
                                            "lumtools.txt", "mib.txt" };

// The bytes each installed file must have: the files the payload was made from.
static std::string PayloadSource(const std::string &name)
{
    if (name == "lumtools.exe")
        return WindowsPath(BUILD_DIR "/generated/payload/lumtools.exe");
    if (name == "lumtools.hlp")
        return WindowsPath(BUILD_DIR "/generated/payload/lumtools.hlp");
    return WindowsPath(SOURCE_DIR "/resources/payload/" + name);
}

static std::string Joined(const std::vector<std::string> &lines)
{
    std::string text;
    for (const std::string &line : lines)
        text += "  " + line + "\n";
    return text;
}

class Setup : public testing::Test {
protected:
    void SetUp() override
    {
        ResetMachine();
        DeleteTree("C:\\Lum Tools (x86)");
        DeleteTree("C:\\Other Lumetra");
        DeleteTree(ProgramsFolder() + "\\Veltrane Tools");
        DeleteTree(workDirectory);
        CreateDirectoryA(workDirectory, NULL);
        tempBefore = DirectoryEntries(TempDirectory());
    }
    void TearDown() override
    {
        if (process.info.hProcess != NULL)  // a scenario that stopped half-way
            WaitSetupExit(&process, 0);
        if (HasFailure())
            printf("transcript:\n%s\nsetup.log:\n%s", Joined(process.transcript).c_str(),
                   Joined(Log()).c_str());
    }

    DWORD Run(const char *switches)
    {
        EXPECT_TRUE(StartSetup(&process, switches, workDirectory)) << "error " << GetLastError();
        return WaitSetupExit(&process);
    }

    std::vector<std::string> Log() { return ReadLogLines(logPath); }

    void ExpectInstalledFiles(const std::string &directory)
    {
        for (const char *name : payloadNames) {
            SCOPED_TRACE(name);
            bool installedFound = false, sourceFound = false;
            std::string installed = ReadFileBytes(directory + "\\" + name, &installedFound);
            std::string source = ReadFileBytes(PayloadSource(name), &sourceFound);
            ASSERT_TRUE(sourceFound) << PayloadSource(name);
            EXPECT_TRUE(installedFound && installed == source)
                << (installedFound ? "installed " : "missing, ") << installed.size()
                << " bytes, source " << source.size();
        }
    }

    void ExpectGroup(const std::string &group, const std::string &directory)
    {
        std::vector<ProgramItem> items = GroupItems(group);
        ASSERT_EQ(items.size(), 3u) << "group " << group;
        const struct { const char *name, *file; } expected[] = {
            { "Lumetra", "lumtools.exe" },
            { "Lumetra Help File", "lumtools.hlp" },
            { "Lumetra Release Notes", "lumtools.txt" },
        };
        for (const auto &want : expected) {
            SCOPED_TRACE(want.name);
            bool found = false;
            for (const ProgramItem &item : items) {
                if (item.name != want.name)
                    continue;
                found = true;
                EXPECT_EQ(lstrcmpiA(item.target.c_str(), (directory + "\\" + want.file).c_str()), 0)
                    << item.target;
                EXPECT_EQ(lstrcmpiA(item.workingDirectory.c_str(), directory.c_str()), 0)
                    << item.workingDirectory;
            }
            EXPECT_TRUE(found);
        }
    }

    void ExpectRecord(const std::string &directory, const std::string &group)
    {
        EXPECT_EQ(RecordValue("DIR"), directory);
        EXPECT_EQ(RecordValue("DEFDIR"), directory);
        EXPECT_EQ(RecordValue("GROUP"), group);
        EXPECT_EQ(RecordValue("INSTOPTS"), "1");
    }

    void ExpectSettings()
    {
        DWORD applets = 99, rawSock = 99;
        EXPECT_TRUE(RegistryDword(HKEY_LOCAL_MACHINE, settingsKey, "Applets", &applets));
        EXPECT_TRUE(RegistryDword(HKEY_LOCAL_MACHINE, settingsKey, "RawSock", &rawSock));
        EXPECT_EQ(applets, 0u);
        EXPECT_EQ(rawSock, 0u);
    }

    void ExpectTempClean()
    {
        EXPECT_EQ(Joined(DirectoryEntries(TempDirectory())), Joined(tempBefore))
            << "the temporary directory changed";
    }

    void ExpectLogEndsWithSuccess(const std::string &directory)
    {
        std::vector<std::string> log = Log();
        ASSERT_GE(log.size(), 5u) << Joined(log);
        // Clean-up lines of the temporary copies follow the run's own lines.
        size_t end = log.size();
        while (end > 0 && log[end - 1].compare(0, 9, "Removing ") == 0)
            end--;
        ASSERT_GE(end, 5u) << Joined(log);
        EXPECT_EQ(log[end - 5], "Creating group") << Joined(log);
        EXPECT_EQ(log[end - 4], "creating icon for " + directory + "\\lumtools.exe");
        EXPECT_EQ(log[end - 3], "creating icon for " + directory + "\\lumtools.hlp");
        EXPECT_EQ(log[end - 2], "creating icon for " + directory + "\\lumtools.txt");
        EXPECT_EQ(log[end - 1], "Installation successful!");
    }

    void ExpectCompleteInstallation(const std::string &directory, const std::string &group)
    {
        ExpectInstalledFiles(directory);
        ExpectGroup(group, directory);
        ExpectRecord(directory, group);
        ExpectSettings();
        ExpectLogEndsWithSuccess(directory);
        ExpectTempClean();
    }

    void ExpectNothingInstalled()
    {
        EXPECT_FALSE(PathExists(defaultDirectory));
        EXPECT_FALSE(RecordSectionExists());
        EXPECT_FALSE(GroupExists("Lumetra"));
        EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, "Software\\Veltrane\\LumTools"));
    }

    SetupProcess process;
    std::vector<std::string> tempBefore;
};

TEST_F(Setup, QuietInstallationSwitchesInstallEverything)
{
    const char *const switches[] = { "-installsi", "-installqu", "-q", "-s", "-i -q", "-installsi -r" };
    for (const char *line : switches) {
        SCOPED_TRACE(std::string("switches ") + line);
        ResetMachine();
        EXPECT_EQ(Run(line), 0u);
        ExpectCompleteInstallation(defaultDirectory, "Lumetra");
    }
}

TEST_F(Setup, QuietRemovalAfterQuietInstallationRemovesEverything)
{
    ASSERT_EQ(Run("-installsi"), 0u);
    ASSERT_TRUE(GroupExists("Lumetra"));
    // Its own process, so Wine's Program Manager has just started.
    EXPECT_EQ(Run("-r -q"), 0u);
    ExpectNothingInstalled();
    std::vector<std::string> log = Log();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "All files removed.") << Joined(log);
}

TEST_F(Setup, InteractiveInstallationIntoATypedDirectoryAndAnExistingGroup)
{
    CreateDirectoryA((ProgramsFolder() + "\\Veltrane Tools").c_str(), NULL);
    ASSERT_TRUE(StartSetup(&process, "", workDirectory));

    HWND choice = ExpectDialog(&process, "Install");
    ASSERT_NE(choice, (HWND)NULL);
    HWND main = SetupMainWindow(&process);
    EXPECT_EQ(RobotCaption(main), "Lumetra Install");
    EXPECT_FALSE(IsIconic(main));
    EXPECT_EQ(RobotText(choice, IDC_INSTALL_CHOICE), "Install Lumetra");
    EXPECT_TRUE(RobotChecked(choice, IDC_INSTALL_CHOICE));
    EXPECT_FALSE(RobotEnabled(choice, IDC_REMOVE_CHOICE));
    RobotClick(choice, IDOK);

    HWND prompt = ExpectDialog(&process, "PROGRAM files directory");
    ASSERT_NE(prompt, (HWND)NULL);
    EXPECT_EQ(RobotText(prompt, IDC_DIRECTORY), defaultDirectory);
    RobotType(prompt, IDC_DIRECTORY, "C:\\Other Lumetra");
    RobotClick(prompt, IDOK);

    HWND group = ExpectDialog(&process, "Program Manager Group");
    ASSERT_NE(group, (HWND)NULL);
    EXPECT_EQ(RobotText(group, IDC_GROUP_COMBO), "Lumetra");
    EXPECT_TRUE(RobotPickCombo(group, IDC_GROUP_COMBO, "Veltrane Tools"))
        << Joined(RobotComboItems(group, IDC_GROUP_COMBO));
    RobotClick(group, IDOK);

    EXPECT_EQ(AnswerBox(&process, "Congratulations!", "OK"), "Installation successful!");
    EXPECT_EQ(WaitSetupExit(&process), 0u);
    ExpectCompleteInstallation("C:\\Other Lumetra", "Veltrane Tools");
    DeleteTree(ProgramsFolder() + "\\Veltrane Tools");
}

// The program directory chosen by walking the browser's directory list.
TEST_F(Setup, InteractiveInstallationIntoADirectoryPickedInTheBrowser)
{
    ASSERT_TRUE(CreateDirectoryA("C:\\Other Lumetra", NULL));
    ASSERT_TRUE(CreateDirectoryA("C:\\Other Lumetra\\Picked", NULL));
    ASSERT_TRUE(StartSetup(&process, "-i", workDirectory));
    HWND prompt = ExpectDialog(&process, "PROGRAM files directory");
    ASSERT_NE(prompt, (HWND)NULL);
    RobotType(prompt, IDC_DIRECTORY, "C:\\Other Lumetra");
    RobotClick(prompt, IDC_BROWSE);
    HWND browser = ExpectDialog(&process, "Locate");
    ASSERT_NE(browser, (HWND)NULL);
    const int directoryList = 1121, currentDirectory = 1088;
    std::string before = RobotText(browser, currentDirectory);
    EXPECT_TRUE(RobotDoubleClickList(browser, directoryList, "[picked]"))
        << "in " << before << ": " << Joined(RobotListItems(browser, directoryList));
    for (int i = 0; i < 200 && RobotText(browser, currentDirectory) == before; i++)
        RobotPause(100);
    RobotClick(browser, IDOK);
    RobotWaitGone(browser);
    std::string picked = RobotText(prompt, IDC_DIRECTORY);
    EXPECT_EQ(lstrcmpiA(picked.c_str(), "C:\\Other Lumetra\\Picked"), 0) << picked;
    RobotClick(prompt, IDOK);
    HWND group = ExpectDialog(&process, "Program Manager Group");
    ASSERT_NE(group, (HWND)NULL);
    RobotClick(group, IDOK);
    AnswerBox(&process, "Congratulations!", "OK");
    EXPECT_EQ(WaitSetupExit(&process), 0u);
    ExpectInstalledFiles("C:\\Other Lumetra\\Picked");
    EXPECT_EQ(lstrcmpiA(RecordValue("DIR").c_str(), "C:\\Other Lumetra\\Picked"), 0)
        << RecordValue("DIR");
    EXPECT_EQ(GroupItems("Lumetra").size(), 3u);
}

TEST_F(Setup, ClearedGroupNameInstallsUnderLumetra)
{
    ASSERT_TRUE(StartSetup(&process, "-i", workDirectory));
    HWND prompt = ExpectDialog(&process, "PROGRAM files directory");
    ASSERT_NE(prompt, (HWND)NULL);
    RobotPressEnter(prompt);
    HWND group = ExpectDialog(&process, "Program Manager Group");
    ASSERT_NE(group, (HWND)NULL);
    RobotSetText(group, IDC_GROUP_COMBO, "");
    RobotClick(group, IDOK);
    AnswerBox(&process, "Congratulations!", "OK");
    EXPECT_EQ(WaitSetupExit(&process), 0u);
    ExpectCompleteInstallation(defaultDirectory, "Lumetra");
}

TEST_F(Setup, CancellingTheChoiceDoesNothing)
{
    ASSERT_TRUE(StartSetup(&process, "", workDirectory));
    HWND choice = ExpectDialog(&process, "Install");
    ASSERT_NE(choice, (HWND)NULL);
    RobotClick(choice, IDCANCEL);
    EXPECT_EQ(WaitSetupExit(&process), 0u);
    ExpectNothingInstalled();
    EXPECT_TRUE(Log().empty()) << Joined(Log());
    ExpectTempClean();
}

TEST_F(Setup, CancellingTheDirectoryPromptEndsTheRun)
{
    ASSERT_TRUE(StartSetup(&process, "-i", workDirectory));
    HWND prompt = ExpectDialog(&process, "PROGRAM files directory");
    ASSERT_NE(prompt, (HWND)NULL);
    RobotPressEscape(prompt);
    EXPECT_EQ(AnswerBox(&process, "Lumetra Install", "OK"),
              "Can't continue without a destination directory!");
    EXPECT_EQ(WaitSetupExit(&process), 0u);
    ExpectNothingInstalled();
    ExpectTempClean();
}

TEST_F(Setup, CancellingTheGroupDialogLeavesFilesAndSettingsButNoRecord)
{
    ASSERT_TRUE(StartSetup(&process, "-i", workDirectory));
    HWND prompt = ExpectDialog(&process, "PROGRAM files directory");
    ASSERT_NE(prompt, (HWND)NULL);
    RobotClick(prompt, IDOK);
    HWND group = ExpectDialog(&process, "Program Manager Group");
    ASSERT_NE(group, (HWND)NULL);
    RobotCloseBox(group);
    EXPECT_EQ(AnswerBox(&process, "Lumetra Install", "OK"),
              "Some portion of installation process failed.");
    EXPECT_EQ(WaitSetupExit(&process), 0u);
    ExpectInstalledFiles(defaultDirectory);
    ExpectSettings();
    EXPECT_FALSE(GroupExists("Lumetra"));
    EXPECT_FALSE(RecordSectionExists());
    ExpectTempClean();
}

TEST_F(Setup, SecondInstallationProposesAndQuietlyUsesTheRecord)
{
    WriteProfileStringA("Lumetra", "DIR", "C:\\Other Lumetra");
    WriteProfileStringA("Lumetra", "GROUP", "Veltrane Tools");
    ASSERT_TRUE(StartSetup(&process, "-i", workDirectory));
    HWND prompt = ExpectDialog(&process, "PROGRAM files directory");
    ASSERT_NE(prompt, (HWND)NULL);
    EXPECT_EQ(RobotText(prompt, IDC_DIRECTORY), "C:\\Other Lumetra");
    RobotClick(prompt, IDOK);
    HWND group = ExpectDialog(&process, "Program Manager Group");
    ASSERT_NE(group, (HWND)NULL);
    EXPECT_EQ(RobotText(group, IDC_GROUP_COMBO), "Veltrane Tools");
    RobotClick(group, IDOK);
    AnswerBox(&process, "Congratulations!", "OK");
    EXPECT_EQ(WaitSetupExit(&process), 0u);
    ExpectCompleteInstallation("C:\\Other Lumetra", "Veltrane Tools");

    // Quiet: the recorded values are used without asking.
    DeleteTree("C:\\Other Lumetra");
    DeleteTree(ProgramsFolder() + "\\Veltrane Tools");
    EXPECT_EQ(Run("-installsi"), 0u);
    ExpectCompleteInstallation("C:\\Other Lumetra", "Veltrane Tools");
    DeleteTree(ProgramsFolder() + "\\Veltrane Tools");
}

TEST_F(Setup, FileThatCannotBeCopiedPromptsForTheDiskAndFailsOnCancel)
{
    CreateDirectoryA("C:\\Program Files", NULL);
    CreateDirectoryA(defaultDirectory, NULL);
    // A directory where lumtools.exe must go: the copy cannot replace it.
    std::string blocker = std::string(defaultDirectory) + "\\lumtools.exe";
    ASSERT_TRUE(CreateDirectoryA(blocker.c_str(), NULL)) << "error " << GetLastError();
    ASSERT_TRUE(StartSetup(&process, "-installsi", workDirectory));
    HWND disk = RobotWaitMessageBox("Change disk", 60000, process.info.dwProcessId);
    ASSERT_NE(disk, (HWND)NULL);
    HWND main = SetupMainWindow(&process);
    EXPECT_TRUE(IsIconic(main)) << "quiet mode shows the main window minimised";
    EXPECT_EQ(RobotCaption(main), "Lumetra Install");
    EXPECT_EQ(AnswerBox(&process, "Change disk", "Cancel"), "Insert disk 1 containing lumtools.exe");
    EXPECT_EQ(WaitSetupExit(&process), 0u);
    EXPECT_FALSE(RecordSectionExists());
    std::vector<std::string> log = Log();
    bool copyFailed = false, installFailed = false;
    for (const std::string &line : log) {
        if (line.find("Copy of lumtools.exe to C:\\Program Files\\LumTools failed. (") == 0)
            copyFailed = true;
        if (line == "Some portion of installation process failed.")
            installFailed = true;
    }
    EXPECT_TRUE(copyFailed) << Joined(log);
    EXPECT_TRUE(installFailed) << Joined(log);
}

TEST_F(Setup, InteractiveRemovalThroughTheChoiceDialog)
{
    ASSERT_EQ(Run("-installsi"), 0u);
    ASSERT_TRUE(StartSetup(&process, "", workDirectory));
    HWND choice = ExpectDialog(&process, "Install");
    ASSERT_NE(choice, (HWND)NULL);
    EXPECT_TRUE(RobotEnabled(choice, IDC_REMOVE_CHOICE));
    RobotCheck(choice, IDC_REMOVE_CHOICE);
    RobotClick(choice, IDOK);
    EXPECT_EQ(AnswerBox(&process, "Remove", "OK"), "Removal process complete.\nAll files removed.");
    EXPECT_EQ(WaitSetupExit(&process), 0u);
    ExpectNothingInstalled();
}

TEST_F(Setup, RemovalFromADirectoryWithBlankAndParentheses)
{
    WriteProfileStringA("Lumetra", "DIR", "C:\\Lum Tools (x86)");
    ASSERT_EQ(Run("-installsi"), 0u);
    ExpectCompleteInstallation("C:\\Lum Tools (x86)", "Lumetra");
    EXPECT_EQ(Run("-r -q"), 0u);
    EXPECT_FALSE(PathExists("C:\\Lum Tools (x86)"));
    EXPECT_FALSE(GroupExists("Lumetra"));
    EXPECT_FALSE(RecordSectionExists());
}

TEST_F(Setup, PlantedCompressedFileInTheSharedTemporaryDirectoryIsNotInstalled)
{
    std::string planted = TempDirectory() + "lumtools.ex_";
    ASSERT_TRUE(WriteFileBytes(planted, "planted, not the product"));
    tempBefore = DirectoryEntries(TempDirectory());
    EXPECT_EQ(Run("-installsi"), 0u);
    ExpectCompleteInstallation(defaultDirectory, "Lumetra");
    DeleteFileA(planted.c_str());
}

// Silencing Wine's Program Manager lasts for the whole Wine session, so this
// runs as its own CTest entry (see tests.cmake).
TEST_F(Setup, WithoutProgramManagerInstallationStillSucceeds)
{
    std::string failure;
    ASSERT_TRUE(SilenceProgramManagers(&failure)) << failure;
    ASSERT_EQ(ProgramManagerProcess(), 0u) << "a Program Manager still answers";
    EXPECT_EQ(Run("-installsi"), 0u);
    ExpectInstalledFiles(defaultDirectory);
    ExpectRecord(defaultDirectory, "Lumetra");
    ExpectSettings();
    ExpectLogEndsWithSuccess(defaultDirectory);
    EXPECT_FALSE(GroupExists("Lumetra"));
    ExpectTempClean();
}
