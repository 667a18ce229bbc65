// File helpers shared by the test programs (see test_files.h).
#include "test_files.h"

bool PathExists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool FileExists(const std::string &path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string &path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadFileBytes(const std::string &path, bool *found)
{
    std::string bytes;
    // Shared access: the product may still hold the file (setup.log) open.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              NULL, OPEN_EXISTING, 0, NULL);
    if (found != NULL)
        *found = file != INVALID_HANDLE_VALUE;
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, NULL) && read > 0)
        bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

bool WriteFileBytes(const std::string &path, const std::string &bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL) &&
              written == bytes.size();
    CloseHandle(file);
    return ok;
}

bool DeleteTree(const std::string &path)
{
    std::string plain = path;
    while (plain.size() > 3 && plain.back() == '\\')
        plain.pop_back();
    DWORD attributes = GetFileAttributesA(plain.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return true;
    SetFileAttributesA(plain.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return DeleteFileA(plain.c_str()) != 0;
    for (const std::string &name : DirectoryEntries(plain))
        DeleteTree(plain + "\\" + name);
    return RemoveDirectoryA(plain.c_str()) != 0;
}

std::vector<std::string> DirectoryEntries(const std::string &directory, bool directoriesOnly)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != ".." &&
            (!directoriesOnly || (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)))
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

std::string ScreenshotPath(const std::string &fileName)
{
    char directory[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("LUMSETUP_SCREENSHOT_DIR", directory, sizeof directory))
        GetCurrentDirectoryA(sizeof directory, directory);
    std::string path = directory;
    if (!path.empty() && path.back() != '\\')
        path += '\\';
    return path + fileName;
}
