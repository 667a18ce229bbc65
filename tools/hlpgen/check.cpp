// Cross-checks of the parsed help source. Contexts are compared by their
// hash, since that is all the help file keeps of them: two names with one
// hash would open the same topic.
#include "check.h"

#include <cctype>
#include <map>

#include "context_hash.h"
#include "topic.h"

namespace hlp {

namespace {

struct Known {
    std::string context;
    int line;
};

bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

void Report(std::vector<Diagnostic>& errors, int line, const std::string& message)
{
    errors.push_back({line, message});
}

void CheckTopic(const Topic& topic, std::map<int32_t, Known>& known, std::vector<Diagnostic>& errors)
{
    if (!IsValidContextString(topic.context)) {
        Report(errors, topic.line, "invalid context string '" + topic.context +
                                       "' (letters, digits, '_' and '.' only, at most 255)");
    } else {
        auto inserted = known.insert({ContextHash(topic.context), Known{topic.context, topic.line}});
        const Known& first = inserted.first->second;
        if (!inserted.second && SameIgnoringCase(first.context, topic.context)) {
            Report(errors, topic.line, "duplicate context string '" + topic.context + "' (first at line " +
                                           std::to_string(first.line) + ")");
        } else if (!inserted.second) {
            Report(errors, topic.line, "context string '" + topic.context + "' has the same hash as '" +
                                           first.context + "' (line " + std::to_string(first.line) + ")");
        }
    }
    if (!topic.titleLine) Report(errors, topic.line, "topic '" + topic.context + "' has no @title");
    if (topic.paragraphs.empty()) Report(errors, topic.line, "topic '" + topic.context + "' has no text");
    for (const Paragraph& paragraph : topic.paragraphs) {
        if (ParagraphLinkSize(paragraph) > kMaxLinkSize) {
            Report(errors, paragraph.line, "paragraph too long for a topic block (" +
                                               std::to_string(ParagraphLinkSize(paragraph)) + " bytes, at most " +
                                               std::to_string(kMaxLinkSize) + ")");
        }
    }
}

bool IsKnown(const std::map<int32_t, Known>& known, const std::string& context)
{
    return IsValidContextString(context) && known.count(ContextHash(context));
}

void CheckJumps(const Topic& topic, const std::map<int32_t, Known>& known, std::vector<Diagnostic>& errors)
{
    for (const Paragraph& paragraph : topic.paragraphs) {
        for (const Run& run : paragraph.runs) {
            if (run.kind == RunKind::Jump && !IsKnown(known, run.target)) {
                Report(errors, run.line, "jump to unknown context '" + run.target + "'");
            }
        }
    }
}

}  // namespace

void CheckHelpSource(HelpSource& source, int lastLine, std::vector<Diagnostic>& errors)
{
    if (source.fileTitle.empty()) Report(errors, 1, "missing @file-title");
    if (source.topics.empty()) {
        Report(errors, lastLine, "no @topic in the file");
        return;
    }
    std::map<int32_t, Known> known;
    for (const Topic& topic : source.topics) CheckTopic(topic, known, errors);
    for (const Topic& topic : source.topics) CheckJumps(topic, known, errors);
    if (source.contents.empty()) {
        source.contents = source.topics.front().context;
    } else if (!IsKnown(known, source.contents)) {
        Report(errors, source.contentsLine, "@contents names unknown context '" + source.contents + "'");
    }
}

}  // namespace hlp
