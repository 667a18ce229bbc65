// The file helpers every test program shares: whether a path is there, a
// file's bytes read and written whole, a directory's entries, a tree deleted
// and where pictures go, so that tests check outcomes on disk the same way
// everywhere.
#ifndef LUMSETUP_TEST_FILES_H
#define LUMSETUP_TEST_FILES_H

#include <windows.h>
#include <string>
#include <vector>

// Anything at the path, file or directory.
bool PathExists(const std::string &path);
bool FileExists(const std::string &path);
bool DirectoryExists(const std::string &path);
// The file's bytes; `found` (when given) tells an empty file from a missing one.
std::string ReadFileBytes(const std::string &path, bool *found = NULL);
bool WriteFileBytes(const std::string &path, const std::string &bytes);
// Deletes a file or a directory tree, read-only entries included; true when
// nothing is left.
bool DeleteTree(const std::string &path);
// The names in a directory without "." and ".." (only its subdirectories
// when directoriesOnly); empty when it cannot be listed.
std::vector<std::string> DirectoryEntries(const std::string &directory,
                                          bool directoriesOnly = false);
// Where a documentation picture goes: the directory named by
// LUMSETUP_SCREENSHOT_DIR, else the current one.
std::string ScreenshotPath(const std::string &fileName);

#endif
