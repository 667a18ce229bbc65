// Line-by-line reading of the help source. Directives start with '@', '#'
// starts a comment line, a blank line ends a paragraph, "- " starts a list
// item, and inline markup is {jump text|context} and `code`; a backslash
// makes the next character literal.
#include "source.h"

#include <cstdio>

#include "check.h"

namespace hlp {

namespace {

const size_t kMaxTitle = 127;
const size_t kMaxCopyright = 255;

struct ParseState {
    HelpSource& source;
    std::vector<Diagnostic>& errors;
    int line = 0;
    Paragraph* paragraph = nullptr;  // the paragraph that further lines continue
};

void Fail(ParseState& state, const std::string& message)
{
    state.errors.push_back({state.line, message});
}

bool IsEscapable(char c)
{
    return c == '\\' || c == '{' || c == '}' || c == '|' || c == '`' || c == '@' || c == '#' || c == '-';
}

std::string Trim(const std::string& text)
{
    size_t begin = text.find_first_not_of(' ');
    if (begin == std::string::npos) return std::string();
    size_t end = text.find_last_not_of(' ');
    return text.substr(begin, end - begin + 1);
}

// Tabs become spaces; other control characters and bytes above 0x7E are
// refused, since the file is written in the ANSI code page and the source
// would have to say which one.
bool CleanLine(ParseState& state, std::string& text)
{
    if (!text.empty() && text.back() == '\r') text.pop_back();
    for (char& c : text) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (byte == '\t') {
            c = ' ';
        } else if (byte < 0x20 || byte > 0x7E) {
            char message[80];
            std::snprintf(message, sizeof message, "character 0x%02X is not printable ASCII", byte);
            Fail(state, message);
            return false;
        }
    }
    return true;
}

void AddRun(Paragraph& paragraph, RunKind kind, const std::string& text, const std::string& target, int line)
{
    if (kind == RunKind::Text && !paragraph.runs.empty() && paragraph.runs.back().kind == RunKind::Text) {
        paragraph.runs.back().text += text;
        return;
    }
    Run run;
    run.kind = kind;
    run.text = text;
    run.target = target;
    run.line = line;
    paragraph.runs.push_back(run);
}

// Reads up to the unescaped `stop` character; returns its position or npos.
size_t ReadUntil(const std::string& text, size_t at, char stop, std::string& literal)
{
    for (; at < text.size(); ++at) {
        char c = text[at];
        if (c == '\\' && at + 1 < text.size() && IsEscapable(text[at + 1])) {
            literal += text[++at];
        } else if (c == stop) {
            return at;
        } else {
            literal += c;
        }
    }
    return std::string::npos;
}

bool SplitJump(ParseState& state, const std::string& body, std::string& text, std::string& target)
{
    size_t bar = ReadUntil(body, 0, '|', text);
    if (bar == std::string::npos) {
        Fail(state, "jump {" + body + "} needs the form {text|context}");
        return false;
    }
    target = Trim(body.substr(bar + 1));
    if (Trim(text).empty()) {
        Fail(state, "jump to '" + target + "' has no text");
        return false;
    }
    return true;
}

// A jump's body is read raw first (escapes resolved in SplitJump), so an
// escaped '}' inside it does not end it.
size_t ReadJump(ParseState& state, const std::string& line, size_t at)
{
    std::string raw;
    size_t close = at + 1;
    for (; close < line.size(); ++close) {
        if (line[close] == '\\' && close + 1 < line.size()) {
            raw += line[close];
            raw += line[++close];
        } else if (line[close] == '}') {
            break;
        } else if (line[close] == '{') {
            Fail(state, "'{' inside a jump");
            return std::string::npos;
        } else {
            raw += line[close];
        }
    }
    if (close >= line.size()) {
        Fail(state, "unterminated jump: '{' without '}' on the same line");
        return std::string::npos;
    }
    std::string text, target;
    if (!SplitJump(state, raw, text, target)) return std::string::npos;
    AddRun(*state.paragraph, RunKind::Jump, text, target, state.line);
    return close + 1;
}

size_t ReadCode(ParseState& state, const std::string& line, size_t at)
{
    std::string code;
    size_t close = ReadUntil(line, at + 1, '`', code);
    if (close == std::string::npos) {
        Fail(state, "unterminated code: '`' without a closing '`' on the same line");
        return std::string::npos;
    }
    if (code.empty()) {
        Fail(state, "empty code span ``");
        return std::string::npos;
    }
    AddRun(*state.paragraph, RunKind::Code, code, std::string(), state.line);
    return close + 1;
}

void ReadInline(ParseState& state, const std::string& line)
{
    std::string text;
    size_t at = 0;
    while (at < line.size()) {
        char c = line[at];
        if (c == '\\' && at + 1 < line.size() && IsEscapable(line[at + 1])) {
            text += line[at + 1];
            at += 2;
            continue;
        }
        if (c == '}') {
            Fail(state, "'}' without '{' (write \\} for the character)");
            return;
        }
        if (c != '{' && c != '`') {
            text += c;
            ++at;
            continue;
        }
        if (!text.empty()) AddRun(*state.paragraph, RunKind::Text, text, std::string(), state.line);
        text.clear();
        at = c == '{' ? ReadJump(state, line, at) : ReadCode(state, line, at);
        if (at == std::string::npos) return;
    }
    if (!text.empty()) AddRun(*state.paragraph, RunKind::Text, text, std::string(), state.line);
}

Topic* CurrentTopic(ParseState& state)
{
    return state.source.topics.empty() ? nullptr : &state.source.topics.back();
}

void StartTopic(ParseState& state, const std::string& argument)
{
    state.paragraph = nullptr;
    if (argument.empty()) {
        Fail(state, "@topic needs a context string");
        return;
    }
    Topic topic;
    topic.context = argument;
    topic.line = state.line;
    state.source.topics.push_back(topic);
}

void SetTopicTitle(ParseState& state, const std::string& argument)
{
    Topic* topic = CurrentTopic(state);
    if (!topic) {
        Fail(state, "@title outside a topic (start one with @topic)");
    } else if (topic->titleLine) {
        Fail(state, "second @title for topic '" + topic->context + "'");
    } else if (argument.empty()) {
        topic->titleLine = state.line;
        Fail(state, "empty title for topic '" + topic->context + "'");
    } else if (argument.size() > kMaxTitle) {
        topic->titleLine = state.line;
        Fail(state, "title longer than 127 characters");
    } else {
        topic->title = argument;
        topic->titleLine = state.line;
    }
}

// "@keywords a; b c; d": index entries, separated by semicolons.
void AddKeywords(ParseState& state, const std::string& argument)
{
    Topic* topic = CurrentTopic(state);
    if (!topic) {
        Fail(state, "@keywords outside a topic (start one with @topic)");
        return;
    }
    size_t at = 0;
    for (;;) {
        size_t end = argument.find(';', at);
        std::string keyword = Trim(argument.substr(at, end == std::string::npos ? std::string::npos : end - at));
        if (keyword.empty() || keyword.size() > kMaxTitle) {
            Fail(state, "keywords must be 1 to 127 characters, separated by ';'");
            return;
        }
        topic->keywords.push_back(keyword);
        if (end == std::string::npos) return;
        at = end + 1;
    }
}

bool SetFileText(ParseState& state, const std::string& name, const std::string& argument, size_t limit,
                 std::string& field)
{
    if (!CurrentTopic(state) && field.empty() && !argument.empty() && argument.size() <= limit) {
        field = argument;
        return true;
    }
    if (CurrentTopic(state)) Fail(state, name + " belongs before the first @topic");
    else if (!field.empty()) Fail(state, "second " + name);
    else if (argument.empty()) Fail(state, name + " needs a text");
    else Fail(state, name + " is longer than " + std::to_string(limit) + " characters");
    return false;
}

void ReadDirective(ParseState& state, const std::string& line)
{
    size_t space = line.find(' ');
    std::string name = line.substr(0, space);
    std::string argument = space == std::string::npos ? std::string() : Trim(line.substr(space));
    HelpSource& source = state.source;
    if (name == "@topic") {
        StartTopic(state, argument);
        return;
    }
    state.paragraph = nullptr;
    if (name == "@title") {
        SetTopicTitle(state, argument);
    } else if (name == "@file-title") {
        SetFileText(state, name, argument, kMaxTitle, source.fileTitle);
    } else if (name == "@copyright") {
        SetFileText(state, name, argument, kMaxCopyright, source.copyright);
    } else if (name == "@contents") {
        if (SetFileText(state, name, argument, 255, source.contents)) source.contentsLine = state.line;
    } else if (name == "@keywords") {
        AddKeywords(state, argument);
    } else if (name == "@macro") {
        if (CurrentTopic(state) || argument.empty()) Fail(state, "@macro needs a macro and belongs before the first @topic");
        else source.macros.push_back(argument);
    } else {
        Fail(state, "unknown directive '" + name + "'");
    }
}

void ReadTextLine(ParseState& state, const std::string& line)
{
    Topic* topic = CurrentTopic(state);
    if (!topic) {
        Fail(state, "text before the first @topic");
        return;
    }
    bool item = line.size() >= 2 && line[0] == '-' && line[1] == ' ';
    if (item || !state.paragraph) {
        topic->paragraphs.emplace_back();
        state.paragraph = &topic->paragraphs.back();
        state.paragraph->listItem = item;
        state.paragraph->line = state.line;
    } else {
        AddRun(*state.paragraph, RunKind::Text, " ", std::string(), state.line);
    }
    ReadInline(state, item ? Trim(line.substr(2)) : line);
}

void ReadLine(ParseState& state, std::string line)
{
    if (!CleanLine(state, line)) return;
    if (!line.empty() && line[0] == '#') return;
    line = Trim(line);
    if (line.empty()) {
        state.paragraph = nullptr;
    } else if (line[0] == '@') {
        ReadDirective(state, line);
    } else {
        ReadTextLine(state, line);
    }
}

}  // namespace

bool ParseHelpSource(const std::string& text, HelpSource& source, std::vector<Diagnostic>& errors)
{
    source = HelpSource();
    ParseState state{source, errors};
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        ++state.line;
        ReadLine(state, text.substr(at, end - at));
        at = end + 1;
    }
    CheckHelpSource(source, state.line, errors);
    return errors.empty();
}

std::string FormatDiagnostic(const std::string& fileName, const Diagnostic& diagnostic)
{
    return fileName + ":" + std::to_string(diagnostic.line) + ": " + diagnostic.message;
}

}  // namespace hlp
