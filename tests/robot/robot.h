// The dialog robot: finds windows by caption and works their controls as a
// person would (typing, pressing buttons, Enter, Escape, the close box), from
// another thread of the test program or from another process.
#ifndef LUMSETUP_ROBOT_H
#define LUMSETUP_ROBOT_H

#include <windows.h>
#include <string>
#include <vector>
#include <functional>
#include <thread>
#include <atomic>

// Waits while answering the calling thread's messages: a window of the test
// that stops answering would block every DDE conversation on the desktop
// (DDE starts by sending to every top-level window).
void RobotPause(DWORD ms);

// Waits up to timeoutMs for a visible top-level window with this exact
// caption (and, when processId is not 0, of that process). NULL on time-out.
HWND RobotWaitWindow(const char *caption, DWORD timeoutMs = 20000, DWORD processId = 0);
// Waits until the window is gone; false on time-out.
bool RobotWaitGone(HWND window, DWORD timeoutMs = 20000);
// Any visible top-level window of the process, or of the given class.
HWND RobotFindProcessWindow(DWORD processId, const char *className = NULL);

std::string RobotCaption(HWND window);
std::string RobotText(HWND dialog, int id);
bool RobotEnabled(HWND dialog, int id);
bool RobotChecked(HWND dialog, int id);
bool RobotVisible(HWND dialog, int id);
RECT RobotWindowRect(HWND window);

// Replaces the text of an edit field (or a combo box's edit field).
void RobotSetText(HWND dialog, int id, const char *text);
// Types text character by character into the control, as keystrokes would.
void RobotType(HWND dialog, int id, const char *text);
// Presses a button: the click is queued, so a dialog it opens does not block us.
void RobotClick(HWND dialog, int id);
// Checks a radio button or check box by clicking it.
void RobotCheck(HWND dialog, int id);
// Selects a combo box entry by its text, as picking it from the list would.
bool RobotPickCombo(HWND dialog, int id, const char *text);
std::vector<std::string> RobotComboItems(HWND dialog, int id);
std::vector<std::string> RobotListItems(HWND dialog, int id);
// A double click on a list box entry: selects it and tells the dialog, as the
// list box does. false when no entry has this exact text.
bool RobotDoubleClickList(HWND dialog, int id, const char *text);
// Picks a drop-down list entry with the mouse: selection, CBN_SELCHANGE, then
// CBN_CLOSEUP. With onlyCloseUp the selection is made silently and only the
// list's closing is told (as when the list closes over a new selection).
bool RobotPickDropList(HWND dialog, int id, const char *text, bool onlyCloseUp = false);
// Waits until the control shows exactly this text; false on time-out.
bool RobotWaitText(HWND dialog, int id, const char *text, DWORD timeoutMs = 20000);
// Whether any child control of the window shows exactly this text.
bool RobotHasText(HWND window, const char *text);
// Enter or Escape at the control that has the keyboard focus in the dialog.
void RobotPressEnter(HWND dialog);
void RobotPressEscape(HWND dialog);
// The close box of the caption (the system menu's Close).
void RobotCloseBox(HWND window);

// A message box as the user sees it.
struct RobotMessageBox {
    HWND window;
    std::string caption;
    std::string text;
    std::vector<std::string> buttons;  // in creation order, e.g. "OK", "Cancel"
    HICON icon;                        // the icon shown, or NULL
};
bool RobotReadMessageBox(HWND window, RobotMessageBox *box);
// Waits for a message box (any caption when caption is NULL).
HWND RobotWaitMessageBox(const char *caption, DWORD timeoutMs = 20000, DWORD processId = 0);
// Presses the message box button with this text ("OK", "Cancel", ...).
bool RobotPressMessageBoxButton(HWND window, const char *buttonText);

// Keeps a failed test from hanging: waits up to graceMs for *done; if it is
// still not set, cancels every dialog and message box of this process until
// it is. Returns "caption: text" of each window it had to cancel.
std::vector<std::string> RobotUnblock(const std::atomic<bool> *done, DWORD graceMs = 20000);

// Writes the window as the screen shows it (frame and caption included) to a
// 24-bit BMP file; false when the file cannot be written.
bool RobotSaveWindowImage(HWND window, const char *path);

// Runs a script on a second thread while the test's thread runs a modal dialog.
class RobotScript {
public:
    explicit RobotScript(std::function<void()> body) : thread_(body) {}
    ~RobotScript() { Join(); }
    void Join() { if (thread_.joinable()) thread_.join(); }
private:
    std::thread thread_;
};

// Runs call on this thread (it shows a modal dialog) while script drives it
// from a second thread. Whatever the script left open is cancelled after a
// grace time (RobotUnblock) and listed in *stray when given.
inline int RobotDrive(std::function<int()> call, std::function<void()> script,
                      std::vector<std::string> *stray = NULL)
{
    std::atomic<bool> done(false);
    std::vector<std::string> left;
    int result;
    {
        RobotScript robot([&] {
            script();
            left = RobotUnblock(&done);
        });
        result = call();
        done = true;
    }
    if (stray != NULL)
        *stray = left;
    return result;
}

#endif
