// The installation record and the settings values, checked where they land:
// the bytes of win.ini and the values in Wine's registry.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "setup/record.h"
#include "setup/messages.h"
#include "setup/product.h"
#include "robot/robot.h"
#include "test_files.h"

namespace {

const char winIni[] = "C:\\windows\\win.ini";
// Spelled out here, so that a wrong path in the product shows.
const char settingsPath[] = "Software\\Veltrane\\LumTools\\Settings";
const char productPath[] = "Software\\Veltrane\\LumTools";

// The lines of one section of win.ini as the file holds them, "" when absent.
std::string SectionLines(const std::string &ini, const std::string &section)
{
    size_t start = ini.find("[" + section + "]");
    if (start == std::string::npos)
        return "";
    start = ini.find('\n', start);
    if (start == std::string::npos)
        return "";
    size_t end = ini.find("\n[", start);
    std::string lines = ini.substr(start + 1, end == std::string::npos ? std::string::npos
                                                                         : end - start);
    std::string plain;
    for (char c : lines)
        if (c != '\r')
            plain += c;
    while (!plain.empty() && plain.back() == '\n')
        plain.pop_back();
    return plain;
}

void ClearSection() { WriteProfileStringA("Lumetra", NULL, NULL); }

class RecordTest : public testing::Test {
protected:
    void SetUp() override { ClearSection(); }
    void TearDown() override { ClearSection(); }
};

TEST_F(RecordTest, ReadingFallsBackOnlyForAnAbsentKey)
{
    struct Row {
        const char *what;
        const char *stored;  // NULL: the key is absent
        const char *key;
        const char *defaultText;
        int expectedCount;
        std::string expectedText;
    } rows[] = {
        { "DIR absent", NULL, "DIR", "", 0, "" },
        { "DIR absent, proposal as default", NULL, "DIR", "C:\\Program Files\\LumTools", 25,
          "C:\\Program Files\\LumTools" },
        { "DIR present but empty", "", "DIR", "C:\\Program Files\\LumTools", 0, "" },
        { "DIR recorded", "D:\\Tools\\Lum", "DIR", "", 12, "D:\\Tools\\Lum" },
        { "no GROUP key", NULL, "GROUP", "Lumetra", 7, "Lumetra" },
        { "GROUP empty", "", "GROUP", "Lumetra", 0, "" },
        { "300 characters", "", "GROUP", "Lumetra", 255, std::string(255, 'g') },
    };
    std::string longValue(300, 'g');
    rows[6].stored = longValue.c_str();
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        ClearSection();
        WriteProfileStringA("Lumetra", "INSTOPTS", "1");  // the section exists either way
        if (row.stored != NULL)
            WriteProfileStringA("Lumetra", row.key, row.stored);
        char buffer[TEXT_SIZE + 16];
        memset(buffer, '#', sizeof buffer);
        int count = ReadRecordValue(row.key, row.defaultText, buffer);
        EXPECT_EQ(count, row.expectedCount);
        EXPECT_EQ(std::string(buffer), row.expectedText);
        EXPECT_EQ(std::string(buffer + TEXT_SIZE, 16), std::string(16, '#'))
            << "written past 256 bytes";
    }
}

TEST_F(RecordTest, DefaultMayBeTheBufferReadInto)
{
    char buffer[TEXT_SIZE] = "C:\\Program Files\\LumTools";
    EXPECT_EQ(ReadRecordValue("DIR", buffer, buffer), 25);
    EXPECT_STREQ(buffer, "C:\\Program Files\\LumTools");
}

TEST_F(RecordTest, RecordIsWrittenInOrderAndReplacesAnOlderOne)
{
    WriteProfileStringA("Lumetra", "DIR", "C:\\Old");
    WriteProfileStringA("Lumetra", "GROUP", "Old Group");
    WriteInstallationRecord("C:\\Program Files\\LumTools", "C:\\Program Files\\LumTools",
                            "Lumetra Tools");
    std::string ini = ReadFileBytes(winIni);
    std::string lines = SectionLines(ini, "Lumetra");
    // Keys already present keep their places; the new ones follow in order.
    EXPECT_EQ(lines, "DIR=C:\\Program Files\\LumTools\n"
                     "GROUP=Lumetra Tools\n"
                     "DEFDIR=C:\\Program Files\\LumTools\n"
                     "INSTOPTS=1") << ini;

    ClearSection();
    WriteInstallationRecord("D:\\Lum", "D:\\Data", "Lumetra");
    lines = SectionLines(ReadFileBytes(winIni), "Lumetra");
    EXPECT_EQ(lines, "DIR=D:\\Lum\nDEFDIR=D:\\Data\nGROUP=Lumetra\nINSTOPTS=1");
}

TEST_F(RecordTest, DeletingTheRecordRemovesOnlyItsSection)
{
    WriteProfileStringA("LumetraNeighbour", "Keep", "yes");
    WriteInstallationRecord("C:\\Lum", "C:\\Lum", "Lumetra");
    std::string before = ReadFileBytes(winIni);
    ASSERT_NE(before.find("[Lumetra]"), std::string::npos) << before;
    DeleteInstallationRecord();
    std::string after = ReadFileBytes(winIni);
    EXPECT_EQ(after.find("[Lumetra]"), std::string::npos) << after;
    EXPECT_EQ(after.find("INSTOPTS"), std::string::npos) << after;
    EXPECT_EQ(SectionLines(after, "LumetraNeighbour"), "Keep=yes");
    char value[TEXT_SIZE];
    EXPECT_EQ(GetProfileStringA("Lumetra", "DIR", "", value, sizeof value), 0u);
    WriteProfileStringA("LumetraNeighbour", NULL, NULL);
}

