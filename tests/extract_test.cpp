// Payload extraction: the resources written byte for byte into a directory
// of the run's own, the log lines, the progress dialog, a missing resource,
// the clean-up, and files planted in the shared temporary directory.
#include <gtest/gtest.h>
#include "files_support.h"
#include "files/files.h"
#include "setup/product.h"
#include "setup/startup.h"

static std::string TemporaryDirectory()
{
    char temporary[MAX_PATH] = "";
    GetTempPathA(sizeof temporary, temporary);
    return temporary;
}

static std::string ExtractingLine(const std::string &path, size_t size)
{
    return "Extracting to " + path + ", " + std::to_string(size) + " bytes";
}

class Extraction : public testing::Test {
protected:
    void SetUp() override { ResetFilesState(); }
    void TearDown() override
    {
        DeleteExtractedFiles();
        ResetFilesState();
    }
    ScratchDirectory scratch;  // the current directory: setup.log lands here
    OwnerWindow owner;
};

TEST_F(Extraction, WritesEveryResourceByteForByteIntoAFreshDirectory)
{
    std::string temporary = TemporaryDirectory();
    ProgressWatch watch;
    int count = ExtractPayload(appInstance, owner.Handle());

    EXPECT_EQ(count, payloadCount);
    std::string directory = extractDirectory;
    ASSERT_GT(directory.size(), temporary.size()) << "extract directory " << directory;
    EXPECT_EQ(directory.substr(0, temporary.size()), temporary);
    EXPECT_EQ(directory.back(), '\\');
    EXPECT_TRUE(DirectoryExists(directory));
    std::vector<std::string> expectedLines;
    for (int i = 0; i < payloadCount; i++) {
        const PayloadEntry &entry = payloadTable[i];
        SCOPED_TRACE(entry.resourceName);
        std::string resource = ResourceBytes(appInstance, entry.resourceName);
        ASSERT_GT(resource.size(), 14u);
        EXPECT_EQ(resource.substr(0, 4), "SZDD") << "the payload travels compressed";
        std::string path = directory + entry.sourceName;
        bool found = false;
        EXPECT_TRUE(ReadFileBytes(path, &found) == resource)
            << path << " differs from the resource";
        EXPECT_TRUE(found) << path;
        EXPECT_EQ(entry.status, (DWORD)STATUS_EXTRACTED);
        expectedLines.push_back(ExtractingLine(path, resource.size()));
    }
    EXPECT_EQ(LogLines(), expectedLines);
    EXPECT_EQ(watch.DialogsCreated(), 1);
    EXPECT_EQ(watch.Texts(), expectedLines) << "the dialog shows each file as it is written";
    EXPECT_EQ(progressDialog, (HWND)NULL);
    EXPECT_EQ(GetActiveWindow(), owner.Handle());
}

TEST_F(Extraction, QuietModeCreatesNoDialog)
{
    setupOptions.quiet = 1;
    ProgressWatch watch;
    EXPECT_EQ(ExtractPayload(appInstance, owner.Handle()), payloadCount);
    EXPECT_EQ(watch.DialogsCreated(), 0);
    EXPECT_TRUE(watch.Texts().empty());
    EXPECT_EQ(progressDialog, (HWND)NULL);
    EXPECT_EQ(LogLines().size(), (size_t)payloadCount);
}

TEST_F(Extraction, CleanUpDeletesTheExtractedFilesAndTheDirectory)
{
    ASSERT_EQ(ExtractPayload(appInstance, owner.Handle()), payloadCount);
    std::string directory = extractDirectory;
    size_t before = LogLines().size();

    EXPECT_EQ(DeleteExtractedFiles(), 0);

    std::vector<std::string> lines = LogLines();
    std::vector<std::string> removals(lines.begin() + before, lines.end());
    std::vector<std::string> expected;
    for (int i = 0; i < payloadCount; i++) {
        expected.push_back("Removing " + directory + payloadTable[i].sourceName);
        EXPECT_FALSE(FileExists(directory + payloadTable[i].sourceName));
    }
    EXPECT_EQ(removals, expected);
    EXPECT_FALSE(DirectoryExists(directory)) << directory << " was left behind";
    EXPECT_STREQ(extractDirectory, "");

    // A second clean-up has nothing left to do and says nothing.
    DeleteExtractedFiles();
    EXPECT_EQ(LogLines().size(), lines.size());
}

