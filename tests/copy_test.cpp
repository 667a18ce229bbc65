// The copy step: expansion through the system's LZ32, the same-file guard,
// the "Change disk" prompt and the failure box (answered by the robot), the
// progress dialog and its Cancel, and the installed bytes against the
// payload sources. Also: setup.exe must not import lz32.dll.
#include <gtest/gtest.h>
#include <algorithm>
#include "files_support.h"
#include "robot/robot.h"
#include "files/files.h"
#include "files/lz32.h"
#include "files/progress.h"
#include "setup/messages.h"
#include "setup/product.h"
#include "setup/startup.h"

static std::string CopyingLine(const std::string &source, const std::string &destination)
{
    return "Copying " + source + " to " + destination;
}

// An SZDD file that expands to nothing: the header with length 0.
static const std::string emptySzdd("SZDD\x88\xF0\x27\x33\x41_\0\0\0\0", 14);

class Copy : public testing::Test {
protected:
    void SetUp() override
    {
        ResetFilesState();
        source = scratch.MakeDirectory("source") + "\\";
        program = scratch.MakeDirectory("program");
    }
    void TearDown() override { ResetFilesState(); }

    // The source directory as extraction leaves it: each payload file under
    // its plain name, holding the compressed resource.
    void PutPayload(const char *except = NULL)
    {
        for (int i = 0; i < payloadCount; i++)
            if (except == NULL || lstrcmpA(payloadTable[i].sourceName, except) != 0)
                PutPayloadFile(i);
    }
    void PutPayloadFile(int i)
    {
        ASSERT_TRUE(WriteFileBytes(source + payloadTable[i].sourceName,
                               ResourceBytes(appInstance, payloadTable[i].resourceName)));
    }
    std::string Destination(int i) const { return program + "\\" + payloadTable[i].destName; }
    std::vector<std::string> CopyingLines(int count) const
    {
        std::vector<std::string> lines;
        for (int i = 0; i < count; i++)
            lines.push_back(CopyingLine(source + payloadTable[i].sourceName, Destination(i)));
        return lines;
    }
    void ExpectInstalled(int i)
    {
        SCOPED_TRACE(payloadTable[i].destName);
        EXPECT_EQ(payloadTable[i].status, (DWORD)STATUS_INSTALLED);
        EXPECT_TRUE(ReadFileBytes(Destination(i)) ==
                    PayloadSourceBytes(payloadTable[i].sourceName))
            << "installed bytes differ from the payload source";
    }
    void ExpectNotInstalled(int i)
    {
        SCOPED_TRACE(payloadTable[i].destName);
        EXPECT_EQ(payloadTable[i].status & STATUS_INSTALLED, 0u);
        EXPECT_FALSE(FileExists(Destination(i)));
    }
    int Install()
    {
        return InstallPayloadFiles(appInstance, owner.Handle(), source.c_str(), program.c_str());
    }

    ScratchDirectory scratch;  // the current directory: setup.log lands here
    OwnerWindow owner;
    std::string source;   // ends in a backslash
    std::string program;  // does not
};

TEST_F(Copy, ExpandFileExpandsCompressedSourcesAndCopiesPlainOnes)
{
    std::string compressed = ResourceBytes(appInstance, "TXTFILE");
    std::string expanded = PayloadSourceBytes("lumtools.txt");
    std::string plain = "plain text, not compressed\r\n";
    struct Row {
        const char *name;
        const std::string *compressedName;  // content of file.tx_, or none
        const std::string *plainName;       // content of file.txt, or none
        int result;
        const std::string *destination;  // expected content, or none: no file
    };
    std::string empty;
    const Row rows[] = {
        { "only the compressed name", &compressed, NULL, 1, &expanded },
        { "plain name holding compressed data", NULL, &compressed, 1, &expanded },
        { "plain name holding plain data", NULL, &plain, 1, &plain },
        { "both names: the compressed one wins", &compressed, &plain, 1, &expanded },
        { "neither name", NULL, NULL, 0, NULL },
        { "empty plain file: nothing written", NULL, &empty, 0, &empty },
        { "compressed file of nothing", &emptySzdd, NULL, 0, &empty },
    };
    std::string destination = program + "\\file.txt";
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        if (row.compressedName != NULL)
            WriteFileBytes(source + "file.tx_", *row.compressedName);
        if (row.plainName != NULL)
            WriteFileBytes(source + "file.txt", *row.plainName);

        int result = ExpandFile((source + "file.txt").c_str(), destination.c_str());

        EXPECT_EQ(result, row.result) << "error " << GetLastError();
        bool found = false;
        std::string written = ReadFileBytes(destination, &found);
        EXPECT_EQ(found, row.destination != NULL);
        if (row.destination != NULL)
            EXPECT_TRUE(written == *row.destination) << "got " << written.size() << " bytes";
        DeleteFileA((source + "file.tx_").c_str());
        DeleteFileA((source + "file.txt").c_str());
        DeleteFileA(destination.c_str());
    }
}

