// The packer against Debian's mscompress package: msexpand must read what we
// write, we must read what mscompress writes, and our files must never be
// larger than mscompress's, and clearly smaller over a mixed corpus.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <dirent.h>
#include <sys/stat.h>

#include "szdd.h"
#include "szdd_files.h"
#include "szdd_samples.h"
#include "szdd_test_support.h"

namespace {

// mscompress 0.4 mangles inputs shorter than 16 bytes (its output expands
// to different bytes, even with msexpand), so those are no reference.
constexpr size_t kMscompressMinInput = 16;

struct CorpusFile {
    std::string name;
    std::vector<uint8_t> bytes;
    bool inSizeCorpus = false;
};

bool IsRegularFile(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::vector<uint8_t> ReadPrefix(const std::string& path, size_t size)
{
    std::vector<uint8_t> bytes;
    std::string error;
    ReadWholeFile(path, bytes, error);
    if (bytes.size() > size)
        bytes.resize(size);
    return bytes;
}

// The payload's files when they exist yet, a license text, the start of a
// large program, and generated text and tables.
std::vector<CorpusFile> SizeCorpus()
{
    std::vector<CorpusFile> corpus;
    if (DIR* d = opendir(PAYLOAD_DIR)) {
        std::vector<std::string> names;
        while (dirent* e = readdir(d))
            if (IsRegularFile(std::string(PAYLOAD_DIR) + "/" + e->d_name))
                names.push_back(e->d_name);
        closedir(d);
        std::sort(names.begin(), names.end());
        for (const std::string& name : names)
            corpus.push_back({name, ReadPrefix(std::string(PAYLOAD_DIR) + "/" + name, SIZE_MAX)});
    }
    corpus.push_back({"GPL-3", ReadPrefix("/usr/share/common-licenses/GPL-3", SIZE_MAX)});
    const char* program = "/usr/bin/cmake";  // the build's own, so always there
    if (IsRegularFile(program))
        corpus.push_back({"cmake (300 KB)", ReadPrefix(program, 300 * 1024)});
    else
        ADD_FAILURE() << program << " is missing";
    corpus.push_back({"generated notes", SzddGeneratedText(150000, 61)});
    corpus.push_back({"generated records", SzddRecordTable(100000, 62)});
    for (CorpusFile& f : corpus)
        f.inSizeCorpus = true;
    return corpus;
}

// The samples mscompress packs faithfully, and the size corpus.
std::vector<CorpusFile> PeerInputs()
{
    std::vector<CorpusFile> inputs;
    for (const SzddSample& s : SzddSamples())
        if (s.bytes.size() >= kMscompressMinInput)
            inputs.push_back({s.name, s.bytes});
    std::vector<CorpusFile> corpus = SizeCorpus();
    inputs.insert(inputs.end(), corpus.begin(), corpus.end());
    return inputs;
}

// mscompress FILE writes FILE_ beside it.
bool Mscompress(const ScopedTempDir& dir, const std::vector<uint8_t>& plain,
                std::vector<uint8_t>& packed)
{
    std::string error;
    remove(dir.File("input_").c_str());
    if (!WriteWholeFile(dir.File("input"), plain, error))
        return false;
    if (RunProgram({"mscompress", "input"}, dir.path, "", "/dev/null") != 0)
        return false;
    bool ok = ReadWholeFile(dir.File("input_"), packed, error);
    remove(dir.File("input").c_str());
    remove(dir.File("input_").c_str());
    return ok;
}

// msexpand < IN > OUT.
bool Msexpand(const ScopedTempDir& dir, const std::vector<uint8_t>& packed,
              std::vector<uint8_t>& plain)
{
    std::string error;
    if (!WriteWholeFile(dir.File("packed"), packed, error))
        return false;
    int code = RunProgram({"msexpand"}, "", dir.File("packed"), dir.File("expanded"));
    bool ok = code == 0 && ReadWholeFile(dir.File("expanded"), plain, error);
    remove(dir.File("packed").c_str());
    remove(dir.File("expanded").c_str());
    return ok;
}

TEST(SzddPeers, MsexpandReadsOurFiles)
{
    ScopedTempDir dir;
    std::vector<CorpusFile> inputs;
    for (const SzddSample& s : SzddSamples())
        inputs.push_back({s.name, s.bytes});
    for (const CorpusFile& f : SizeCorpus())
        inputs.push_back(f);
    for (const CorpusFile& input : inputs) {
        SCOPED_TRACE(input.name);
        std::vector<uint8_t> packed, expanded;
        SzddCompress(input.bytes, 'x', packed);
        ASSERT_TRUE(Msexpand(dir, packed, expanded)) << "msexpand failed";
        EXPECT_TRUE(expanded == input.bytes)
            << "msexpand gave " << expanded.size() << " bytes, want " << input.bytes.size();
    }
}

TEST(SzddPeers, MsexpandFollowsTheSameRingRules)
{
    ScopedTempDir dir;
    for (const HandMadeStream& row : HandMadeStreams()) {
        SCOPED_TRACE(row.name);
        std::vector<uint8_t> expanded;
        ASSERT_TRUE(Msexpand(dir, row.file, expanded)) << "msexpand failed";
        EXPECT_TRUE(expanded == row.expected)
            << "msexpand gave " << expanded.size() << " bytes, want " << row.expected.size();
    }
}

TEST(SzddPeers, WeReadMscompressFiles)
{
    ScopedTempDir dir;
    for (const CorpusFile& input : PeerInputs()) {
        SCOPED_TRACE(input.name);
        std::vector<uint8_t> packed, expanded;
        ASSERT_TRUE(Mscompress(dir, input.bytes, packed)) << "mscompress failed";
        SzddStatus status = SzddExpand(packed, expanded);
        EXPECT_EQ(SzddOk, status) << SzddStatusText(status);
        EXPECT_TRUE(expanded == input.bytes)
            << "got " << expanded.size() << " bytes, want " << input.bytes.size();
    }
}

TEST(SzddPeers, NeverLargerThanMscompressAndSmallerOverall)
{
    ScopedTempDir dir;
    size_t corpusOurs = 0, corpusTheirs = 0;
    printf("%-24s %10s %10s %10s\n", "corpus file", "bytes", "ours", "mscompress");
    for (const CorpusFile& input : PeerInputs()) {
        SCOPED_TRACE(input.name);
        std::vector<uint8_t> ours, theirs;
        SzddCompress(input.bytes, 0, ours);
        ASSERT_TRUE(Mscompress(dir, input.bytes, theirs)) << "mscompress failed";
        EXPECT_LE(ours.size(), theirs.size());
        if (input.inSizeCorpus) {
            printf("%-24s %10zu %10zu %10zu\n", input.name.c_str(), input.bytes.size(), ours.size(),
                   theirs.size());
            corpusOurs += ours.size();
            corpusTheirs += theirs.size();
        }
    }
    double saving = 100.0 * (1.0 - double(corpusOurs) / double(corpusTheirs));
    printf("%-24s %10s %10zu %10zu  (%.2f%% smaller)\n", "total", "", corpusOurs, corpusTheirs,
           saving);
    EXPECT_GE(saving, 3.0) << "ours " << corpusOurs << " bytes, mscompress " << corpusTheirs;
}

}  // namespace
