// What the file-installation tests share: a private scratch directory that
// is also the current directory (so "setup.log" lands there), resource and
// payload source bytes, the log's lines, an owner window, a watch on the
// progress dialog's texts, and a robot that answers the message boxes of a
// call. File bytes and trees come from test_files.h.
#ifndef LUMSETUP_FILES_SUPPORT_H
#define LUMSETUP_FILES_SUPPORT_H

#include <windows.h>
#include <functional>
#include <string>
#include <vector>
#include "test_files.h"

// "Z:\a\b" for the Linux path "/a/b" (Wine's drive Z: is the Linux root).
std::string WinePath(const std::string &linuxPath);

// The bytes of resource `name` of type "EXE" in the module; empty when missing.
std::string ResourceBytes(HMODULE module, const char *name);
// The bytes of the file the build packed as payload `fileName` (the build
// passes the list of payload sources in PAYLOAD_SOURCE_LIST); empty and a
// test failure when there is none.
std::string PayloadSourceBytes(const char *fileName);

// A fresh directory under the temporary directory, made current for its
// lifetime; removed with its contents afterwards.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    // The directory with a trailing backslash.
    const std::string &Path() const { return path_; }
    // Creates a subdirectory and returns its path without a trailing backslash.
    std::string MakeDirectory(const std::string &name) const;
private:
    std::string path_;
    std::string previous_;
};

// The lines of "setup.log" in the current directory, without their line ends.
std::vector<std::string> LogLines();

// Payload status bits cleared, quiet mode off: the state start-up leaves.
void ResetFilesState();

// A visible top-level window of this thread standing in for the main window.
class OwnerWindow {
public:
    OwnerWindow();
    ~OwnerWindow();
    HWND Handle() const { return window_; }
private:
    HWND window_;
};

// Watches this thread's progress dialog "Installation": how many were created
// and every text its status control (954) was given, in order.
class ProgressWatch {
public:
    ProgressWatch();
    ~ProgressWatch();
    int DialogsCreated() const;
    std::vector<std::string> Texts() const;
};

// A message box as the robot found it.
struct SeenBox {
    std::string caption;
    std::string text;
    std::vector<std::string> buttons;
    bool hasIcon;
    HWND owner;
};

// Runs action on this thread while a robot thread answers every message box
// of this process that appears (any dialog but the progress dialog), one
// after the other; answer gets the box and its number and names the button
// to press. Returns the boxes in the order they appeared.
std::vector<SeenBox> RunAnsweringBoxes(
    const std::function<void()> &action,
    const std::function<std::string(const SeenBox &box, int index)> &answer);

// Answers every box with OK, or with Cancel (where a box is not expected and
// a prompt must not be retried for ever).
std::string AnswerOk(const SeenBox &, int);
std::string AnswerCancel(const SeenBox &, int);

#endif
