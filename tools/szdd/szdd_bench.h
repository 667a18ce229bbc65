// `szdd bench`: per-file sizes against Debian's mscompress and the codec's
// throughput, for `make bench`.
#pragma once

#include <string>
#include <vector>

// Prints the table to stdout; returns the process exit code.
int RunBench(const std::vector<std::string>& files);
