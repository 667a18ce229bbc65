// Checks of the help generator by reading its output back with an
// independent reader (hlpreader.cpp): the file header, the directory, the
// system record, every context resolving to its topic, the jumps, the topic
// blocks; and that faulty sources are refused with FILE:LINE messages.
#include <gtest/gtest.h>

#include <cstdio>
#include <strings.h>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "context_hash.h"
#include "helpfile.h"
#include "hlpreader.h"
#include "lz77.h"
#include "source.h"

namespace {

using hlp::Bytes;
using hlptest::ReadHelp;
using hlptest::ReadTopic;

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

Bytes ReadBytes(const std::string& path)
{
    std::string text = ReadText(path);
    return Bytes(text.begin(), text.end());
}

std::string JoinDiagnostics(const std::vector<hlp::Diagnostic>& errors)
{
    std::string all;
    for (const hlp::Diagnostic& error : errors) all += hlp::FormatDiagnostic("src", error) + "\n";
    return all;
}

// Parses and builds, failing the test on a diagnostic.
Bytes BuildFrom(const std::string& text, hlp::HelpSource& source)
{
    std::vector<hlp::Diagnostic> errors;
    bool parsed = hlp::ParseHelpSource(text, source, errors);
    EXPECT_TRUE(parsed) << JoinDiagnostics(errors);
    return parsed ? hlp::BuildHelpFile(source) : Bytes();
}

ReadHelp ReadBack(const Bytes& bytes)
{
    ReadHelp help;
    std::string error;
    EXPECT_TRUE(hlptest::ReadHelpFile(bytes, help, error)) << "reader: " << error;
    return help;
}

// The topic a context string opens, found as the viewer finds it.
const ReadTopic* Resolve(const ReadHelp& help, const std::string& context)
{
    uint32_t offset = 0;
    if (!hlptest::LookupContext(help, hlp::ContextHash(context), offset)) return nullptr;
    return hlptest::TopicAt(help, offset);
}

class ProductHelpFile : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        text = new std::string(ReadText(HELP_SOURCE_PATH));
        source = new hlp::HelpSource();
        bytes = new Bytes(BuildFrom(*text, *source));
        help = new ReadHelp(ReadBack(*bytes));
    }
    static void TearDownTestSuite()
    {
        delete help;
        delete bytes;
        delete source;
        delete text;
    }
    static std::string* text;
    static hlp::HelpSource* source;
    static Bytes* bytes;
    static ReadHelp* help;
};

std::string* ProductHelpFile::text;
hlp::HelpSource* ProductHelpFile::source;
Bytes* ProductHelpFile::bytes;
ReadHelp* ProductHelpFile::help;

const char* const kAppletContexts[] = {"applet_ping", "applet_trace", "applet_look",  "applet_finger",
                                       "applet_whois", "applet_ldap", "applet_quote", "applet_scan",
                                       "applet_snmp", "applet_winnet"};

TEST_F(ProductHelpFile, HeaderAndDirectoryListEveryInternalFile)
{
    EXPECT_EQ(0x00035F3Fu, help->magic);
    EXPECT_EQ(0xFFFFFFFFu, help->freeList);
    EXPECT_EQ(bytes->size(), help->fileSize);
    EXPECT_EQ((std::vector<std::string>{"|CONTEXT", "|FONT", "|KWBTREE", "|KWDATA", "|KWMAP", "|SYSTEM", "|TOPIC",
                                        "|TTLBTREE"}),
              help->fileNames);
    EXPECT_EQ(0x0402u, help->directory.flags);
    EXPECT_EQ(1024u, help->directory.pageSize);
    EXPECT_EQ("z4", help->directory.structure);
    // Internal files lie between the header and the directory without overlap.
    std::set<uint32_t> starts;
    for (const auto& file : help->files) starts.insert(file.second);
    starts.insert(help->directoryStart);
    uint32_t expected = 16;
    for (uint32_t start : starts) {
        SCOPED_TRACE(start);
        EXPECT_EQ(expected, start);
        expected = start + hlp::GetLong(&(*bytes)[start]);
    }
    EXPECT_EQ(bytes->size(), expected);
}

