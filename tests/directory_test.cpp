// Directory creation: parents first, one box per level that fails (read by
// the robot), the caller's text unchanged, quiet mode or not.
#include <gtest/gtest.h>
#include "files_support.h"
#include "files/files.h"
#include "setup/startup.h"

struct ExpectedBox {
    const char *path;  // as in `path` of the row
    unsigned code;
};

struct DirectoryRow {
    const char *name;
    std::vector<const char *> before;  // made first in the scratch directory: "x\" directories, else files
    const char *path;                  // under the scratch directory, or as it stands when relative
    bool relative;
    int result;
    std::vector<ExpectedBox> boxes;  // in the order they appear
    std::vector<const char *> existAfter;
    std::vector<const char *> missingAfter;
};

static std::string Under(const ScratchDirectory &scratch, const DirectoryRow &row, const char *path)
{
    return row.relative ? std::string(path) : scratch.Path() + path;
}

static void RunRow(const DirectoryRow &row, int quiet)
{
    ScratchDirectory scratch;
    for (const char *item : row.before) {
        std::string path = scratch.Path() + item;
        if (path.back() == '\\')
            ASSERT_TRUE(CreateDirectoryA(path.c_str(), NULL)) << path;
        else
            ASSERT_TRUE(WriteFileBytes(path, "a file"));
    }
    std::string path = Under(scratch, row, row.path);
    char buffer[512];
    lstrcpynA(buffer, path.c_str(), sizeof buffer);
    setupOptions.quiet = quiet;
    int result = -1;

    std::vector<SeenBox> boxes =
        RunAnsweringBoxes([&] { result = CreateDirectoryPath(buffer); }, AnswerOk);

    setupOptions.quiet = 0;
    EXPECT_EQ(result != 0, row.result != 0);
    EXPECT_EQ(std::string(buffer), path) << "the caller's path was changed";
    ASSERT_EQ(boxes.size(), row.boxes.size());
    for (size_t i = 0; i < boxes.size(); i++) {
        SCOPED_TRACE("box " + std::to_string(i));
        std::string text = "Creation of " + Under(scratch, row, row.boxes[i].path) + " failed. (" +
                           std::to_string(row.boxes[i].code) + ")";
        EXPECT_EQ(boxes[i].caption, "Install");
        EXPECT_EQ(boxes[i].text, text.substr(0, 255)) << "cut to the 256-byte message";
        EXPECT_EQ(boxes[i].buttons, std::vector<std::string>{ "OK" });
        EXPECT_TRUE(boxes[i].hasIcon);
        EXPECT_EQ(boxes[i].owner, (HWND)NULL);
    }
    for (const char *item : row.existAfter)
        EXPECT_TRUE(DirectoryExists(scratch.Path() + item)) << item;
    for (const char *item : row.missingAfter)
        EXPECT_FALSE(DirectoryExists(scratch.Path() + item)) << item;
    EXPECT_TRUE(LogLines().empty()) << "directory creation writes no log line";
}

static const std::string longName(300, 'x');
static const std::string longPath = "f.txt\\" + longName;

static const DirectoryRow rows[] = {
    { "exists already", { "a\\" }, "a", false, 1, {}, { "a" }, {} },
    { "parent exists", { "a\\" }, "a\\b", false, 1, {}, { "a\\b" }, {} },
    { "grandparent and parent missing", {}, "a\\b\\c", false, 1, {}, { "a", "a\\b", "a\\b\\c" }, {} },
    // The parent call already makes a\b; the second call then meets "already exists".
    { "trailing backslash, parent missing", {}, "a\\b\\", false, 1, {}, { "a\\b" }, {} },
    { "trailing backslash, parent exists", { "a\\" }, "a\\b\\", false, 1, {}, { "a\\b" }, {} },
    { "no backslash", {}, "bad|name", true, 0, { { "bad|name", 123 } }, {}, {} },
    // Not split at the slash: the parent is never tried.
    { "forward slashes", {}, "missing/sub", true, 0, { { "missing/sub", 3 } }, {}, { "missing" } },
    { "under a file", { "f.txt" }, "f.txt\\sub", false, 0, { { "f.txt\\sub", 3 } }, {}, {} },
    { "deep under a file", { "f.txt" }, "f.txt\\a\\b", false, 0,
      { { "f.txt\\a", 3 }, { "f.txt\\a\\b", 3 } }, {}, {} },
    // Wine answers 3 for con while m is missing and 6 once it exists: the
    // box shows the code of the second call.
    { "second call fails differently", {}, "m\\con", false, 0, { { "m\\con", 6 } }, { "m" }, {} },
    { "message longer than its buffer", { "f.txt" }, longPath.c_str(), false, 0,
      { { longPath.c_str(), 206 } }, {}, {} },
};

TEST(CreateDirectoryPath, CreatesParentsFirstAndReportsEachFailingLevel)
{
    for (const DirectoryRow &row : rows) {
        SCOPED_TRACE(row.name);
        RunRow(row, 0);
    }
}

TEST(CreateDirectoryPath, QuietModeStillShowsTheBoxes)
{
    for (const DirectoryRow &row : rows) {
        if (row.boxes.empty())
            continue;
        SCOPED_TRACE(row.name);
        RunRow(row, 1);
    }
}
