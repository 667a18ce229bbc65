// The readable help source: what a topic says, as parsed from the text
// format of resources/help/*.help (described at the top of lumtools.help).
#pragma once

#include <string>
#include <vector>

namespace hlp {

enum class RunKind {
    Text,  // plain text in the body font
    Code,  // `text` in the fixed-pitch font
    Jump,  // {text|context}: a hotspot that opens another topic
};

struct Run {
    RunKind kind = RunKind::Text;
    std::string text;
    std::string target;  // context string of a jump
    int line = 0;
};

struct Paragraph {
    bool listItem = false;  // "- " lines: bulleted and indented
    int line = 0;
    std::vector<Run> runs;
};

struct Topic {
    std::string context;
    std::string title;
    int line = 0;
    int titleLine = 0;
    std::vector<std::string> keywords;  // index entries that lead to this topic
    std::vector<Paragraph> paragraphs;
};

struct HelpSource {
    std::string fileTitle;
    std::string copyright;
    std::string contents;  // context string of the contents topic
    int contentsLine = 0;
    std::vector<std::string> macros;  // run by the viewer when it opens the file
    std::vector<Topic> topics;
};

struct Diagnostic {
    int line;
    std::string message;
};

// Reads the source text. Returns false with at least one diagnostic when the
// text is not well-formed or its topics do not fit together (unknown jump
// targets, duplicate contexts, missing titles).
bool ParseHelpSource(const std::string& text, HelpSource& source, std::vector<Diagnostic>& errors);

// "FILE:LINE: message", the form compilers use, so editors can jump to it.
std::string FormatDiagnostic(const std::string& fileName, const Diagnostic& diagnostic);

}  // namespace hlp