// The settings values as Wine's registry holds them.
struct StoredValue {
    bool present = false;
    DWORD type = 0;
    std::vector<BYTE> data;
};

StoredValue QueryValue(HKEY root, const char *path, const char *name)
{
    StoredValue value;
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return value;
    BYTE data[64];
    DWORD size = sizeof data;
    if (RegQueryValueExA(key, name, NULL, &value.type, data, &size) == ERROR_SUCCESS) {
        value.present = true;
        value.data.assign(data, data + size);
    }
    RegCloseKey(key);
    return value;
}

void SetRawValue(const char *name, DWORD type, const std::vector<BYTE> &data)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, settingsPath, &key), ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, type, data.data(), (DWORD)data.size());
    RegCloseKey(key);
}

bool KeyExists(HKEY root, const char *path)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void DeleteVendorKeys()
{
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Veltrane");
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\Veltrane");
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Veltrane");
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Veltrane");
}

class SettingsTest : public testing::Test {
protected:
    void SetUp() override { DeleteVendorKeys(); }
    void TearDown() override { DeleteVendorKeys(); }
};

const std::vector<BYTE> dwordZero = { 0, 0, 0, 0 };

TEST_F(SettingsTest, RawSockKeepsTwoToFourBytesAndIsResetOtherwise)
{
    struct Row {
        const char *what;
        bool preset;
        DWORD type;
        std::vector<BYTE> stored;
        DWORD expectedType;
        std::vector<BYTE> expected;
    } rows[] = {
        { "absent", false, 0, {}, REG_DWORD, dwordZero },
        { "REG_DWORD 1", true, REG_DWORD, { 1, 0, 0, 0 }, REG_DWORD, { 1, 0, 0, 0 } },
        { "one byte", true, REG_BINARY, { 1 }, REG_DWORD, dwordZero },
        { "two bytes of another type", true, REG_BINARY, { 5, 6 }, REG_BINARY, { 5, 6 } },
        { "three-byte text", true, REG_SZ, { 'a', 'b', 0 }, REG_SZ, { 'a', 'b', 0 } },
        { "eight bytes", true, REG_BINARY, { 1, 2, 3, 4, 5, 6, 7, 8 }, REG_DWORD, dwordZero },
        { "empty", true, REG_BINARY, {}, REG_DWORD, dwordZero },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        DeleteVendorKeys();
        if (row.preset)
            SetRawValue("RawSock", row.type, row.stored);
        WriteSettingsValues();
        StoredValue rawSock = QueryValue(HKEY_LOCAL_MACHINE, settingsPath, "RawSock");
        ASSERT_TRUE(rawSock.present);
        EXPECT_EQ(rawSock.type, row.expectedType);
        EXPECT_EQ(rawSock.data, row.expected);
    }
}

TEST_F(SettingsTest, AppletsIsResetToTheMaskWhateverItHeld)
{
    struct Row {
        const char *what;
        DWORD type;
        std::vector<BYTE> stored;
    } rows[] = {
        { "absent", REG_NONE, {} },
        { "all blocked", REG_DWORD, { 0xFF, 0x03, 0, 0 } },
        { "text", REG_SZ, { 'x', 0 } },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        DeleteVendorKeys();
        if (row.type != REG_NONE)
            SetRawValue("Applets", row.type, row.stored);
        WriteSettingsValues();
        StoredValue applets = QueryValue(HKEY_LOCAL_MACHINE, settingsPath, "Applets");
        ASSERT_TRUE(applets.present);
        EXPECT_EQ(applets.type, (DWORD)REG_DWORD);
        EXPECT_EQ(applets.data, dwordZero);
    }
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Veltrane")) << "written for the user";
}

// A volatile product key takes no lasting subkey: the settings key cannot be
// created, and setup goes on without a word.
TEST_F(SettingsTest, FailedKeyCreationSkipsBothValuesSilently)
{
    HKEY product;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, productPath, 0, NULL, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, NULL, &product, NULL), ERROR_SUCCESS);
    RegCloseKey(product);
    HKEY probe;
    LONG status = RegCreateKeyA(HKEY_LOCAL_MACHINE, settingsPath, &probe);
    if (status == ERROR_SUCCESS) {
        RegCloseKey(probe);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, settingsPath);
        GTEST_SKIP() << "this registry creates lasting keys under volatile ones";
    }
    DeleteFileA("setup.log");
    std::vector<std::string> stray;
    RobotDrive([] { WriteSettingsValues(); return 0; }, [] {}, &stray);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, settingsPath));
    EXPECT_FALSE(QueryValue(HKEY_LOCAL_MACHINE, productPath, "Applets").present);
    EXPECT_FALSE(QueryValue(HKEY_LOCAL_MACHINE, productPath, "RawSock").present);
    EXPECT_TRUE(stray.empty()) << stray[0];
    EXPECT_EQ(GetFileAttributesA("setup.log"), INVALID_FILE_ATTRIBUTES) << "something was logged";
}

}  // namespace
