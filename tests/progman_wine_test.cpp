// The Program Manager client against Wine's own Program Manager, the DDE
// server of the prefix's desktop process: a group is a folder of the Start
// Menu's Programs folder and an item a shortcut in it, so the outcome of each
// command is checked there.
//
// Which server: no stand-in runs in this program; each test first checks that
// "PROGMAN" is answered by the process that owns the desktop window.
// Wine's server crashes on DeleteItem before any CreateGroup or ShowGroup, so
// every test names its group first, as removal does.
#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>
#include <string>
#include <vector>
#include "progman/progman.h"
#include "progman_standin/standin_control.h"
#include "test_files.h"

namespace {

const char testGroup[] = "Lumetra Test Group";
const char notepad[] = "C:\\windows\\notepad.exe";

std::string ProgramsFolder()
{
    char path[MAX_PATH] = "";
    SHGetFolderPathA(NULL, CSIDL_PROGRAMS, NULL, 0, path);
    return path;
}

std::string GroupFolder(const std::string &group)
{
    return ProgramsFolder() + "\\" + group;
}

struct Shortcut {
    bool loaded = false;
    std::string target;
    std::string workingDirectory;
};

Shortcut ReadShortcut(const std::string &path)
{
    Shortcut shortcut;
    IShellLinkA *link = NULL;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                (void **)&link)))
        return shortcut;
    IPersistFile *file = NULL;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void **)&file))) {
        WCHAR widePath[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH);
        if (SUCCEEDED(file->Load(widePath, STGM_READ))) {
            char text[MAX_PATH] = "";
            link->GetPath(text, sizeof text, NULL, 0);
            shortcut.target = text;
            text[0] = 0;
            link->GetWorkingDirectory(text, sizeof text);
            shortcut.workingDirectory = text;
            shortcut.loaded = true;
        }
        file->Release();
    }
    link->Release();
    return shortcut;
}

std::string Lower(std::string text)
{
    CharLowerBuffA(&text[0], (DWORD)text.size());
    return text;
}

std::vector<std::string> ListedGroups()
{
    std::vector<std::string> entries;
    HWND combo = CreateWindowExA(0, "COMBOBOX", "", WS_POPUP | CBS_DROPDOWN, 0, 0, 200, 200, NULL,
                                 NULL, NULL, NULL);
    if (ProgmanListGroups(combo) != NULL) {
        int count = (int)SendMessageA(combo, CB_GETCOUNT, 0, 0);
        for (int i = 0; i < count; i++) {
            char text[GROUP_LIST_SIZE] = "";
            SendMessageA(combo, CB_GETLBTEXT, i, (LPARAM)text);
            entries.push_back(text);
        }
    }
    DestroyWindow(combo);
    return entries;
}

bool Contains(const std::vector<std::string> &names, const std::string &name)
{
    for (const std::string &entry : names)
        if (entry == name)
            return true;
    return false;
}

class WineProgmanTest : public testing::Test {
protected:
    std::vector<std::string> groups;

    void SetUp() override
    {
        CoInitialize(NULL);
        DWORD desktopProcess = 0;
        GetWindowThreadProcessId(GetDesktopWindow(), &desktopProcess);
        DWORD server = ProgramManagerProcess();
        ASSERT_NE(server, 0u) << "nothing answers PROGMAN";
        ASSERT_EQ(server, desktopProcess) << "PROGMAN is answered by another process than Wine's desktop";
        Use(testGroup);
    }

    void TearDown() override
    {
        ProgmanUninitialize();
        for (const std::string &group : groups)
            DeleteTree(GroupFolder(group));
        CoUninitialize();
    }

    // A group this test may create: gone before and after the test.
    void Use(const std::string &group)
    {
        DeleteTree(GroupFolder(group));
        groups.push_back(group);
    }
};