TEST_F(ProductHelpFile, SystemHoldsVersionTitleAndContents)
{
    EXPECT_EQ(0x036Cu, help->systemMagic);
    EXPECT_EQ(21u, help->minor);
    EXPECT_EQ(1u, help->major);
    EXPECT_EQ(4u, help->systemFlags);
    EXPECT_EQ(0u, help->buildDate);
    EXPECT_EQ("Lumetra Help", help->title);
    EXPECT_NE(std::string::npos, help->copyright.find("Veltrane"));
    const ReadTopic* overview = Resolve(*help, "overview");
    ASSERT_NE(nullptr, overview);
    EXPECT_EQ(overview->offset, help->contents);
    EXPECT_EQ(help->topics.front().offset, help->contents);
    EXPECT_EQ(std::vector<std::string>{"BrowseButtons()"}, help->macros);
}

TEST_F(ProductHelpFile, EveryContextOpensItsTopic)
{
    ASSERT_EQ(source->topics.size(), help->topics.size());
    EXPECT_EQ(source->topics.size(), help->context.entries);
    std::vector<std::string> contexts = {"overview", "settings", "install_remove"};
    contexts.insert(contexts.end(), std::begin(kAppletContexts), std::end(kAppletContexts));
    EXPECT_EQ(contexts.size(), source->topics.size());
    for (const std::string& context : contexts) {
        SCOPED_TRACE(context);
        const ReadTopic* topic = Resolve(*help, context);
        ASSERT_NE(nullptr, topic) << "hash not in |CONTEXT or offset opens no topic";
        const hlp::Topic* written = nullptr;
        for (const hlp::Topic& candidate : source->topics) {
            if (candidate.context == context) written = &candidate;
        }
        ASSERT_NE(nullptr, written);
        EXPECT_EQ(written->title, topic->title);
        EXPECT_EQ(written->title, help->titlesByOffset.at(topic->offset));
        ASSERT_FALSE(topic->paragraphs.empty());
        EXPECT_EQ(written->title, topic->paragraphs.front().text) << "title paragraph";
        EXPECT_EQ(written->paragraphs.size() + 1, topic->paragraphs.size());
    }
}

TEST_F(ProductHelpFile, OverviewJumpsToEveryOtherTopic)
{
    const ReadTopic* overview = Resolve(*help, "overview");
    ASSERT_NE(nullptr, overview);
    std::set<int32_t> targets;
    for (const auto& paragraph : overview->paragraphs) {
        for (const auto& jump : paragraph.jumps) targets.insert(jump.hash);
    }
    std::vector<std::string> others(std::begin(kAppletContexts), std::end(kAppletContexts));
    others.push_back("settings");
    others.push_back("install_remove");
    for (const std::string& context : others) {
        SCOPED_TRACE(context);
        EXPECT_EQ(1u, targets.count(hlp::ContextHash(context)));
    }
    EXPECT_NE(std::string::npos, overview->paragraphs[3].text.find("* Ping: is a host reachable"))
        << overview->paragraphs[3].text;
}

TEST_F(ProductHelpFile, EveryJumpResolvesAndHasText)
{
    size_t jumps = 0;
    for (const ReadTopic& topic : help->topics) {
        for (const auto& paragraph : topic.paragraphs) {
            for (const auto& jump : paragraph.jumps) {
                SCOPED_TRACE(topic.title + " -> " + jump.text);
                uint32_t offset = 0;
                ASSERT_TRUE(hlptest::LookupContext(*help, jump.hash, offset));
                EXPECT_NE(nullptr, hlptest::TopicAt(*help, offset));
                EXPECT_FALSE(jump.text.empty());
                ++jumps;
            }
        }
    }
    EXPECT_GE(jumps, 12u + 12u);  // the overview's and every way back
}

