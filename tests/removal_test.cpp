// Removal of a recorded installation, checked where it lands: the program
// directory, win.ini, the registry, the Start Menu folders of Wine's Program
// Manager, the bytes of "setup.log" and the summary box as the user sees it.
//
// Which Program Manager: the cases of RemovalTest run against Wine's own (the
// prefix's desktop process); each makes sure of that first. The cases of
// RemovalStandinTest come last in this file: they silence Wine's server for
// the rest of the Wine session and record the commands with the stand-in.
//
// A subkey that cannot be deleted: on Wine, key security does not stop a
// deletion (DELETE access is granted whatever the key's DACL says), and a key
// held open by a handle is deleted all the same. A symbolic link key whose
// target does not exist is what survives: RegDeleteKeyA follows the link,
// finds nothing, and the link stays where it was in the enumeration.
#include <gtest/gtest.h>
#include "test_files.h"
#include <windows.h>
#include <sddl.h>
#include <shlobj.h>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>
#include "removal/removal.h"
#include "progman/progman.h"
#include "setup/product.h"
#include "setup/startup.h"
#include "robot/robot.h"
#include "progman_standin/standin_control.h"

namespace {

const char testRoot[] = "C:\\Removal Test";
const char programDirectory[] = "C:\\Removal Test\\LumTools";
const char logPath[] = "C:\\Removal Test\\setup.log";
// Spelled out here, so that a wrong name in the product shows.
const char *const payloadNames[] = { "lumtools.exe", "lumtools.hlp", "lumtools.cnt",
                                     "lumtools.txt", "mib.txt" };
const char *const iconTitles[] = { "Lumetra", "Lumetra Help File", "Lumetra Release Notes" };
const char productKey[] = "Software\\Veltrane\\LumTools";
const char makerKey[] = "Software\\Veltrane";
const char userGroup[] = "Lumetra Test Tools";

// ---- files -------------------------------------------------------------

std::string PayloadPath(const char *name)
{
    return std::string(programDirectory) + "\\" + name;
}

std::string WinIniPath()
{
    char directory[MAX_PATH] = "";
    GetWindowsDirectoryA(directory, sizeof directory);
    return std::string(directory) + "\\win.ini";
}

// ---- the setup log -------------------------------------------------------

// A log line as it lands in the file: text mode writes each LF as CR LF.
std::string Logged(const std::string &text)
{
    std::string bytes;
    for (char c : text + "\n")
        bytes += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return bytes;
}

std::string StartLine()
{
    return Logged(std::string("\nRemoving installation of Lumetra from ") + programDirectory);
}

std::string FileLines(const char *missing = NULL)
{
    std::string bytes;
    for (const char *name : payloadNames) {
        bool failed = missing != NULL && lstrcmpA(name, missing) == 0;
        bytes += Logged("Removing " + PayloadPath(name) + (failed ? " (failed)" : " (ok)"));
    }
    return bytes;
}

std::string IconLines()
{
    std::string bytes;
    for (const char *title : iconTitles)
        bytes += Logged(std::string("Removing icon for ") + title);
    return bytes;
}

const char userKeyLine[] = "Removing HKEY_CURRENT_USER registry entries";
const char machineKeyLine[] = "Removing HKEY_LOCAL_MACHINE registry entries";
const char completeText[] = "Removal process complete.\nAll files removed.";
const char noRecordText[] = "Insufficient information available to\nremove this application.";

std::string IncompleteText()
{
    return std::string("Removal process complete.\nCheck the directory ") + programDirectory +
           " for excess files\nthat caused the removal process to not cleanup entirely.";
}

std::string DirectoryLine(bool removed)
{
    return Logged(std::string("Removing ") + programDirectory + (removed ? " (ok)" : " (failed)"));
}

// ---- the registry --------------------------------------------------------

bool KeyExists(HKEY root, const std::string &path)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), REG_OPTION_OPEN_LINK, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::vector<std::string> Subkeys(HKEY root, const std::string &path)
{
    std::vector<std::string> names;
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), REG_OPTION_OPEN_LINK, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    char name[256];
    for (DWORD i = 0; RegEnumKeyA(key, i, name, sizeof name) == ERROR_SUCCESS; i++)
        names.push_back(name);
    RegCloseKey(key);
    return names;
}