TEST_F(Copy, ExpandFileFailsForADestinationThatCannotBeCreated)
{
    WriteFileBytes(source + "file.txt", "text");
    EXPECT_EQ(ExpandFile((source + "file.txt").c_str(), (program + "\\missing\\file.txt").c_str()),
              0);
}

// LZ32 would open "file.tx_" in place of a destination it cannot open; the
// copy must fail instead of landing under that other name.
TEST_F(Copy, ADestinationThatCannotBeReplacedFailsWithoutWritingItsCompressedName)
{
    WriteFileBytes(source + "file.txt", "text");
    std::string destination = program + "\\file.txt";
    ASSERT_TRUE(CreateDirectoryA(destination.c_str(), NULL));
    EXPECT_EQ(ExpandFile((source + "file.txt").c_str(), destination.c_str()), 0);
    EXPECT_TRUE(DirectoryExists(destination));
    EXPECT_FALSE(FileExists(program + "\\file.tx_")) << "copied under the compressed name";
    RemoveDirectoryA(destination.c_str());
}

// One file, however its name is written, is never opened as its own
// destination: that would truncate the only copy.
TEST_F(Copy, TheSameFileUnderAnotherNameIsLeftAlone)
{
    std::string compressed = ResourceBytes(appInstance, "EXEFILE");
    std::string path = source + "lumtools.exe";
    ASSERT_TRUE(WriteFileBytes(path, compressed));
    std::string upper = path;
    for (char &c : upper)
        c = (char)toupper((unsigned char)c);
    char shortPath[MAX_PATH] = "";
    GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
    std::string link = program + "\\linked.exe";
    ASSERT_TRUE(CreateHardLinkA(link.c_str(), path.c_str(), NULL)) << GetLastError();
    struct Row {
        const char *name;
        std::string destination;
    } rows[] = {
        { "other letter case", upper },
        { "doubled backslash", scratch.Path() + "source\\\\lumtools.exe" },
        { "relative part", scratch.Path() + "program\\..\\source\\lumtools.exe" },
        { "relative to the current directory", "source\\lumtools.exe" },
        { "short name", shortPath[0] ? shortPath : path },
        { "hard link", link },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string(row.name) + ": " + row.destination);
        ASSERT_TRUE(WriteFileBytes(path, compressed));
        EXPECT_EQ(ExpandFile(path.c_str(), row.destination.c_str()), 1);
        EXPECT_TRUE(ReadFileBytes(path) == compressed) << "the source was touched";
    }
}

TEST_F(Copy, AProgramDirectoryThatIsTheSourceDirectoryCountsAsCopied)
{
    PutPayload();
    setupOptions.quiet = 1;
    // "dir\" as the program directory makes "dir\\name": the same files.
    int result = -1;
    std::vector<SeenBox> boxes = RunAnsweringBoxes(
        [&] { result = InstallPayloadFiles(appInstance, owner.Handle(), source.c_str(),
                                           source.c_str()); },
        AnswerCancel);
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(boxes.empty()) << boxes[0].caption << ": " << boxes[0].text;
    for (int i = 0; i < payloadCount; i++) {
        SCOPED_TRACE(payloadTable[i].sourceName);
        EXPECT_EQ(payloadTable[i].status, (DWORD)STATUS_INSTALLED);
        EXPECT_TRUE(ReadFileBytes(source + payloadTable[i].sourceName) ==
                    ResourceBytes(appInstance, payloadTable[i].resourceName));
    }
}

