// hlpgen SOURCE OUT.hlp: makes the product's WinHelp 3.1 help file from its
// readable source at build time. Problems in the source are reported as
// "SOURCE:LINE: message" with exit code 1, and no help file is left behind.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "helpfile.h"
#include "source.h"

namespace {

bool ReadWholeFile(const std::string& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return true;
}

// Written beside the target and renamed, so a failed write never leaves a
// truncated help file that looks up to date.
bool WriteWholeFile(const std::string& path, const hlp::Bytes& bytes)
{
    std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) return false;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: hlpgen SOURCE OUT.hlp\n");
        return 2;
    }
    const std::string sourcePath = argv[1];
    const std::string outputPath = argv[2];
    std::string text;
    if (!ReadWholeFile(sourcePath, text)) {
        std::fprintf(stderr, "%s: cannot read the help source\n", sourcePath.c_str());
        return 1;
    }
    hlp::HelpSource source;
    std::vector<hlp::Diagnostic> errors;
    if (!hlp::ParseHelpSource(text, source, errors)) {
        for (const hlp::Diagnostic& error : errors) {
            std::fprintf(stderr, "%s\n", hlp::FormatDiagnostic(sourcePath, error).c_str());
        }
        std::remove(outputPath.c_str());
        return 1;
    }
    if (!WriteWholeFile(outputPath, hlp::BuildHelpFile(source))) {
        std::fprintf(stderr, "%s: cannot write the help file\n", outputPath.c_str());
        return 1;
    }
    return 0;
}