// A key with a value in it, its parents created as needed.
void MakeKey(HKEY root, const std::string &path)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyA(root, path.c_str(), &key), ERROR_SUCCESS) << path;
    DWORD value = 1;
    RegSetValueExA(key, "Value", 0, REG_DWORD, (const BYTE *)&value, sizeof value);
    RegCloseKey(key);
}

typedef LONG(WINAPI *NtDeleteKeyFunction)(HANDLE);

// The test's own cleanup: deletes links themselves, never their targets.
void WipeKey(HKEY root, const std::string &path)
{
    for (const std::string &name : Subkeys(root, path))
        WipeKey(root, path + "\\" + name);
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), REG_OPTION_OPEN_LINK, DELETE, &key) != ERROR_SUCCESS)
        return;
    static NtDeleteKeyFunction deleteKey =
        (NtDeleteKeyFunction)GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtDeleteKey");
    deleteKey(key);
    RegCloseKey(key);
}

std::string UserKeyNativePath(const std::string &path)
{
    HANDLE token;
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
    char buffer[256];
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size);
    CloseHandle(token);
    char *sid = NULL;
    ConvertSidToStringSidA(((TOKEN_USER *)buffer)->User.Sid, &sid);
    std::string native = std::string("\\Registry\\User\\") + (sid ? sid : "") + "\\" + path;
    LocalFree(sid);
    return native;
}

// A subkey under HKEY_CURRENT_USER that RegDeleteKeyA cannot remove: a link
// to a key that does not exist.
void MakeStuckKey(const std::string &path)
{
    HKEY link;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, NULL,
                              REG_OPTION_CREATE_LINK | REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS | KEY_CREATE_LINK, NULL, &link, NULL),
              ERROR_SUCCESS) << path;
    std::string target = UserKeyNativePath("Software\\Veltrane\\Nowhere");
    std::wstring wide(target.begin(), target.end());
    RegSetValueExW(link, L"SymbolicLinkValue", 0, REG_LINK, (const BYTE *)wide.data(),
                   (DWORD)(wide.size() * sizeof(wchar_t)));
    RegCloseKey(link);
    ASSERT_NE(RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str()), ERROR_SUCCESS)
        << "the link key was deleted: it cannot stand for a key that survives";
}

// ---- Program Manager -----------------------------------------------------

std::string GroupFolder(const std::string &group)
{
    char path[MAX_PATH] = "";
    SHGetFolderPathA(NULL, CSIDL_PROGRAMS, NULL, 0, path);
    return std::string(path) + "\\" + group;
}

// The group with the three items, as an installation makes it.
void CreateInstalledGroup(const char *group)
{
    ASSERT_EQ(ProgmanCreateGroup(group), 1);
    for (int i = 0; i < 3; i++) {
        std::string file = PayloadPath(i == 0 ? "lumtools.exe" : i == 1 ? "lumtools.hlp"
                                                                         : "lumtools.txt");
        ProgmanAddItem(iconTitles[i], programDirectory, file.c_str(), file.c_str());
    }
    ProgmanUninitialize();
    ASSERT_EQ(DirectoryEntries(GroupFolder(group)).size(), 3u)
        << "the installed group holds " << testing::PrintToString(DirectoryEntries(GroupFolder(group)));
}

// ---- running the removal -------------------------------------------------

struct Box {
    std::string caption;
    std::string text;
    bool informationIcon;
    bool ownedByOwner;
};

// A stand-in for the main window, owner of the summary box.
HWND CreateOwner()
{
    return CreateWindowExA(0, "STATIC", "Lumetra Install", WS_POPUP, 0, 0, 100, 100, NULL, NULL,
                           NULL, NULL);
}