TEST_F(Copy, WithoutLz32CopiesFailAsForAMissingSource)
{
    WriteFileBytes(source + "file.txt", "text");
    std::string from = source + "file.txt", to = program + "\\file.txt";
    // No lz32.dll in the scratch directory: as if the system had none.
    EXPECT_EQ(LoadLz32From(scratch.Path().c_str()), 0);
    EXPECT_EQ(ExpandFile(from.c_str(), to.c_str()), 0);
    EXPECT_FALSE(FileExists(to));

    char system[MAX_PATH];
    GetSystemDirectoryA(system, sizeof system);
    EXPECT_EQ(LoadLz32From(system), 1);
    EXPECT_EQ(ExpandFile(from.c_str(), to.c_str()), 1);
    EXPECT_EQ(ReadFileBytes(to), "text");
}

TEST_F(Copy, AllFilesAreInstalledUnderTheProgressDialog)
{
    PutPayload();
    ProgressWatch watch;
    int result = -1;
    std::vector<SeenBox> boxes = RunAnsweringBoxes([&] { result = Install(); }, AnswerCancel);

    EXPECT_EQ(result, 1);
    EXPECT_TRUE(boxes.empty());
    for (int i = 0; i < payloadCount; i++)
        ExpectInstalled(i);
    EXPECT_EQ(LogLines(), CopyingLines(payloadCount));
    std::vector<std::string> shown = CopyingLines(payloadCount);
    shown.push_back("Creating group and icons.");
    EXPECT_EQ(watch.DialogsCreated(), 1);
    EXPECT_EQ(watch.Texts(), shown);
    EXPECT_EQ(progressDialog, (HWND)NULL);
    EXPECT_EQ(GetActiveWindow(), owner.Handle());
}

TEST_F(Copy, QuietModeShowsNoDialog)
{
    PutPayload();
    setupOptions.quiet = 1;
    ProgressWatch watch;
    int result = -1;
    std::vector<SeenBox> boxes = RunAnsweringBoxes([&] { result = Install(); }, AnswerCancel);
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(watch.DialogsCreated(), 0);
    for (int i = 0; i < payloadCount; i++)
        ExpectInstalled(i);
    EXPECT_EQ(LogLines(), CopyingLines(payloadCount));
}

TEST_F(Copy, AMissingOptionalFileIsSkippedSilently)
{
    PutPayload("mib.txt");
    int result = -1;
    std::vector<SeenBox> boxes = RunAnsweringBoxes([&] { result = Install(); }, AnswerCancel);
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(boxes.empty());
    for (int i = 0; i < payloadCount - 1; i++)
        ExpectInstalled(i);
    ASSERT_STREQ(payloadTable[payloadCount - 1].sourceName, "mib.txt");
    ExpectNotInstalled(payloadCount - 1);
    EXPECT_EQ(LogLines(), CopyingLines(payloadCount));
}

static void ExpectDiskPrompt(const SeenBox &box)
{
    EXPECT_EQ(box.caption, "Change disk");
    EXPECT_EQ(box.text, "Insert disk 1 containing lumtools.exe");
    EXPECT_EQ(box.buttons, (std::vector<std::string>{ "OK", "Cancel" }));
    EXPECT_EQ(box.owner, (HWND)NULL);
}

TEST_F(Copy, TheDiskPromptRetriesOnceTheFileIsThere)
{
    for (int quiet = 0; quiet <= 1; quiet++) {
        SCOPED_TRACE(quiet ? "quiet" : "not quiet");
        ResetFilesState();
        DeleteTree(program);
        CreateDirectoryA(program.c_str(), NULL);
        DeleteFileA("setup.log");
        DeleteFileA((source + "lumtools.exe").c_str());
        PutPayload("lumtools.exe");
        setupOptions.quiet = quiet;
        std::string progressText;
        int result = -1;
        std::vector<SeenBox> boxes = RunAnsweringBoxes([&] { result = Install(); },
                                                       [&](const SeenBox &, int) {
            if (!quiet)
                progressText = RobotText(RobotWaitWindow("Installation", 5000), 954);
            PutPayloadFile(0);
            return std::string("OK");
        });
        EXPECT_EQ(result, 1);
        ASSERT_EQ(boxes.size(), 1u);
        ExpectDiskPrompt(boxes[0]);
        if (!quiet)
            EXPECT_EQ(progressText, CopyingLines(1)[0]) << "the dialog names the file asked for";
        for (int i = 0; i < payloadCount; i++)
            ExpectInstalled(i);
        EXPECT_EQ(LogLines(), CopyingLines(payloadCount));
    }
    setupOptions.quiet = 0;
}

