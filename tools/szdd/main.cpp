// szdd: the build's SZDD packer.
//
//   szdd compress IN OUT    pack IN in the MS-DOS COMPRESS "SZDD" format
//   szdd expand IN OUT      unpack an SZDD file
//   szdd fixtures OUTDIR    write sample pairs NAME.plain / NAME.szdd and
//                           the list fixtures.txt, for the LZ32 peer test
//   szdd bench FILE...      sizes against mscompress and throughput
//
// OUT is written whole or not at all; errors go to stderr with exit code 1.
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "szdd.h"
#include "szdd_bench.h"
#include "szdd_files.h"
#include "szdd_samples.h"

namespace {

int Fail(const std::string& message)
{
    fprintf(stderr, "szdd: %s\n", message.c_str());
    return 1;
}

int Usage()
{
    fprintf(stderr,
            "usage: szdd compress IN OUT\n"
            "       szdd expand IN OUT\n"
            "       szdd fixtures OUTDIR\n"
            "       szdd bench FILE...\n");
    return 2;
}

int Compress(const std::string& inPath, const std::string& outPath)
{
    std::vector<uint8_t> plain, packed;
    std::string error;
    if (!ReadWholeFile(inPath, plain, error))
        return Fail(error);
    SzddStatus status = SzddCompress(plain, SzddMissingCharOf(inPath.c_str()), packed);
    if (status != SzddOk)
        return Fail(inPath + ": " + SzddStatusText(status));
    if (!WriteWholeFile(outPath, packed, error))
        return Fail(error);
    return 0;
}

int Expand(const std::string& inPath, const std::string& outPath)
{
    std::vector<uint8_t> packed, plain;
    std::string error;
    if (!ReadWholeFile(inPath, packed, error))
        return Fail(error);
    SzddStatus status = SzddExpand(packed, plain);
    if (status != SzddOk) {
        std::string message = inPath + ": " + SzddStatusText(status);
        if (status == SzddTruncated || status == SzddTooLong)
            message += " (" + std::to_string(SzddDeclaredLength(packed.data())) +
                       " bytes declared, " + std::to_string(plain.size()) +
                       (status == SzddTooLong ? " reached before the data ended)" : " expanded)");
        return Fail(message);
    }
    if (!WriteWholeFile(outPath, plain, error))
        return Fail(error);
    return 0;
}

int WriteFixtures(const std::string& dir)
{
    mkdir(dir.c_str(), 0755);
    remove((dir + "/fixtures.txt").c_str());
    std::string list, error;
    for (const SzddSample& sample : SzddSamples()) {
        std::vector<uint8_t> packed;
        std::string base = dir + "/" + sample.name;
        SzddCompress(sample.bytes, SzddMissingCharOf(sample.name.c_str()), packed);
        if (!WriteWholeFile(base + ".plain", sample.bytes, error) ||
            !WriteWholeFile(base + ".szdd", packed, error))
            return Fail(error);
        list += sample.name + "\n";
    }
    // Written last: its presence means every pair is complete.
    std::vector<uint8_t> listBytes(list.begin(), list.end());
    if (!WriteWholeFile(dir + "/fixtures.txt", listBytes, error))
        return Fail(error);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    std::string command = argv[1];
    if (command == "compress" && argc == 4)
        return Compress(argv[2], argv[3]);
    if (command == "expand" && argc == 4)
        return Expand(argv[2], argv[3]);
    if (command == "fixtures" && argc == 3)
        return WriteFixtures(argv[2]);
    if (command == "bench" && argc >= 3)
        return RunBench(std::vector<std::string>(argv + 2, argv + argc));
    return Usage();
}