// Runs RemoveInstallation on this thread while a robot reads and closes
// every "Remove" box that appears.
std::vector<Box> RemoveWatchingBoxes(int *result)
{
    std::vector<Box> boxes;
    std::atomic<bool> done(false);
    HWND owner = CreateOwner();
    std::thread robot([&] {
        while (!done) {
            HWND window = RobotWaitMessageBox("Remove", 200, GetCurrentProcessId());
            if (window == NULL)
                continue;
            RobotMessageBox read;
            RobotReadMessageBox(window, &read);
            boxes.push_back({ read.caption, read.text,
                              read.icon != NULL && read.icon == LoadIconA(NULL, IDI_INFORMATION),
                              GetWindow(window, GW_OWNER) == owner });
            RobotPressMessageBoxButton(window, "OK");
            RobotWaitGone(window);
        }
    });
    *result = RemoveInstallation(owner);
    done = true;
    robot.join();
    DestroyWindow(owner);
    return boxes;
}

DWORD WINAPI RunCall(void *call)
{
    (*(std::function<void()> *)call)();
    return 0;
}

// For cases that hung before: the call runs on a second thread and the test
// fails, instead of hanging, when it has not ended within two minutes.
bool EndsInTime(std::function<void()> call)
{
    HANDLE thread = CreateThread(NULL, 0, RunCall, &call, 0, NULL);
    DWORD start = GetTickCount();
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, 1000, QS_ALLINPUT) != WAIT_OBJECT_0) {
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        if (GetTickCount() - start > 120000) {
            TerminateThread(thread, 1);
            CloseHandle(thread);
            return false;
        }
    }
    CloseHandle(thread);
    return true;
}

// ---- the installation the cases remove --------------------------------------

void WriteRecord(const char *group)
{
    WriteProfileStringA("Lumetra", "DIR", programDirectory);
    WriteProfileStringA("Lumetra", "DEFDIR", programDirectory);
    WriteProfileStringA("Lumetra", "GROUP", group);
    WriteProfileStringA("Lumetra", "INSTOPTS", "1");
}

void InstallFiles()
{
    ASSERT_TRUE(CreateDirectoryA(programDirectory, NULL)) << "error " << GetLastError();
    for (const char *name : payloadNames)
        ASSERT_TRUE(WriteFileBytes(PayloadPath(name), std::string("payload ") + name));
}

// Keys with subkeys under both roots, as the installed program leaves them,
// and a sibling of the product's key that must survive.
void InstallKeys()
{
    MakeKey(HKEY_LOCAL_MACHINE, std::string(productKey) + "\\Settings");
    MakeKey(HKEY_LOCAL_MACHINE, std::string(productKey) + "\\Settings\\Trace\\Levels");
    MakeKey(HKEY_CURRENT_USER, std::string(productKey) + "\\Window\\Placement");
    MakeKey(HKEY_CURRENT_USER, std::string(productKey) + "\\Recent");
    MakeKey(HKEY_CURRENT_USER, "Software\\Veltrane\\LumToolsExtra");
}

void WipeKeys()
{
    WipeKey(HKEY_CURRENT_USER, makerKey);
    WipeKey(HKEY_LOCAL_MACHINE, makerKey);
}

const char *const testGroups[] = { "Lumetra", "Lumetra Tools", userGroup };

class RemovalFixture : public testing::Test {
protected:
    char savedDirectory[MAX_PATH] = "";

    void Clean()
    {
        WriteProfileStringA("Lumetra", NULL, NULL);
        WipeKeys();
        for (const char *group : testGroups)
            DeleteTree(GroupFolder(group));
        DeleteTree(testRoot);
        lstrcpyA(groupName, "Lumetra");
        setupOptions.quiet = 0;
    }

    void SetUp() override
    {
        GetCurrentDirectoryA(sizeof savedDirectory, savedDirectory);
        Clean();
        ASSERT_TRUE(CreateDirectoryA(testRoot, NULL)) << "error " << GetLastError();
        // setup.log is written in the current directory.
        SetCurrentDirectoryA(testRoot);
    }

    void TearDown() override
    {
        ProgmanUninitialize();
        SetCurrentDirectoryA(savedDirectory);
        Clean();
    }

    void ExpectAllGone()
    {
        EXPECT_FALSE(PathExists(programDirectory));
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, productKey));
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, productKey));
        char value[16] = "";
        EXPECT_EQ(GetProfileStringA("Lumetra", NULL, "", value, sizeof value), 0u)
            << "the section still has keys";
    }
};