TEST_F(ProductHelpFile, TopicsFormOneBrowseSequence)
{
    const auto& topics = help->topics;
    for (size_t i = 0; i < topics.size(); ++i) {
        SCOPED_TRACE(topics[i].title);
        EXPECT_EQ(i, topics[i].number);
        EXPECT_EQ(i == 0 ? 0xFFFFFFFFu : topics[i - 1].offset, topics[i].browseBack);
        EXPECT_EQ(i + 1 == topics.size() ? 0xFFFFFFFFu : topics[i + 1].offset, topics[i].browseForward);
        EXPECT_EQ(i + 1 == topics.size() ? 0xFFFFFFFFu : topics[i + 1].position, topics[i].nextTopic);
        if (i > 0) {
            EXPECT_LT(topics[i - 1].offset, topics[i].offset);
        }
    }
}

TEST_F(ProductHelpFile, TextKeepsMarkupAsFonts)
{
    const ReadTopic* settings = Resolve(*help, "settings");
    ASSERT_NE(nullptr, settings);
    const std::string& first = settings->paragraphs[1].text;
    EXPECT_NE(std::string::npos, first.find("HKEY_LOCAL_MACHINE\\Software\\Veltrane\\LumTools\\Settings")) << first;
    EXPECT_EQ((std::vector<unsigned>{0, 2, 0, 2, 0}), settings->paragraphs[1].fonts);
    EXPECT_EQ(std::vector<unsigned>{1}, settings->paragraphs[0].fonts) << "title font";
}

TEST_F(ProductHelpFile, IndexListsEveryKeywordOnceLeadingToItsTopic)
{
    size_t written = 0;
    for (const hlp::Topic& topic : source->topics) {
        for (const std::string& keyword : topic.keywords) {
            SCOPED_TRACE(keyword);
            ++written;
            auto found = help->keywords.find(keyword);
            ASSERT_NE(help->keywords.end(), found);
            ASSERT_EQ(1u, found->second.size()) << "Wine's viewer opens only single-topic keywords";
            const ReadTopic* opened = hlptest::TopicAt(*help, found->second[0]);
            ASSERT_NE(nullptr, opened);
            EXPECT_EQ(topic.title, opened->title);
        }
    }
    EXPECT_EQ(written, help->keywordOrder.size());
    for (size_t i = 1; i < help->keywordOrder.size(); ++i) {
        EXPECT_LT(strcasecmp(help->keywordOrder[i - 1].c_str(), help->keywordOrder[i].c_str()), 0)
            << help->keywordOrder[i - 1] << " before " << help->keywordOrder[i];
    }
    EXPECT_EQ((std::vector<std::pair<uint32_t, unsigned>>{{0, 0}}), help->keywordMap);
}

// lumtools.cnt (the contents file shipped beside the help file) names topics
// by context string: each must open a topic here.
TEST_F(ProductHelpFile, ContentsFileEntriesOpenTopics)
{
    std::ifstream contents(CONTENTS_FILE_PATH);
    if (!contents) GTEST_SKIP() << "no " << CONTENTS_FILE_PATH;
    std::string line;
    int entries = 0;
    while (std::getline(contents, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind(":Base ", 0) == 0) {
            EXPECT_EQ(":Base lumtools.hlp", line);
        }
        size_t equals = line.find('=');
        if (line.empty() || line[0] == ':' || equals == std::string::npos) continue;
        std::string context = line.substr(equals + 1, line.find_first_of("@>", equals) - equals - 1);
        SCOPED_TRACE(line);
        EXPECT_NE(nullptr, Resolve(*help, context));
        ++entries;
    }
    EXPECT_GE(entries, 13);
}

TEST_F(ProductHelpFile, SameSourceGivesSameBytes)
{
    hlp::HelpSource again;
    EXPECT_EQ(*bytes, BuildFrom(*text, again));
}

// Per process, since several build trees may run these tests at once.
std::string TempPath(const std::string& name)
{
    return testing::TempDir() + "hlpgen_" + std::to_string(getpid()) + "_" + name;
}

