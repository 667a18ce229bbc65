// File and process helpers of the packer's command line, benchmark and
// tests: whole-file reads, writes that never leave a partial file behind,
// and running a peer program (Debian's mscompress/msexpand).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Reads the whole file; on failure returns false with a message in error.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error);

// Writes bytes to a temporary file beside path and renames it into place,
// so path is either untouched or complete.
bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error);

// Runs argv[0] (looked up in PATH) with stdin and stdout redirected to the
// given files (stderr too) when they are not empty, in directory cwd when not empty.
// Returns the exit status, or -1 when the program could not be run.
int RunProgram(const std::vector<std::string>& argv, const std::string& cwd,
               const std::string& stdinPath, const std::string& stdoutPath,
               const std::string& stderrPath = "");

// A new empty directory under $TMPDIR (or /tmp), and its removal with
// everything directly inside it.
std::string MakeTempDir(const char* tag);
void RemoveTempDir(const std::string& dir);

// The part of a path after its last slash.
std::string BaseName(const std::string& path);