class RemovalTest : public RemovalFixture {
protected:
    void SetUp() override
    {
        RemovalFixture::SetUp();
        DWORD desktopProcess = 0;
        GetWindowThreadProcessId(GetDesktopWindow(), &desktopProcess);
        ASSERT_EQ(ProgramManagerProcess(), desktopProcess)
            << "PROGMAN is not answered by Wine's desktop process";
    }

    void InstallEverything(const char *group = "Lumetra")
    {
        InstallFiles();
        CreateInstalledGroup("Lumetra");
        InstallKeys();
        WriteRecord(group);
    }
};

TEST_F(RemovalTest, WithoutARecordedDirectoryNothingIsTouched)
{
    struct Row {
        const char *what;
        bool quiet;
        bool emptyDir;  // a section whose DIR is present but empty
    } rows[] = {
        { "no section", false, false },
        { "no section, quiet", true, false },
        { "DIR empty", false, true },
    };
    InstallEverything();
    WriteProfileStringA("Lumetra", NULL, NULL);
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        DeleteFileA(logPath);
        if (row.emptyDir)
            WriteProfileStringA("Lumetra", "DIR", "");
        std::string iniBefore = ReadFileBytes(WinIniPath());
        setupOptions.quiet = row.quiet;
        int result = -1;
        std::vector<Box> boxes = RemoveWatchingBoxes(&result);
        EXPECT_EQ(result, 0);
        EXPECT_EQ(ReadFileBytes(logPath), Logged(noRecordText));
        if (row.quiet) {
            EXPECT_TRUE(boxes.empty()) << "a box in quiet mode: " << boxes[0].text;
        } else {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].caption, "Remove");
            EXPECT_EQ(boxes[0].text, noRecordText);
            EXPECT_TRUE(boxes[0].informationIcon);
            EXPECT_TRUE(boxes[0].ownedByOwner);
        }
        EXPECT_EQ(ReadFileBytes(WinIniPath()), iniBefore);
        for (const char *name : payloadNames)
            EXPECT_TRUE(PathExists(PayloadPath(name))) << name;
        EXPECT_EQ(DirectoryEntries(GroupFolder("Lumetra")).size(), 3u);
        EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, std::string(productKey) + "\\Window\\Placement"));
        EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, std::string(productKey) + "\\Settings"));
    }
}

// The whole installation goes, quiet or not, with the same log byte for byte.
TEST_F(RemovalTest, AFullInstallationIsRemovedEverywhere)
{
    const std::string expectedLog = StartLine() + FileLines() + IconLines() +
                                    Logged(userKeyLine) + Logged(machineKeyLine) +
                                    DirectoryLine(true) + Logged(completeText);
    for (bool quiet : { false, true }) {
        SCOPED_TRACE(quiet ? "quiet" : "with boxes");
        InstallEverything();
        DeleteFileA(logPath);
        WriteProfileStringA("Other", "Kept", "yes");
        setupOptions.quiet = quiet;
        int result = -1;
        std::vector<Box> boxes = RemoveWatchingBoxes(&result);
        EXPECT_EQ(result, 0);
        EXPECT_EQ(ReadFileBytes(logPath), expectedLog);
        ExpectAllGone();
        EXPECT_FALSE(PathExists(GroupFolder("Lumetra")))
            << "the group holds " << testing::PrintToString(DirectoryEntries(GroupFolder("Lumetra")));
        EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software\\Veltrane\\LumToolsExtra"));
        char kept[8] = "";
        GetProfileStringA("Other", "Kept", "", kept, sizeof kept);
        EXPECT_STREQ(kept, "yes");
        if (quiet) {
            EXPECT_TRUE(boxes.empty()) << "a box in quiet mode: " << boxes[0].text;
        } else {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].caption, "Remove");
            EXPECT_EQ(boxes[0].text, completeText);
            EXPECT_TRUE(boxes[0].informationIcon);
            EXPECT_TRUE(boxes[0].ownedByOwner);
        }
        WriteProfileStringA("Other", NULL, NULL);
    }
}

