// Deletion of a registry key with everything below it, for platforms whose
// plain key deletion refuses a key that still has subkeys.
#include "removal/removal.h"
#include "setup/messages.h"

enum { KEY_NAME_SIZE = 256 };

// Whether the subkey at index is still the one just worked on: a subkey
// that survived its deletion (access rights, another program) stays where
// it was in the enumeration.
static int SubkeyStillAt(HKEY key, DWORD index, const char *name)
{
    char found[KEY_NAME_SIZE];
    return RegEnumKeyA(key, index, found, sizeof found) == ERROR_SUCCESS &&
           lstrcmpiA(found, name) == 0;
}

// Deletes the subkey by recursion from the root; 1 when that recursion
// reported every part deleted. A child path that does not fit is refused:
// the subkey is then left alone.
static int DeleteSubtree(const char *path, const char *name, HKEY root)
{
    char child[KEY_NAME_SIZE];
    if (!FormatText(child, sizeof child, "%s\\%s", path, name))
        return 0;
    return DeleteRegistryTree(child, root);
}

int DeleteRegistryTree(const char *path, HKEY root)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return 0;
    int result = 1;
    DWORD index = 0;
    char name[KEY_NAME_SIZE];
    // Index 0 is taken again after every deleted subkey; one that could not
    // be removed is passed over, so the walk always ends.
    while (RegEnumKeyA(key, index, name, sizeof name) == ERROR_SUCCESS) {
        if (RegDeleteKeyA(key, name) == ERROR_SUCCESS)
            continue;
        if (!DeleteSubtree(path, name, root))
            result = 0;
        if (SubkeyStillAt(key, index, name)) {
            result = 0;
            index++;
        }
    }
    RegCloseKey(key);
    // Fails when a subkey was passed over; the result already says so.
    RegDeleteKeyA(root, path);
    return result;
}
