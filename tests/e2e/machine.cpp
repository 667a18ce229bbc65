// Reading and resetting the machine state that setup changes.
#include "e2e/machine.h"
#include <shlobj.h>
#include <objbase.h>

std::vector<std::string> ReadLogLines(const std::string &path)
{
    std::vector<std::string> lines;
    bool found = false;
    std::string bytes = ReadFileBytes(path, &found);
    if (!found)
        return lines;
    size_t start = 0, end;
    while ((end = bytes.find("\r\n", start)) != std::string::npos) {
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    if (start < bytes.size())
        lines.push_back(bytes.substr(start) + "<no line end>");
    return lines;
}

std::string RecordValue(const char *key)
{
    char value[1024];
    GetProfileStringA("Lumetra", key, "<absent>", value, sizeof value);
    return value;
}

bool RecordSectionExists(void)
{
    char keys[1024];
    return GetProfileStringA("Lumetra", NULL, "", keys, sizeof keys) > 0;
}

bool RegistryDword(HKEY root, const char *path, const char *name, DWORD *value)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD type = 0, size = sizeof *value;
    LONG result = RegQueryValueExA(key, name, NULL, &type, (BYTE *)value, &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS && type == REG_DWORD && size == 4;
}

bool RegistryKeyExists(HKEY root, const char *path)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void DeleteRegistryKeyTree(HKEY root, const char *path)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    char name[256];
    while (RegEnumKeyA(key, 0, name, sizeof name) == ERROR_SUCCESS) {
        std::string child = std::string(path) + "\\" + name;
        DeleteRegistryKeyTree(root, child.c_str());
        if (RegDeleteKeyA(key, name) != ERROR_SUCCESS)
            break;
    }
    RegCloseKey(key);
    RegDeleteKeyA(root, path);
}

std::string ProgramsFolder(void)
{
    char path[MAX_PATH] = "";
    SHGetFolderPathA(NULL, CSIDL_PROGRAMS, NULL, 0, path);
    return path;
}

bool GroupExists(const std::string &group)
{
    DWORD attributes = GetFileAttributesA((ProgramsFolder() + "\\" + group).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

static ProgramItem ReadShortcut(const std::string &path)
{
    ProgramItem item;
    item.name = path.substr(path.rfind('\\') + 1);
    item.name = item.name.substr(0, item.name.size() - 4);  // ".lnk"
    IShellLinkA *link = NULL;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                (void **)&link)))
        return item;
    IPersistFile *file = NULL;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void **)&file))) {
        WCHAR wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
        if (SUCCEEDED(file->Load(wide, STGM_READ))) {
            char text[MAX_PATH] = "";
            link->GetPath(text, sizeof text, NULL, 0);
            item.target = text;
            text[0] = 0;
            link->GetWorkingDirectory(text, sizeof text);
            item.workingDirectory = text;
        }
        file->Release();
    }
    link->Release();
    return item;
}

std::vector<ProgramItem> GroupItems(const std::string &group)
{
    CoInitialize(NULL);
    std::vector<ProgramItem> items;
    std::string folder = ProgramsFolder() + "\\" + group;
    for (const std::string &name : DirectoryEntries(folder))
        if (name.size() > 4 && lstrcmpiA(name.c_str() + name.size() - 4, ".lnk") == 0)
            items.push_back(ReadShortcut(folder + "\\" + name));
    return items;
}

std::string TempDirectory(void)
{
    char path[MAX_PATH] = "";
    GetTempPathA(sizeof path, path);
    std::string text = path;
    if (!text.empty() && text.back() != '\\')
        text += '\\';
    return text;
}

void ResetMachine(const char *programDirectory)
{
    DeleteTree(programDirectory);
    WriteProfileStringA("Lumetra", NULL, NULL);
    DeleteRegistryKeyTree(HKEY_LOCAL_MACHINE, "Software\\Veltrane");
    DeleteRegistryKeyTree(HKEY_CURRENT_USER, "Software\\Veltrane");
    DeleteTree(ProgramsFolder() + "\\Lumetra");
}
