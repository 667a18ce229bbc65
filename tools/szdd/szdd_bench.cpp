// The benchmark table: bytes in, our packed size, mscompress's packed size,
// and our packing and unpacking speed (median of several timed runs, each
// long enough for the clock to be meaningful).
#include "szdd_bench.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sys/stat.h>

#include "szdd.h"
#include "szdd_files.h"

namespace {

constexpr int kRuns = 5;
constexpr double kMinRunSeconds = 0.05;

struct BenchRow {
    std::string name;
    size_t plain = 0;
    size_t ours = 0;
    long long theirs = -1;  // -1: mscompress not available
    double compressMBs = 0;
    double expandMBs = 0;
};

template <typename Op>
double MedianMBs(size_t bytes, Op op)
{
    using Clock = std::chrono::steady_clock;
    std::vector<double> rates;
    for (int run = 0; run < kRuns; run++) {
        auto start = Clock::now();
        double seconds = 0;
        size_t done = 0;
        do {
            op();
            done += bytes;
            seconds = std::chrono::duration<double>(Clock::now() - start).count();
        } while (seconds < kMinRunSeconds);
        rates.push_back(done / seconds / 1e6);
    }
    std::sort(rates.begin(), rates.end());
    return rates[kRuns / 2];
}

// mscompress FILE writes FILE_ beside it; work on a copy in a private dir.
long long MscompressSize(const std::vector<uint8_t>& plain)
{
    std::string dir = MakeTempDir("szdd-bench");
    std::string error;
    long long size = -1;
    struct stat st;
    if (!dir.empty() && WriteWholeFile(dir + "/input", plain, error) &&
        RunProgram({"mscompress", "input"}, dir, "", "/dev/null") == 0 &&
        stat((dir + "/input_").c_str(), &st) == 0)
        size = st.st_size;
    RemoveTempDir(dir);
    return size;
}

bool MeasureFile(const std::string& path, BenchRow& row)
{
    std::vector<uint8_t> plain, packed, unpacked;
    std::string error;
    if (!ReadWholeFile(path, plain, error)) {
        fprintf(stderr, "szdd: %s\n", error.c_str());
        return false;
    }
    row.name = BaseName(path);
    row.plain = plain.size();
    SzddCompress(plain, 0, packed);
    row.ours = packed.size();
    if (SzddExpand(packed, unpacked) != SzddOk || unpacked != plain) {
        fprintf(stderr, "szdd: %s: round trip failed\n", path.c_str());
        return false;
    }
    row.theirs = MscompressSize(plain);
    size_t work = std::max<size_t>(plain.size(), 1);
    row.compressMBs = MedianMBs(work, [&] { SzddCompress(plain, 0, packed); });
    row.expandMBs = MedianMBs(work, [&] { SzddExpand(packed, unpacked); });
    return true;
}

std::string Percent(double part, double whole)
{
    char text[32];
    snprintf(text, sizeof text, "%.1f%%", whole > 0 ? 100.0 * part / whole : 0.0);
    return text;
}

void PrintRow(const BenchRow& r)
{
    std::string theirs = r.theirs < 0 ? "-" : std::to_string(r.theirs);
    std::string versus = r.theirs <= 0 ? "-" : Percent(double(r.ours) - r.theirs, r.theirs);
    printf("%-24s %10zu %10zu %10s %7s %8s %9.1f %9.1f\n", r.name.c_str(), r.plain, r.ours,
           theirs.c_str(), Percent(r.ours, r.plain).c_str(), versus.c_str(), r.compressMBs,
           r.expandMBs);
}

}  // namespace

int RunBench(const std::vector<std::string>& files)
{
    printf("%-24s %10s %10s %10s %7s %8s %9s %9s\n", "file", "bytes", "ours", "mscompress",
           "ratio", "vs ms", "pack MB/s", "unpk MB/s");
    BenchRow total;
    total.name = "total";
    bool haveTheirs = true;
    long long theirsTotal = 0;
    double packSeconds = 0, unpackSeconds = 0;
    for (const std::string& path : files) {
        BenchRow row;
        if (!MeasureFile(path, row))
            return 1;
        PrintRow(row);
        total.plain += row.plain;
        total.ours += row.ours;
        if (row.theirs < 0)
            haveTheirs = false;
        else
            theirsTotal += row.theirs;
        packSeconds += row.plain / 1e6 / row.compressMBs;
        unpackSeconds += row.plain / 1e6 / row.expandMBs;
    }
    total.theirs = haveTheirs ? theirsTotal : -1;
    total.compressMBs = packSeconds > 0 ? total.plain / 1e6 / packSeconds : 0;
    total.expandMBs = unpackSeconds > 0 ? total.plain / 1e6 / unpackSeconds : 0;
    PrintRow(total);
    return 0;
}