// Program Manager deletes items from its active group: the user's own group,
// opened after the installation, holds an item with one of our titles.
TEST_F(RemovalTest, ItemsOfTheUsersActiveGroupAreLeftAlone)
{
    InstallEverything();
    ASSERT_EQ(ProgmanCreateGroup(userGroup), 1);
    ProgmanAddItem("Lumetra Help File", "C:\\windows", "C:\\windows\\notepad.exe",
                   "C:\\windows\\notepad.exe");
    ProgmanUninitialize();
    ASSERT_TRUE(PathExists(GroupFolder(userGroup) + "\\Lumetra Help File.lnk"));
    setupOptions.quiet = 1;
    int result = -1;
    RemoveWatchingBoxes(&result);
    EXPECT_EQ(DirectoryEntries(GroupFolder(userGroup)),
              std::vector<std::string>({ "Lumetra Help File.lnk" }));
    EXPECT_FALSE(PathExists(GroupFolder("Lumetra")));
    ExpectAllGone();
}

TEST_F(RemovalTest, WithoutAGroupKeyTheGroupLumetraIsDeleted)
{
    InstallEverything();
    WriteProfileStringA("Lumetra", "GROUP", NULL);
    lstrcpyA(groupName, "Lumetra");
    int result = -1;
    std::vector<Box> boxes = RemoveWatchingBoxes(&result);
    EXPECT_FALSE(PathExists(GroupFolder("Lumetra")))
        << "the group holds " << testing::PrintToString(DirectoryEntries(GroupFolder("Lumetra")));
    ExpectAllGone();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, completeText);
}

// An empty GROUP stops removal after the files: only they and the record go.
TEST_F(RemovalTest, AnEmptyGroupLeavesIconsKeysAndDirectory)
{
    InstallEverything("");
    int result = -1;
    std::vector<Box> boxes = RemoveWatchingBoxes(&result);
    EXPECT_EQ(ReadFileBytes(logPath), StartLine() + FileLines() + Logged(IncompleteText()));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Remove");
    EXPECT_EQ(boxes[0].text, IncompleteText());
    EXPECT_TRUE(boxes[0].informationIcon);
    EXPECT_TRUE(DirectoryEntries(programDirectory).empty());
    EXPECT_TRUE(PathExists(programDirectory));
    EXPECT_EQ(DirectoryEntries(GroupFolder("Lumetra")).size(), 3u);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, std::string(productKey) + "\\Window\\Placement"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, std::string(productKey) + "\\Settings\\Trace"));
    char value[16] = "";
    EXPECT_EQ(GetProfileStringA("Lumetra", NULL, "", value, sizeof value), 0u);
    EXPECT_STREQ(groupName, "Lumetra");
}

TEST_F(RemovalTest, AMissingPayloadFileIsLoggedAsFailedAndTheRestGoesOn)
{
    InstallEverything();
    ASSERT_TRUE(DeleteFileA(PayloadPath("lumtools.cnt").c_str()));
    int result = -1;
    std::vector<Box> boxes = RemoveWatchingBoxes(&result);
    EXPECT_EQ(ReadFileBytes(logPath), StartLine() + FileLines("lumtools.cnt") + IconLines() +
                                      Logged(userKeyLine) + Logged(machineKeyLine) +
                                      DirectoryLine(true) + Logged(completeText));
    ExpectAllGone();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, completeText);
}

TEST_F(RemovalTest, AUsersOwnFileKeepsTheDirectory)
{
    InstallEverything();
    const std::string notes = std::string(programDirectory) + "\\my notes.txt";
    ASSERT_TRUE(WriteFileBytes(notes, "mine\r\n"));
    int result = -1;
    std::vector<Box> boxes = RemoveWatchingBoxes(&result);
    EXPECT_EQ(ReadFileBytes(logPath), StartLine() + FileLines() + IconLines() + Logged(userKeyLine) +
                                      Logged(machineKeyLine) + DirectoryLine(false) +
                                      Logged(IncompleteText()));
    EXPECT_EQ(DirectoryEntries(programDirectory), std::vector<std::string>({ "my notes.txt" }));
    EXPECT_EQ(ReadFileBytes(notes), "mine\r\n");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, IncompleteText());
    EXPECT_TRUE(boxes[0].informationIcon);
    EXPECT_FALSE(PathExists(GroupFolder("Lumetra")));
}