TEST_F(Copy, CancelAtTheDiskPromptStopsTheStep)
{
    for (int quiet = 0; quiet <= 1; quiet++) {
        SCOPED_TRACE(quiet ? "quiet" : "not quiet");
        ResetFilesState();
        DeleteFileA("setup.log");
        PutPayload("lumtools.exe");
        setupOptions.quiet = quiet;
        int result = -1;
        std::vector<SeenBox> boxes =
            RunAnsweringBoxes([&] { result = Install(); }, [](const SeenBox &box, int) {
                return std::string(box.caption == "Change disk" ? "Cancel" : "OK");
            });
        setupOptions.quiet = 0;

        EXPECT_EQ(result, 0);
        std::string failure = "Copy of lumtools.exe to " + program + " failed. (2)";
        ASSERT_EQ(boxes.size(), quiet ? 1u : 2u);
        ExpectDiskPrompt(boxes[0]);
        if (!quiet) {
            EXPECT_EQ(boxes[1].caption, "Install");
            EXPECT_EQ(boxes[1].text, failure);
            EXPECT_EQ(boxes[1].owner, owner.Handle());
            EXPECT_TRUE(boxes[1].hasIcon);
        }
        std::vector<std::string> expected = CopyingLines(1);
        expected.push_back(failure);
        EXPECT_EQ(LogLines(), expected);
        for (int i = 0; i < payloadCount; i++)
            ExpectNotInstalled(i);
        EXPECT_EQ(progressDialog, (HWND)NULL);
        EXPECT_EQ(GetActiveWindow(), owner.Handle());
    }
}

// Cancel is pressed while the first file is asked for: that file is still
// copied once it is there, then the step ends with success.
TEST_F(Copy, CancelInTheProgressDialogFinishesTheCurrentFileOnly)
{
    PutPayload("lumtools.exe");
    ProgressWatch watch;
    int result = -1;
    std::vector<SeenBox> boxes = RunAnsweringBoxes([&] { result = Install(); },
                                                   [&](const SeenBox &, int) {
        HWND dialog = RobotWaitWindow("Installation", 5000);
        EXPECT_NE(dialog, (HWND)NULL);
        RobotClick(dialog, IDCANCEL);
        PutPayloadFile(0);
        return std::string("OK");
    });

    EXPECT_EQ(result, 1);
    EXPECT_EQ(boxes.size(), 1u);
    ExpectInstalled(0);
    for (int i = 1; i < payloadCount; i++)
        ExpectNotInstalled(i);
    EXPECT_EQ(LogLines(), CopyingLines(1));
    EXPECT_EQ(watch.Texts(), CopyingLines(1)) << "the final text is not shown";
    EXPECT_EQ(progressDialog, (HWND)NULL);
    EXPECT_EQ(GetActiveWindow(), owner.Handle());
}

// The dialog's keyboard and close box reach it through PumpMessages, as
// during the copy; each only raises the flag, the dialog stays.
TEST_F(Copy, EscapeAndTheCloseBoxCancelLikeTheButton)
{
    struct Row {
        const char *name;
        void (*press)(HWND dialog);
    } rows[] = {
        { "Cancel button", [](HWND dialog) { RobotClick(dialog, IDCANCEL); } },
        { "Escape", [](HWND dialog) { RobotPressEscape(dialog); } },
        { "close box", [](HWND dialog) { RobotCloseBox(dialog); } },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        OpenProgressDialog(appInstance, owner.Handle());
        ASSERT_NE(progressDialog, (HWND)NULL);
        EXPECT_EQ(copyCancelled, 0);
        row.press(progressDialog);
        DWORD start = GetTickCount();
        while (!copyCancelled && GetTickCount() - start < 20000)
            PumpMessages();
        EXPECT_EQ(copyCancelled, 1);
        EXPECT_TRUE(IsWindowVisible(progressDialog));
        CloseProgressDialog(owner.Handle());
        EXPECT_EQ(progressDialog, (HWND)NULL);
    }
}