// Runs the generator program; returns its exit code, output in `messages`.
int RunGenerator(const std::string& source, const std::string& output, std::string& messages)
{
    std::string command = std::string(HLPGEN_PATH) + " '" + source + "' '" + output + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return -1;
    char buffer[512];
    while (fgets(buffer, sizeof buffer, pipe)) messages += buffer;
    int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(HlpgenProgram, WritesTheSameFileEveryRun)
{
    const std::string first = TempPath("first.hlp");
    const std::string second = TempPath("second.hlp");
    std::string messages;
    ASSERT_EQ(0, RunGenerator(HELP_SOURCE_PATH, first, messages)) << messages;
    ASSERT_EQ(0, RunGenerator(HELP_SOURCE_PATH, second, messages)) << messages;
    EXPECT_EQ("", messages);
    Bytes written = ReadBytes(first);
    EXPECT_FALSE(written.empty());
    EXPECT_EQ(written, ReadBytes(second));
    std::remove(first.c_str());
    std::remove(second.c_str());
}

TEST(HlpgenProgram, BadSourceFailsWithFileAndLineAndLeavesNoFile)
{
    const std::string source = TempPath("bad.help");
    const std::string output = TempPath("bad.hlp");
    std::ofstream(source) << "@file-title T\n@topic a\n@title A\nSee {b|nowhere}.\n";
    std::ofstream(output) << "stale";
    std::string messages;
    EXPECT_EQ(1, RunGenerator(source, output, messages));
    EXPECT_NE(std::string::npos, messages.find(source + ":4: jump to unknown context 'nowhere'")) << messages;
    EXPECT_FALSE(std::ifstream(output).good()) << "a failed run left " << output;
    std::remove(source.c_str());
}

struct BadSource {
    const char* what;
    const char* text;
    int line;
    const char* message;
};

const char kHead[] = "@file-title T\n";

TEST(HelpSourceErrors, EachFaultIsReportedAtItsLine)
{
    const BadSource cases[] = {
        {"unknown jump", "@topic a\n@title A\nText {x|b}.\n", 4, "jump to unknown context 'b'"},
        {"empty title", "@topic a\n@title\nText.\n", 3, "empty title for topic 'a'"},
        {"missing title", "@topic a\nText.\n", 2, "topic 'a' has no @title"},
        {"duplicate context", "@topic a\n@title A\nT.\n@topic a\n@title B\nT.\n", 5, "duplicate context string 'a' (first at line 2)"},
        {"duplicate by case", "@topic Abc\n@title A\nT.\n@topic aBC\n@title B\nT.\n", 5, "duplicate context string 'aBC'"},
        {"bad context", "@topic a-b\n@title A\nT.\n", 2, "invalid context string 'a-b'"},
        {"no text", "@topic a\n@title A\n", 2, "topic 'a' has no text"},
        {"unterminated jump", "@topic a\n@title A\nSee {x|a\n", 4, "unterminated jump"},
        {"jump without context", "@topic a\n@title A\nSee {x}.\n", 4, "needs the form {text|context}"},
        {"jump without text", "@topic a\n@title A\nSee {|a}.\n", 4, "has no text"},
        {"stray brace", "@topic a\n@title A\nSee x}.\n", 4, "'}' without '{'"},
        {"open code", "@topic a\n@title A\nSee `x.\n", 4, "unterminated code"},
        {"text before topic", "Hello.\n@topic a\n@title A\nT.\n", 2, "text before the first @topic"},
        {"unknown directive", "@topic a\n@title A\n@bold x\nT.\n", 4, "unknown directive '@bold'"},
        {"non-ASCII", "@topic a\n@title A\nCaf\xC3\xA9.\n", 4, "character 0xC3 is not printable ASCII"},
        {"unknown contents", "@contents z\n@topic a\n@title A\nT.\n", 2, "@contents names unknown context 'z'"},
        {"no topics", "", 1, "no @topic in the file"},
        {"empty keyword", "@topic a\n@title A\n@keywords x;; y\nT.\n", 4, "keywords must be 1 to 127 characters"},
        {"keywords outside topic", "@keywords x\n@topic a\n@title A\nT.\n", 2, "@keywords outside a topic"},
    };
    for (const BadSource& bad : cases) {
        SCOPED_TRACE(bad.what);
        hlp::HelpSource source;
        std::vector<hlp::Diagnostic> errors;
        EXPECT_FALSE(hlp::ParseHelpSource(std::string(kHead) + bad.text, source, errors));
        ASSERT_FALSE(errors.empty());
        bool found = false;
        for (const hlp::Diagnostic& error : errors) {
            found = found || (error.line == bad.line && error.message.find(bad.message) != std::string::npos);
        }
        EXPECT_TRUE(found) << "expected line " << bad.line << ": " << bad.message << "\ngot:\n"
                           << JoinDiagnostics(errors);
    }
}

TEST(HelpSourceErrors, MissingFileTitleAndOverlongParagraph)
{
    std::string longLine(4000, 'x');
    hlp::HelpSource source;
    std::vector<hlp::Diagnostic> errors;
    EXPECT_FALSE(hlp::ParseHelpSource("@topic a\n@title A\nShort.\n\n" + longLine + "\n", source, errors));
    std::string all = JoinDiagnostics(errors);
    EXPECT_NE(std::string::npos, all.find("src:1: missing @file-title")) << all;
    EXPECT_NE(std::string::npos, all.find("src:5: paragraph too long for a topic block")) << all;
}

TEST(HelpSourceSyntax, EscapesListItemsAndContinuationLines)
{
    hlp::HelpSource source;
    Bytes bytes = BuildFrom(std::string(kHead) +
                                "@topic a\n@title A\n"
                                "One line\n  and its continuation with \\{braces\\} and a \\` tick.\n"
                                "\n"
                                "- item {b|B.2} here\n"
                                "  continued\n"
                                "- \\- second item\n"
                                "\\@ not a directive\n"
                                "@topic B.2\n@title Second\nText.\n",
                            source);
    ReadHelp help = ReadBack(bytes);
    ASSERT_EQ(2u, help.topics.size());
    const auto& paragraphs = help.topics[0].paragraphs;
    ASSERT_EQ(4u, paragraphs.size());
    EXPECT_EQ("One line and its continuation with {braces} and a ` tick.", paragraphs[1].text);
    EXPECT_EQ("* item b here continued", paragraphs[2].text);
    ASSERT_EQ(1u, paragraphs[2].jumps.size());
    EXPECT_EQ(hlp::ContextHash("b.2"), paragraphs[2].jumps[0].hash);
    EXPECT_EQ("* - second item @ not a directive", paragraphs[3].text);
    EXPECT_EQ(0x0252u, paragraphs[2].settings) << "spacing, indents and a tab stop";
}

// Many topics: several topic blocks and a |CONTEXT tree with index pages.
TEST(LargeHelpFile, EveryTopicResolvesThroughIndexPagesAndBlocks)
{
    const int count = 600;
    std::string text = kHead;
    for (int i = 0; i < count; ++i) {
        std::string context = "topic_" + std::to_string(i);
        text += "@topic " + context + "\n@title Topic number " + std::to_string(i) + "\n";
        text += "This paragraph of topic " + std::to_string(i) + " leads on to {the next one|topic_" +
                std::to_string((i + 1) % count) + "} and says a little more so that blocks fill up.\n\n";
        text += "- A list item with `code` in it, number " + std::to_string(i * 7919 % 1000) + ".\n";
        text += "@keywords entry " + std::to_string(i) + "; shared\n";
    }
    hlp::HelpSource source;
    ReadHelp help = ReadBack(BuildFrom(text, source));
    ASSERT_EQ(static_cast<size_t>(count), help.topics.size());
    EXPECT_GE(help.context.levels, 2u);
    EXPECT_GE(help.topicBlocks, 4u);
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE(i);
        const ReadTopic* topic = Resolve(help, "topic_" + std::to_string(i));
        ASSERT_NE(nullptr, topic);
        EXPECT_EQ("Topic number " + std::to_string(i), topic->title);
        const auto& jumps = topic->paragraphs.at(1).jumps;
        ASSERT_EQ(1u, jumps.size());
        EXPECT_EQ(hlp::ContextHash("topic_" + std::to_string((i + 1) % count)), jumps[0].hash);
    }
    EXPECT_EQ(static_cast<size_t>(count), help.titlesByOffset.size());
    // A keyword of every topic leads to all of them, in order; the map
    // names the first keyword of each leaf page.
    ASSERT_EQ(static_cast<size_t>(count), help.keywords.at("shared").size());
    for (int i = 0; i < count; ++i) EXPECT_EQ(help.topics[i].offset, help.keywords.at("shared")[i]);
    ASSERT_GE(help.keywordMap.size(), 2u);
    for (size_t page = 0; page < help.keywordMap.size(); ++page) {
        EXPECT_EQ(page, help.keywordMap[page].second);
        EXPECT_LT(help.keywordMap[page].first, help.keywordOrder.size());
        if (page) {
            EXPECT_LT(help.keywordMap[page - 1].first, help.keywordMap[page].first);
        }
    }
}