// Only a key that the plain deletion refuses is logged, and it goes anyway.
TEST_F(RemovalTest, RegistryKeysAreRemovedAndLoggedWhenThePlainDeletionFails)
{
    struct Row {
        const char *what;
        std::vector<std::string> userKeys;     // below the product key; "" is the key itself
        std::vector<std::string> machineKeys;
        bool userLine;
        bool machineLine;
    } rows[] = {
        { "no key under HKEY_CURRENT_USER", {}, { "\\Settings" }, true, true },
        { "keys without subkeys", { "" }, { "" }, false, false },
        { "nested subkeys under HKEY_CURRENT_USER", { "\\A\\B\\C", "\\A\\D", "\\E" }, { "" },
          true, false },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        InstallFiles();
        CreateInstalledGroup("Lumetra");
        WriteRecord("Lumetra");
        for (const std::string &path : row.userKeys)
            MakeKey(HKEY_CURRENT_USER, productKey + path);
        for (const std::string &path : row.machineKeys)
            MakeKey(HKEY_LOCAL_MACHINE, productKey + path);
        DeleteFileA(logPath);
        setupOptions.quiet = 1;
        int result = -1;
        RemoveWatchingBoxes(&result);
        std::string expected = StartLine() + FileLines() + IconLines() +
                               (row.userLine ? Logged(userKeyLine) : "") +
                               (row.machineLine ? Logged(machineKeyLine) : "") +
                               DirectoryLine(true) + Logged(completeText);
        EXPECT_EQ(ReadFileBytes(logPath), expected);
        ExpectAllGone();
        Clean();
        CreateDirectoryA(testRoot, NULL);
    }
}

// A subkey that survives its deletion no longer makes the removal hang.
TEST_F(RemovalTest, ASubkeyThatCannotBeDeletedDoesNotStopTheRemoval)
{
    InstallEverything();
    ASSERT_NO_FATAL_FAILURE(MakeStuckKey(std::string(productKey) + "\\Window\\Stuck"));
    setupOptions.quiet = 1;
    ASSERT_TRUE(EndsInTime([] { RemoveInstallation(NULL); })) << "the removal did not end";
    EXPECT_EQ(ReadFileBytes(logPath), StartLine() + FileLines() + IconLines() + Logged(userKeyLine) +
                                      Logged(machineKeyLine) + DirectoryLine(true) +
                                      Logged(completeText));
    // Only the stuck key and the keys above it are left.
    EXPECT_EQ(Subkeys(HKEY_CURRENT_USER, productKey), std::vector<std::string>({ "Window" }));
    EXPECT_EQ(Subkeys(HKEY_CURRENT_USER, std::string(productKey) + "\\Window"),
              std::vector<std::string>({ "Stuck" }));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, productKey));
    EXPECT_FALSE(PathExists(programDirectory));
    EXPECT_FALSE(PathExists(GroupFolder("Lumetra")));
    char value[16] = "";
    EXPECT_EQ(GetProfileStringA("Lumetra", NULL, "", value, sizeof value), 0u);
}

// ---- DeleteRegistryTree on its own -----------------------------------------

class RegistryTreeTest : public testing::Test {
protected:
    void SetUp() override { WipeKeys(); }
    void TearDown() override { WipeKeys(); }
};

TEST_F(RegistryTreeTest, NestedSubkeysAreDeletedDepthFirst)
{
    for (HKEY root : { HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE }) {
        SCOPED_TRACE(root == HKEY_CURRENT_USER ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE");
        for (const char *path : { "\\A\\B\\C\\D", "\\A\\B\\E", "\\A\\F", "\\G" })
            MakeKey(root, std::string(productKey) + path);
        MakeKey(root, "Software\\Veltrane\\LumToolsExtra");
        ASSERT_NE(RegDeleteKeyA(root, productKey), ERROR_SUCCESS)
            << "this platform deletes keys with subkeys in one call";
        EXPECT_EQ(DeleteRegistryTree(productKey, root), 1);
        EXPECT_FALSE(KeyExists(root, productKey));
        EXPECT_EQ(Subkeys(root, makerKey), std::vector<std::string>({ "LumToolsExtra" }));
    }
}

TEST_F(RegistryTreeTest, AKeyThatCannotBeOpenedGivesZero)
{
    MakeKey(HKEY_CURRENT_USER, makerKey);
    EXPECT_EQ(DeleteRegistryTree(productKey, HKEY_CURRENT_USER), 0);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, makerKey));
}