// Paths that do not fit their buffers fail like a missing file: nothing is
// written under a cut name.
TEST_F(Copy, APathTooLongForItsBufferIsRefused)
{
    PutPayload();
    std::string deep = program;
    while (deep.size() < 245)
        deep += "\\" + std::string(std::min<size_t>(40, 245 - deep.size()), 'p');
    char buffer[512];
    lstrcpynA(buffer, deep.c_str(), sizeof buffer);
    ASSERT_TRUE(CreateDirectoryPath(buffer)) << deep;
    setupOptions.quiet = 1;
    int result = -1;
    std::vector<SeenBox> boxes = RunAnsweringBoxes(
        [&] { result = InstallPayloadFiles(appInstance, owner.Handle(), source.c_str(), deep.c_str()); },
        [](const SeenBox &, int) { return std::string("Cancel"); });

    EXPECT_EQ(result, 0);
    ASSERT_EQ(boxes.size(), 1u);
    ExpectDiskPrompt(boxes[0]);
    std::string failure = "Copy of lumtools.exe to " + deep + " failed. (206)";
    std::vector<std::string> expected = {
        CopyingLine(source + "lumtools.exe", deep + "\\lumtools.exe"), "Path too long",
        failure.substr(0, 255) };
    EXPECT_EQ(LogLines(), expected);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((deep + "\\*.*").c_str(), &found);
    int entries = 0;
    if (search != INVALID_HANDLE_VALUE) {
        do
            entries++;
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    EXPECT_EQ(entries, 2) << "only . and .. in " << deep;
}

// The names of the DLLs in a PE file's import directory.
static std::vector<std::string> ImportedDlls(const std::string &image)
{
    std::vector<std::string> names;
    auto at = [&](size_t offset, size_t size) { return offset + size <= image.size(); };
    if (!at(0, sizeof(IMAGE_DOS_HEADER)))
        return names;
    const IMAGE_DOS_HEADER *dos = (const IMAGE_DOS_HEADER *)image.data();
    if (!at(dos->e_lfanew, sizeof(IMAGE_NT_HEADERS32)))
        return names;
    const IMAGE_NT_HEADERS32 *nt = (const IMAGE_NT_HEADERS32 *)(image.data() + dos->e_lfanew);
    const IMAGE_SECTION_HEADER *sections = IMAGE_FIRST_SECTION(nt);
    auto fileOffset = [&](DWORD rva) -> size_t {
        for (int i = 0; i < nt->FileHeader.NumberOfSections; i++) {
            const IMAGE_SECTION_HEADER &s = sections[i];
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.Misc.VirtualSize)
                return rva - s.VirtualAddress + s.PointerToRawData;
        }
        return image.size();
    };
    for (int directory : { IMAGE_DIRECTORY_ENTRY_IMPORT, IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT }) {
        DWORD rva = nt->OptionalHeader.DataDirectory[directory].VirtualAddress;
        if (rva == 0)
            continue;
        // Both tables hold the DLL name's address as their second field.
        size_t entrySize = directory == IMAGE_DIRECTORY_ENTRY_IMPORT
                               ? sizeof(IMAGE_IMPORT_DESCRIPTOR) : 32;
        size_t nameField = directory == IMAGE_DIRECTORY_ENTRY_IMPORT ? 12 : 4;
        for (size_t entry = fileOffset(rva); at(entry, entrySize); entry += entrySize) {
            DWORD nameRva = *(const DWORD *)(image.data() + entry + nameField);
            if (nameRva == 0)
                break;
            size_t name = fileOffset(nameRva);
            if (!at(name, 1))
                break;
            names.push_back(image.c_str() + name);
        }
    }
    return names;
}

TEST(SetupImage, ImportsNoLz32)
{
    bool found = false;
    std::string image = ReadFileBytes(WinePath(SETUP_EXE), &found);
    ASSERT_TRUE(found) << SETUP_EXE;
    std::vector<std::string> dlls = ImportedDlls(image);
    bool kernel = false;
    for (const std::string &dll : dlls) {
        EXPECT_NE(lstrcmpiA(dll.c_str(), "lz32.dll"), 0) << "setup.exe imports " << dll;
        kernel = kernel || lstrcmpiA(dll.c_str(), "kernel32.dll") == 0;
    }
    EXPECT_TRUE(kernel) << "the import table was not read: " << dlls.size() << " names";
}