TEST_F(Extraction, MissingResourceIsLoggedAndTheOthersAreStillWritten)
{
    HMODULE partial = LoadLibraryExA(WinePath(PARTIAL_PAYLOAD_MODULE).c_str(), NULL,
                                     LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(partial, (HMODULE)NULL) << PARTIAL_PAYLOAD_MODULE << " error " << GetLastError();

    EXPECT_EQ(ExtractPayload((HINSTANCE)partial, owner.Handle()), payloadCount - 1);

    std::string directory = extractDirectory;
    std::vector<std::string> expected;
    for (int i = 0; i < payloadCount; i++) {
        const PayloadEntry &entry = payloadTable[i];
        SCOPED_TRACE(entry.resourceName);
        std::string path = directory + entry.sourceName;
        if (lstrcmpA(entry.resourceName, "CNTFILE") == 0) {
            expected.push_back("Failed to locate resource CNTFILE");
            EXPECT_FALSE(FileExists(path));
            EXPECT_EQ(entry.status, 0u);
            continue;
        }
        std::string resource = ResourceBytes(partial, entry.resourceName);
        EXPECT_TRUE(ReadFileBytes(path) == resource) << path;
        EXPECT_EQ(entry.status, (DWORD)STATUS_EXTRACTED);
        expected.push_back(ExtractingLine(path, resource.size()));
    }
    EXPECT_EQ(LogLines(), expected);

    // The clean-up deletes exactly what was extracted.
    DeleteExtractedFiles();
    std::vector<std::string> lines = LogLines();
    std::vector<std::string> removals(lines.begin() + expected.size(), lines.end());
    std::vector<std::string> expectedRemovals;
    for (int i = 0; i < payloadCount; i++)
        if (lstrcmpA(payloadTable[i].resourceName, "CNTFILE") != 0)
            expectedRemovals.push_back("Removing " + directory + payloadTable[i].sourceName);
    EXPECT_EQ(removals, expectedRemovals);
    EXPECT_FALSE(DirectoryExists(directory));
    FreeLibrary(partial);
}

// Another program's files under the payload's names, plain and compressed,
// and names this run might pick for its own directory.
struct PlantedFiles {
    std::string temporary = TemporaryDirectory();
    std::string ownNameDirectory;
    std::string ownNameFile;
    std::vector<std::string> files;

    PlantedFiles()
    {
        for (const char *name : { "lumtools.ex_", "lumtools.exe", "mib.tx_", "lumtools.hl_" })
            Plant(temporary + name);
        char name[MAX_PATH];
        wsprintfA(name, "%slum%lu-0.tmp", temporary.c_str(), GetCurrentProcessId());
        ownNameDirectory = name;
        EXPECT_TRUE(CreateDirectoryA(name, NULL)) << name;
        Plant(ownNameDirectory + "\\lumtools.ex_");
        Plant(ownNameDirectory + "\\lumtools.exe");
        wsprintfA(name, "%slum%lu-1.tmp", temporary.c_str(), GetCurrentProcessId());
        ownNameFile = name;
        Plant(ownNameFile);
    }
    ~PlantedFiles()
    {
        for (const std::string &file : files)
            DeleteFileA(file.c_str());
        RemoveDirectoryA(ownNameDirectory.c_str());
    }
    void Plant(const std::string &path)
    {
        EXPECT_TRUE(WriteFileBytes(path, "planted " + path)) << path;
        files.push_back(path);
    }
    void ExpectUntouched() const
    {
        for (const std::string &file : files)
            EXPECT_EQ(ReadFileBytes(file), "planted " + file);
    }
};

TEST_F(Extraction, FilesPlantedInTheSharedTemporaryDirectoryAreNeverUsed)
{
    PlantedFiles planted;
    setupOptions.quiet = 1;
    ASSERT_EQ(ExtractPayload(appInstance, owner.Handle()), payloadCount);
    std::string directory = extractDirectory;
    EXPECT_NE(directory, planted.temporary);
    EXPECT_NE(directory, planted.ownNameDirectory + "\\") << "an existing directory was reused";
    EXPECT_NE(directory, planted.ownNameFile + "\\");

    // The copy step reads from the run's own directory, so the planted
    // compressed names cannot win over the extracted payload.
    std::string program = scratch.MakeDirectory("program");
    int result = -1;
    std::vector<SeenBox> boxes = RunAnsweringBoxes(
        [&] { result = InstallPayloadFiles(appInstance, owner.Handle(), directory.c_str(),
                                           program.c_str()); },
        AnswerCancel);
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(boxes.empty());
    for (int i = 0; i < payloadCount; i++) {
        SCOPED_TRACE(payloadTable[i].destName);
        EXPECT_TRUE(ReadFileBytes(program + "\\" + payloadTable[i].destName) ==
                    PayloadSourceBytes(payloadTable[i].sourceName))
            << "installed bytes differ from the payload source";
    }
    DeleteExtractedFiles();
    planted.ExpectUntouched();
    EXPECT_FALSE(DirectoryExists(directory));
}

TEST_F(Extraction, NoPrivateDirectoryMeansNothingIsExtracted)
{
    char saved[MAX_PATH] = "";
    GetEnvironmentVariableA("TMP", saved, sizeof saved);
    std::string missing = scratch.Path() + "missing";
    SetEnvironmentVariableA("TMP", missing.c_str());

    int count = ExtractPayload(appInstance, owner.Handle());
    SetEnvironmentVariableA("TMP", saved[0] ? saved : NULL);

    EXPECT_EQ(count, 0);
    EXPECT_STREQ(extractDirectory, "");
    std::vector<std::string> lines = LogLines();
    ASSERT_EQ(lines.size(), 1u);
    std::string prefix = "Failed to create temporary directory " + missing + "\\lum";
    EXPECT_EQ(lines[0].substr(0, prefix.size()), prefix) << lines[0];
    EXPECT_EQ(lines[0].substr(lines[0].size() - 4), " (3)") << lines[0];
    for (int i = 0; i < payloadCount; i++)
        EXPECT_EQ(payloadTable[i].status, 0u);
    EXPECT_FALSE(DirectoryExists(missing));
}

// A path of 259 characters is written; one more is refused, never cut into
// the name of another file.
TEST_F(Extraction, SinglePathsAreWrittenUpToTheirBufferAndRefusedBeyond)
{
    std::string directory = scratch.Path();
    while (directory.size() < 190)
        directory = scratch.MakeDirectory(directory.substr(scratch.Path().size()) +
                                          std::string(40, 'd')) + "\\";
    std::string resource = ResourceBytes(appInstance, "EXEFILE");
    struct Row {
        size_t pathLength;
        int written;
    } rows[] = { { 259, 1 }, { 260, 0 }, { 300, 0 } };
    for (const Row &row : rows) {
        SCOPED_TRACE("path length " + std::to_string(row.pathLength));
        std::string name(row.pathLength - directory.size(), 'n');
        std::string cut = (directory + name).substr(0, 259);
        // An older file of the same name is replaced, not appended to.
        WriteFileBytes(cut, std::string(resource.size() + 100, 'x'));
        size_t before = LogLines().size();

        int result = ExtractPayloadFile(appInstance, NULL, "EXEFILE", directory.c_str(),
                                        name.c_str());

        EXPECT_EQ(result, row.written);
        std::vector<std::string> lines = LogLines();
        ASSERT_EQ(lines.size(), before + 1);
        if (row.written) {
            EXPECT_EQ(lines.back(), ExtractingLine(directory + name, resource.size()));
            EXPECT_TRUE(ReadFileBytes(cut) == resource);
        } else {
            EXPECT_EQ(lines.back(), "Path too long: " + directory + name);
            EXPECT_EQ(ReadFileBytes(cut), std::string(resource.size() + 100, 'x'))
                << "a cut path was written";
        }
        DeleteFileA(cut.c_str());
    }
}

TEST_F(Extraction, AFileThatCannotBeCreatedIsLoggedAfterItsExtractingLine)
{
    std::string directory = scratch.Path() + "missing\\";
    std::string path = directory + "lumtools.exe";
    size_t size = ResourceBytes(appInstance, "EXEFILE").size();

    EXPECT_EQ(ExtractPayloadFile(appInstance, NULL, "EXEFILE", directory.c_str(), "lumtools.exe"), 0);

    std::vector<std::string> expected = { ExtractingLine(path, size), "File creation error on " + path };
    EXPECT_EQ(LogLines(), expected);
}
