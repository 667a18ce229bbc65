// Native tests of the SZDD codec and the szdd command: round trips over the
// format's edges, the classic expander's ring rules, rejection of damaged
// files, the parse's optimality against a brute-force search, and the
// command line's files and exit codes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include "szdd.h"
#include "szdd_files.h"
#include "szdd_samples.h"
#include "szdd_test_support.h"

namespace {

size_t FirstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    size_t n = std::min(a.size(), b.size());
    return std::mismatch(a.begin(), a.begin() + n, b.begin()).first - a.begin();
}

#define EXPECT_SAME_BYTES(got, want)                                                        \
    EXPECT_TRUE((got) == (want)) << "got " << (got).size() << " bytes, want " << (want).size() \
                                 << ", first difference at " << FirstDifference(got, want)

std::vector<uint8_t> SampleNamed(const std::string& name)
{
    for (const SzddSample& s : SzddSamples())
        if (s.name == name)
            return s.bytes;
    ADD_FAILURE() << "no sample " << name;
    return {};
}

// The names in a directory, sorted, separated by blanks.
std::string DirectoryListing(const std::string& path)
{
    std::vector<std::string> names;
    if (DIR* d = opendir(path.c_str())) {
        while (dirent* e = readdir(d))
            if (e->d_name[0] != '.')
                names.push_back(e->d_name);
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    std::string listing;
    for (const std::string& name : names)
        listing += (listing.empty() ? "" : " ") + name;
    return listing;
}

bool FileExists(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

TEST(SzddRoundTrip, SamplesComeBackByteExactWithTheirHeader)
{
    for (const SzddSample& sample : SzddSamples()) {
        SCOPED_TRACE(sample.name);
        std::vector<uint8_t> packed, unpacked;
        ASSERT_EQ(SzddOk, SzddCompress(sample.bytes, 'q', packed));
        ASSERT_GE(packed.size(), kSzddHeaderSize);
        EXPECT_TRUE(std::equal(kSzddMagic, kSzddMagic + 8, packed.begin()));
        EXPECT_EQ('A', packed[8]);
        EXPECT_EQ('q', packed[9]);
        EXPECT_EQ(sample.bytes.size(), SzddDeclaredLength(packed.data()));
        // Never worse than all literals.
        size_t n = sample.bytes.size();
        EXPECT_LE(packed.size(), kSzddHeaderSize + n + (n + 7) / 8);

        SzddStatus status = SzddExpand(packed, unpacked);
        EXPECT_EQ(SzddOk, status) << SzddStatusText(status);
        EXPECT_SAME_BYTES(unpacked, sample.bytes);
    }
}

TEST(SzddRoundTrip, SameInputGivesSameBytes)
{
    std::vector<uint8_t> input = SzddGeneratedText(100000, 42), first, second;
    SzddCompress(input, 't', first);
    SzddCompress(input, 't', second);
    EXPECT_TRUE(first == second);
}

TEST(SzddCompress, UsesTheRingsInitialBlanksAndFullRingMatches)
{
    struct Row {
        const char* name;
        std::vector<uint8_t> input;
        size_t maxPacked;
    } rows[] = {
        // One match of 18 blanks from the untouched ring: flag byte + 2.
        {"18 blanks", std::vector<uint8_t>(18, ' '), kSzddHeaderSize + 3},
        // 278 matches of 18 blanks.
        {"5000 blanks", std::vector<uint8_t>(5000, ' '), kSzddHeaderSize + 35 + 556},
        // Random data repeated one ring apart: only matches a full ring back
        // can pack the copies (4096 literals, then 461 matches of 18).
        {"ring period", SampleNamed("ring-period"), kSzddHeaderSize + 4608 + 980},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<uint8_t> packed, unpacked;
        SzddCompress(row.input, 0, packed);
        EXPECT_LE(packed.size(), row.maxPacked);
        ASSERT_EQ(SzddOk, SzddExpand(packed, unpacked));
        EXPECT_SAME_BYTES(unpacked, row.input);
    }
}

TEST(SzddExpand, FollowsTheClassicRingRules)
{
    for (const HandMadeStream& row : HandMadeStreams()) {
        SCOPED_TRACE(row.name);
        std::vector<uint8_t> out;
        SzddStatus status = SzddExpand(row.file, out);
        EXPECT_EQ(SzddOk, status) << SzddStatusText(status);
        EXPECT_SAME_BYTES(out, row.expected);
    }
}

TEST(SzddExpand, RejectsDamagedFiles)
{
    std::vector<uint8_t> good;
    SzddCompress(SzddGeneratedText(20000, 9), 't', good);
    std::vector<uint8_t> cutShort(good.begin(), good.end() - 1);
    std::vector<uint8_t> extended = good;
    extended.push_back('X');
    extended.push_back('X');
    std::vector<uint8_t> wrongMagic = good;
    wrongMagic[3] = 'Q';
    std::vector<uint8_t> wrongLength = good;
    wrongLength[10] ^= 1;

    struct Row {
        const char* name;
        std::vector<uint8_t> file;
        SzddStatus want;
    } rows[] = {
        {"empty file", {}, SzddShortHeader},
        {"magic only", std::vector<uint8_t>(kSzddMagic, kSzddMagic + 8), SzddShortHeader},
        {"13-byte header", std::vector<uint8_t>(good.begin(), good.begin() + 13), SzddShortHeader},
        {"plain text", Bytes("hello, world\n"), SzddBadMagic},
        {"wrong magic", wrongMagic, SzddBadMagic},
        {"method B", SzddFile(1, {0x01, 'a'}, 'B'), SzddBadMethod},
        {"last byte cut off", cutShort, SzddTruncated},
        {"header only, length 5", SzddFile(5, {}), SzddTruncated},
        {"half a match", SzddFile(20, {0x02, 'a', 0xF0}), SzddTruncated},
        {"4 GB declared, 1 byte of data", SzddFile(0xFFFFFFFFu, {0x01, 'a'}), SzddTruncated},
        {"two bytes appended", extended, SzddTooLong},
        {"literal past the length", SzddFile(2, {0x07, 'a', 'b', 'c'}), SzddTooLong},
        {"match past the length", SzddFile(5, {0x00, 0xF0, 0xFF}), SzddTooLong},
        {"length off by one", wrongLength, good[10] & 1 ? SzddTooLong : SzddTruncated},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<uint8_t> out;
        SzddStatus got = SzddExpand(row.file, out);
        EXPECT_EQ(row.want, got) << "got \"" << SzddStatusText(got) << "\"";
    }
}

TEST(SzddExpand, SurvivesRandomDamage)
{
    std::vector<uint8_t> good;
    SzddCompress(SzddGeneratedText(3000, 13), 't', good);
    std::vector<uint8_t> noise = SzddRandomBytes(3 * 2000, 14);
    for (int trial = 0; trial < 2000; trial++) {
        std::vector<uint8_t> file = good, out;
        size_t pick = noise[3 * trial] | noise[3 * trial + 1] << 8;
        size_t at = kSzddHeaderSize + pick % (good.size() - kSzddHeaderSize);
        if (trial % 2)
            file[at] ^= noise[3 * trial + 2] | 1;
        else
            file.resize(at);
        SzddStatus status = SzddExpand(file, out);
        if (status == SzddOk) {
            EXPECT_EQ(SzddDeclaredLength(file.data()), out.size()) << "trial " << trial;
        } else {
            EXPECT_TRUE(status == SzddTruncated || status == SzddTooLong)
                << "trial " << trial << ": " << SzddStatusText(status);
        }
    }
}

// ---- Optimality --------------------------------------------------------
//
// The smallest size any SZDD packer can reach given exact longest matches:
// every earlier position within a ring length (the initial blanks included)
// is tried, with no hashing. Our output must reach it exactly.

size_t BruteForceLongestMatch(const std::vector<uint8_t>& buffer, size_t at)
{
    size_t limit = std::min<size_t>(18, buffer.size() - at), best = 0;
    for (size_t from = at - 4096; from < at; from++) {
        size_t len = 0;
        while (len < limit && buffer[from + len] == buffer[at + len])
            len++;
        best = std::max(best, len);
    }
    return best >= 3 ? best : 0;
}

size_t SmallestPossibleSize(const std::vector<uint8_t>& input)
{
    std::vector<uint8_t> buffer(4096, ' ');
    buffer.insert(buffer.end(), input.begin(), input.end());
    size_t n = input.size();
    std::vector<uint64_t> bits(n + 1, 0);
    for (size_t i = n; i-- > 0;) {
        bits[i] = 9 + bits[i + 1];
        for (size_t len = BruteForceLongestMatch(buffer, 4096 + i); len >= 3; len--)
            bits[i] = std::min(bits[i], 17 + bits[i + len]);
    }
    return kSzddHeaderSize + (bits[0] + 7) / 8;
}

TEST(SzddCompress, ReachesTheSmallestSizeTheFormatAllows)
{
    std::vector<SzddSample> rows = {
        {"text", SzddGeneratedText(20000, 21)},
        {"records", SzddRecordTable(20000, 22)},
        {"random", SzddRandomBytes(6000, 23)},
    };
    for (const char* name : {"leading-blanks", "ring-period", "text-4097"})
        rows.push_back({name, SampleNamed(name)});
    for (const SzddSample& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<uint8_t> packed;
        SzddCompress(row.bytes, 0, packed);
        EXPECT_EQ(SmallestPossibleSize(row.bytes), packed.size());
    }
}

// ---- The command line ---------------------------------------------------

struct CommandResult {
    int exitCode;
    std::string stderrText;
};

CommandResult RunSzdd(const ScopedTempDir& dir, const std::vector<std::string>& args)
{
    std::vector<std::string> argv = {SZDD_TOOL};
    argv.insert(argv.end(), args.begin(), args.end());
    std::string errPath = dir.File("stderr.txt");
    CommandResult result{RunProgram(argv, "", "", "/dev/null", errPath), ""};
    std::vector<uint8_t> err;
    std::string ignored;
    ReadWholeFile(errPath, err, ignored);
    result.stderrText.assign(err.begin(), err.end());
    remove(errPath.c_str());
    return result;
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::string error;
    ASSERT_TRUE(WriteWholeFile(path, bytes, error)) << error;
}

std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(ReadWholeFile(path, bytes, error)) << error;
    return bytes;
}

TEST(SzddCommand, CompressesAndExpandsFiles)
{
    ScopedTempDir dir;
    std::vector<uint8_t> text = SzddGeneratedText(30000, 31);
    WriteBytes(dir.File("lumtools.txt"), text);

    CommandResult r =
        RunSzdd(dir, {"compress", dir.File("lumtools.txt"), dir.File("lumtools.tx_")});
    ASSERT_EQ(0, r.exitCode) << r.stderrText;
    std::vector<uint8_t> packed = ReadBytes(dir.File("lumtools.tx_"));
    ASSERT_GE(packed.size(), kSzddHeaderSize);
    EXPECT_EQ('t', packed[9]) << "missing name character";
    EXPECT_EQ(text.size(), SzddDeclaredLength(packed.data()));

    r = RunSzdd(dir, {"expand", dir.File("lumtools.tx_"), dir.File("back.txt")});
    ASSERT_EQ(0, r.exitCode) << r.stderrText;
    EXPECT_SAME_BYTES(ReadBytes(dir.File("back.txt")), text);
}

TEST(SzddCommand, FailsCleanlyOnBadInput)
{
    ScopedTempDir dir;
    std::vector<uint8_t> packed;
    SzddCompress(SzddGeneratedText(30000, 32), 't', packed);
    WriteBytes(dir.File("cut.tx_"), std::vector<uint8_t>(packed.begin(), packed.end() - 40));
    WriteBytes(dir.File("plain.txt"), Bytes("not compressed at all\n"));
    WriteBytes(dir.File("short.tx_"), std::vector<uint8_t>(packed.begin(), packed.begin() + 10));

    struct Row {
        std::vector<std::string> args;
        const char* messagePart;
    } rows[] = {
        {{"expand", dir.File("cut.tx_"), dir.File("out")}, "ends before the declared length"},
        {{"expand", dir.File("plain.txt"), dir.File("out")}, "not an SZDD file"},
        {{"expand", dir.File("short.tx_"), dir.File("out")}, "shorter than the 14-byte"},
        {{"expand", dir.File("absent"), dir.File("out")}, "cannot open"},
        {{"compress", dir.File("absent"), dir.File("out")}, "cannot open"},
        {{"compress", dir.File("plain.txt"), dir.File("no/such/dir/out")}, "cannot create"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args[0] + " " + row.args[1]);
        CommandResult r = RunSzdd(dir, row.args);
        EXPECT_EQ(1, r.exitCode);
        EXPECT_NE(std::string::npos, r.stderrText.find(row.messagePart))
            << "stderr: " << r.stderrText;
        EXPECT_FALSE(FileExists(dir.File("out"))) << "a partial output was left behind";
    }
    // Nothing but the inputs remains: no temporary files either.
    EXPECT_EQ("cut.tx_ plain.txt short.tx_", DirectoryListing(dir.path));
    EXPECT_EQ(2, RunSzdd(dir, {"squeeze", "a", "b"}).exitCode) << "unknown command";
}

TEST(SzddCommand, WritesTheSameFixturePairsEveryTime)
{
    ScopedTempDir dir;
    std::string first = dir.File("first"), second = dir.File("second");
    ASSERT_EQ(0, RunSzdd(dir, {"fixtures", first}).exitCode);
    ASSERT_EQ(0, RunSzdd(dir, {"fixtures", second}).exitCode);

    std::vector<uint8_t> list = ReadBytes(first + "/fixtures.txt");
    std::string names(list.begin(), list.end());
    size_t count = 0;
    for (const SzddSample& sample : SzddSamples()) {
        SCOPED_TRACE(sample.name);
        EXPECT_NE(std::string::npos, names.find(sample.name + "\n"));
        std::vector<uint8_t> packed = ReadBytes(first + "/" + sample.name + ".szdd"), unpacked;
        EXPECT_TRUE(packed == ReadBytes(second + "/" + sample.name + ".szdd"))
            << "not deterministic";
        ASSERT_EQ(SzddOk, SzddExpand(packed, unpacked));
        EXPECT_SAME_BYTES(unpacked, ReadBytes(first + "/" + sample.name + ".plain"));
        EXPECT_SAME_BYTES(unpacked, sample.bytes);
        count++;
    }
    EXPECT_EQ(count, static_cast<size_t>(std::count(names.begin(), names.end(), '\n')));
    for (const std::string& d : {first, second}) {
        for (const SzddSample& sample : SzddSamples()) {
            remove((d + "/" + sample.name + ".szdd").c_str());
            remove((d + "/" + sample.name + ".plain").c_str());
        }
        remove((d + "/fixtures.txt").c_str());
        rmdir(d.c_str());
    }
}

}  // namespace