TEST_F(WineProgmanTest, AGroupIsCreatedFilledListedEmptiedAndDeleted)
{
    std::string folder = GroupFolder(testGroup);
    std::string shortcut = folder + "\\Lumetra Notes.lnk";
    ASSERT_EQ(ProgmanCreateGroup(testGroup), 1);
    EXPECT_TRUE(DirectoryExists(folder)) << folder;

    EXPECT_EQ(ProgmanAddItem("Lumetra Notes", "C:\\windows", notepad, notepad), 1);
    // The second addition replaces the first (DeleteItem goes first).
    EXPECT_EQ(ProgmanAddItem("Lumetra Notes", "C:\\windows", notepad, notepad), 1);
    EXPECT_EQ(DirectoryEntries(folder), std::vector<std::string>({ "Lumetra Notes.lnk" }));
    Shortcut item = ReadShortcut(shortcut);
    ASSERT_TRUE(item.loaded) << shortcut;
    EXPECT_EQ(Lower(item.target), Lower(notepad));
    EXPECT_EQ(Lower(item.workingDirectory), "c:\\windows");

    std::vector<std::string> listed = ListedGroups();
    EXPECT_TRUE(Contains(listed, testGroup)) << "listed: " << testing::PrintToString(listed);
    EXPECT_TRUE(Contains(listed, "StartUp")) << "listed: " << testing::PrintToString(listed);
    EXPECT_EQ(listed.size(), DirectoryEntries(ProgramsFolder(), true).size())
        << "one entry per folder of " << ProgramsFolder();

    EXPECT_EQ(ProgmanDeleteItem("Lumetra Notes", notepad), 1);
    EXPECT_FALSE(PathExists(shortcut));
    EXPECT_EQ(ProgmanDeleteGroup(testGroup), 1);
    EXPECT_FALSE(PathExists(folder));
}

// Removal starts a new instance and names the group before deleting items.
TEST_F(WineProgmanTest, RemovalShowsTheGroupThenDeletesItemAndGroup)
{
    std::string folder = GroupFolder(testGroup);
    ASSERT_EQ(ProgmanCreateGroup(testGroup), 1);
    ProgmanAddItem("Lumetra Notes", "C:\\windows", notepad, notepad);
    ProgmanUninitialize();
    ASSERT_TRUE(PathExists(folder + "\\Lumetra Notes.lnk"));

    ASSERT_EQ(ProgmanInitialize(), 1);
    EXPECT_EQ(ProgmanShowGroup(testGroup), 1);
    EXPECT_EQ(ProgmanDeleteItem("Lumetra Notes", notepad), 1);
    EXPECT_FALSE(PathExists(folder + "\\Lumetra Notes.lnk"));
    EXPECT_EQ(ProgmanDeleteGroup(testGroup), 1);
    EXPECT_FALSE(PathExists(folder));
}

// Before the mend, this name created "Tools" and deleted the StartUp group.
TEST_F(WineProgmanTest, AGroupNameWithCommandCharactersIsOneGroup)
{
    const std::string injected = "Tools)][DeleteGroup(StartUp";
    Use(injected);
    Use("Tools");
    ASSERT_TRUE(DirectoryExists(GroupFolder("StartUp")))
        << "the prefix has no StartUp group to guard";
    ASSERT_EQ(ProgmanCreateGroup(injected.c_str()), 1);
    EXPECT_TRUE(DirectoryExists(GroupFolder(injected)));
    EXPECT_FALSE(PathExists(GroupFolder("Tools")));
    EXPECT_TRUE(DirectoryExists(GroupFolder("StartUp")));

    EXPECT_EQ(ProgmanDeleteGroup(injected.c_str()), 1);
    EXPECT_FALSE(PathExists(GroupFolder(injected)));
    EXPECT_TRUE(DirectoryExists(GroupFolder("StartUp")));
}

// Before the mend, "C:\Old (2)" broke the AddItem command and no item came.
TEST_F(WineProgmanTest, AWorkingDirectoryWithParenthesesAndCommaArrivesWhole)
{
    const char directory[] = "C:\\Old (2), new";
    std::string folder = GroupFolder(testGroup);
    ASSERT_EQ(ProgmanCreateGroup(testGroup), 1);
    EXPECT_EQ(ProgmanAddItem("Old Notes", directory, notepad, notepad), 1);
    Shortcut item = ReadShortcut(folder + "\\Old Notes.lnk");
    ASSERT_TRUE(item.loaded) << "no shortcut; the group holds "
                             << testing::PrintToString(DirectoryEntries(folder));
    EXPECT_EQ(item.workingDirectory, directory);
    EXPECT_EQ(Lower(item.target), Lower(notepad));
}

TEST_F(WineProgmanTest, AGroupNameWithADoubleQuoteIsNotSent)
{
    std::vector<std::string> before = DirectoryEntries(ProgramsFolder());
    EXPECT_EQ(ProgmanCreateGroup("Say \"Hi\""), 1);
    EXPECT_EQ(DirectoryEntries(ProgramsFolder()), before);
}

}  // namespace