// The stuck key sits between others: those before and after it still go.
TEST_F(RegistryTreeTest, ASurvivingSubkeyIsPassedOverAndTheTreeGivesZero)
{
    const std::string key = productKey;
    MakeKey(HKEY_CURRENT_USER, key + "\\Alpha\\One");
    MakeKey(HKEY_CURRENT_USER, key + "\\Middle");
    ASSERT_NO_FATAL_FAILURE(MakeStuckKey(key + "\\Middle\\Stuck"));
    MakeKey(HKEY_CURRENT_USER, key + "\\Middle\\Zulu\\Two");
    MakeKey(HKEY_CURRENT_USER, key + "\\Zulu\\Three");
    int result = -1;
    ASSERT_TRUE(EndsInTime([&] { result = DeleteRegistryTree(key.c_str(), HKEY_CURRENT_USER); }))
        << "DeleteRegistryTree did not end";
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Subkeys(HKEY_CURRENT_USER, key), std::vector<std::string>({ "Middle" }));
    EXPECT_EQ(Subkeys(HKEY_CURRENT_USER, key + "\\Middle"), std::vector<std::string>({ "Stuck" }));
}

// ---- the commands, recorded by the stand-in (last: silences Wine's server) ----

std::string Sent(const std::string &text)
{
    return text + std::string(1, '\0');
}

class RemovalStandinTest : public RemovalFixture {
protected:
    Standin standin;

    static void SetUpTestSuite()
    {
        std::string failure;
        ASSERT_TRUE(SilenceProgramManagers(&failure)) << failure;
    }

    void TearDown() override
    {
        StopStandin(&standin);
        RemovalFixture::TearDown();
    }
};

TEST_F(RemovalStandinTest, ShowGroupComesFirstAndARejectedOneStopsTheItemDeletions)
{
    struct Row {
        const char *what;
        bool reject;
        std::vector<std::string> commands;
    } rows[] = {
        { "accepting stand-in", false,
          { Sent("[ShowGroup(Lumetra Tools,1)]"), Sent("[DeleteItem(\"Lumetra\")]"),
            Sent("[DeleteItem(\"Lumetra Help File\")]"),
            Sent("[DeleteItem(\"Lumetra Release Notes\")]"), Sent("[DeleteGroup(Lumetra Tools)]") } },
        { "stand-in rejecting every command", true,
          { Sent("[ShowGroup(Lumetra Tools,1)]"), Sent("[DeleteGroup(Lumetra Tools)]") } },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        StandinOptions options;
        options.reject = row.reject;
        std::string failure;
        ASSERT_TRUE(StartStandin(&standin, options, &failure)) << failure;
        InstallFiles();
        MakeKey(HKEY_LOCAL_MACHINE, std::string(productKey) + "\\Settings");
        WriteRecord("Lumetra Tools");
        DeleteFileA(logPath);
        setupOptions.quiet = 1;
        int result = -1;
        std::vector<Box> boxes = RemoveWatchingBoxes(&result);
        EXPECT_EQ(StandinCommands(standin), row.commands);
        EXPECT_TRUE(boxes.empty());
        // The icon lines are logged whatever Program Manager answered.
        EXPECT_EQ(ReadFileBytes(logPath), StartLine() + FileLines() + IconLines() +
                                          Logged(userKeyLine) + Logged(machineKeyLine) +
                                          DirectoryLine(true) + Logged(completeText));
        EXPECT_STREQ(groupName, "Lumetra Tools");
        ExpectAllGone();
        StopStandin(&standin);
        Clean();
        CreateDirectoryA(testRoot, NULL);
    }
}

}  // namespace
