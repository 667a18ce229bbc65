// The system's own LZ32 library against our packer: every fixture pair the
// host tool wrote (`szdd fixtures DIR`: NAME.szdd packed by us, NAME.plain
// the original, listed in fixtures.txt) must expand byte-exact through
// LZOpenFileA/LZCopy, the path setup takes for the payload. lz32.dll is
// loaded from the system directory by full path, as the product does not
// link it for this test.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The cross build passes its directory; elsewhere the fixtures are looked
// for under the current directory.
#ifndef BUILD_DIR
#define BUILD_DIR "."
#endif

namespace {

typedef INT(WINAPI* LZOpenFileAProc)(LPSTR, LPOFSTRUCT, WORD);
typedef LONG(WINAPI* LZCopyProc)(INT, INT);
typedef void(WINAPI* LZCloseProc)(INT);

struct Lz32 {
    HMODULE module;
    LZOpenFileAProc open;
    LZCopyProc copy;
    LZCloseProc close;
};

// Through a generic function type: casting FARPROC straight to another
// signature draws a warning.
template <typename Proc>
Proc FindProc(HMODULE module, const char* name)
{
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

Lz32 LoadLz32()
{
    Lz32 lz = {};
    char path[MAX_PATH];
    UINT len = GetSystemDirectoryA(path, MAX_PATH - 12);
    if (len == 0 || len >= MAX_PATH - 12)
        return lz;
    lstrcatA(path, "\\lz32.dll");
    lz.module = LoadLibraryA(path);
    if (lz.module) {
        lz.open = FindProc<LZOpenFileAProc>(lz.module, "LZOpenFileA");
        lz.copy = FindProc<LZCopyProc>(lz.module, "LZCopy");
        lz.close = FindProc<LZCloseProc>(lz.module, "LZClose");
    }
    return lz;
}

// The build directory as Wine shows it: "/x/y" is "Z:\x\y".
std::string WindowsPath(const std::string& path)
{
    if (path.empty() || path[0] != '/')
        return path;
    std::string out = "Z:";
    for (char c : path)
        out += c == '/' ? '\\' : c;
    return out;
}

std::string FixtureDir()
{
    return WindowsPath(BUILD_DIR) + "\\szdd-fixtures";
}

bool ReadWholeFile(const std::string& path, std::vector<unsigned char>& bytes)
{
    bytes.clear();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    unsigned char chunk[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, chunk, sizeof chunk, &got, NULL) != 0) && got > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    CloseHandle(file);
    return ok;
}

std::vector<std::string> FixtureNames(const std::vector<unsigned char>& list)
{
    std::vector<std::string> names;
    std::string line;
    for (unsigned char c : list) {
        if (c == '\n' || c == '\r') {
            if (!line.empty())
                names.push_back(line);
            line.clear();
        } else {
            line += static_cast<char>(c);
        }
    }
    if (!line.empty())
        names.push_back(line);
    return names;
}

// Expands source into dest through LZ32; returns LZCopy's result, or a
// description of the step that failed in error.
LONG ExpandWithLz32(const Lz32& lz, const std::string& source, const std::string& dest,
                    std::string& error)
{
    OFSTRUCT sourceInfo = {}, destInfo = {};
    std::vector<char> sourceName(source.begin(), source.end()), destName(dest.begin(), dest.end());
    sourceName.push_back('\0');
    destName.push_back('\0');
    INT in = lz.open(sourceName.data(), &sourceInfo, OF_READ);
    if (in < 0) {
        error = "LZOpenFileA(source) gave " + std::to_string(in);
        return in;
    }
    INT out = lz.open(destName.data(), &destInfo, OF_CREATE);
    if (out < 0) {
        error = "LZOpenFileA(dest) gave " + std::to_string(out);
        lz.close(in);
        return out;
    }
    LONG copied = lz.copy(in, out);
    lz.close(in);
    lz.close(out);
    if (copied < 0)
        error = "LZCopy gave " + std::to_string(copied) + ", last error " +
                std::to_string(GetLastError());
    return copied;
}

size_t FirstDifference(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b)
{
    size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i])
        i++;
    return i;
}

TEST(Lz32Peer, ExpandsEveryFixtureByteExact)
{
    Lz32 lz = LoadLz32();
    ASSERT_TRUE(lz.module && lz.open && lz.copy && lz.close)
        << "lz32.dll not loaded, last error " << GetLastError();

    const std::string dir = FixtureDir();
    std::vector<unsigned char> list;
    ASSERT_TRUE(ReadWholeFile(dir + "\\fixtures.txt", list))
        << "no " << dir << "\\fixtures.txt (written by `szdd fixtures`)";
    std::vector<std::string> names = FixtureNames(list);
    ASSERT_FALSE(names.empty()) << "fixtures.txt lists nothing";

    char tempDir[MAX_PATH];
    ASSERT_NE(0u, GetTempPathA(MAX_PATH, tempDir));
    const std::string dest = std::string(tempDir) + "lz32peer.out";
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        std::vector<unsigned char> plain, expanded;
        ASSERT_TRUE(ReadWholeFile(dir + "\\" + name + ".plain", plain)) << "no plain file";
        DeleteFileA(dest.c_str());
        std::string error;
        LONG copied = ExpandWithLz32(lz, dir + "\\" + name + ".szdd", dest, error);
        EXPECT_EQ(static_cast<LONG>(plain.size()), copied) << error;
        ASSERT_TRUE(ReadWholeFile(dest, expanded)) << "no expanded file";
        EXPECT_TRUE(expanded == plain)
            << "got " << expanded.size() << " bytes, want " << plain.size()
            << ", first difference at " << FirstDifference(expanded, plain);
    }
    DeleteFileA(dest.c_str());
    FreeLibrary(lz.module);
}

}  // namespace