TEST(ContextHash, FollowsTheWinHelpCharacterCodes)
{
    const struct {
        const char* context;
        int32_t hash;
    } cases[] = {
        {"a", 17}, {"A", 17}, {"z", 42}, {"1", 1}, {"9", 9}, {"0", 10}, {".", 12}, {"_", 13},
        {"ab", 17 * 43 + 18}, {"a_1", (17 * 43 + 13) * 43 + 1},
        // 42 * (43^6 + ... + 1) = 271818611106, kept modulo 2^32
        {"zzzzzzz", 1235671458},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.context);
        EXPECT_EQ(row.hash, hlp::ContextHash(row.context));
    }
    EXPECT_EQ(hlp::ContextHash("applet_ping"), hlp::ContextHash("APPLET_PING"));
    EXPECT_FALSE(hlp::IsValidContextString(""));
    EXPECT_FALSE(hlp::IsValidContextString("a b"));
    EXPECT_FALSE(hlp::IsValidContextString(std::string(256, 'a')));
    EXPECT_TRUE(hlp::IsValidContextString(std::string(255, 'a')));
}

TEST(Lz77, ExpandsToTheInputAndNeverGrowsPastLiterals)
{
    Bytes random(5000);
    uint32_t seed = 12345;
    for (uint8_t& byte : random) {
        seed = seed * 1103515245u + 12345u;
        byte = static_cast<uint8_t>(seed >> 24);
    }
    std::string prose;
    for (int i = 0; i < 200; ++i) prose += "The quick brown fox " + std::to_string(i % 17) + " jumps. ";
    const struct {
        const char* what;
        Bytes data;
    } cases[] = {
        {"empty", Bytes()},
        {"two bytes", Bytes{1, 2}},
        {"one run", Bytes(1000, 'a')},
        {"random", random},
        {"prose", Bytes(prose.begin(), prose.end())},
        {"repeat beyond the window", [&] {
             Bytes data(4600);
             for (size_t i = 0; i < data.size(); ++i) data[i] = random[i < 4500 ? i : i - 4500];
             return data;
         }()},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.what);
        Bytes packed = hlp::Lz77Compress(row.data);
        Bytes expanded;
        ASSERT_TRUE(hlp::Lz77Expand(packed.data(), packed.size(), expanded));
        EXPECT_EQ(row.data, expanded);
        EXPECT_LE(packed.size(), row.data.size() + (row.data.size() + 7) / 8);
    }
    EXPECT_LT(hlp::Lz77Compress(Bytes(1000, 'a')).size(), 150u);
    EXPECT_LT(hlp::Lz77Compress(Bytes(prose.begin(), prose.end())).size(), prose.size() / 3);
}

}  // namespace
