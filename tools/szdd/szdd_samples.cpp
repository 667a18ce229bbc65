// The sample inputs shared by the packer's tests and its fixture command.
#include "szdd_samples.h"

namespace {

// A 64-bit LCG: fixed on every platform, unlike std's distributions.
struct Generator {
    uint64_t state;
    uint32_t Next()
    {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<uint32_t>(state >> 33);
    }
    uint32_t Below(uint32_t n) { return Next() % n; }
};

const char* const kWords[] = {
    "the", "network", "utility", "packet", "address", "host", "route", "trace",
    "ping", "timeout", "of", "and", "to", "a", "is", "in", "for", "with", "setting",
    "window", "dialog", "option", "release", "version", "fixed", "added", "when",
    "reply", "request", "name", "server", "table", "interface", "counter", "value",
    "Lumetra", "LumTools", "Veltrane", "SNMP", "MIB", "TCP/IP", "socket", "port",
};
constexpr uint32_t kWordCount = sizeof kWords / sizeof kWords[0];

void Append(std::vector<uint8_t>& out, const std::string& text)
{
    out.insert(out.end(), text.begin(), text.end());
}

std::string Sentence(Generator& g)
{
    std::string line;
    uint32_t words = 4 + g.Below(10);
    for (uint32_t w = 0; w < words; w++) {
        if (w > 0)
            line += ' ';
        line += kWords[g.Below(kWordCount)];
    }
    if (g.Below(4) == 0)
        line += " " + std::to_string(g.Below(4)) + "." + std::to_string(g.Below(20));
    return line + ".";
}

std::string TextLine(Generator& g)
{
    switch (g.Below(8)) {
    case 0: return "";
    case 1: return "    - " + Sentence(g);
    case 2: return "Version " + std::to_string(1 + g.Below(3)) + "." + std::to_string(g.Below(10)) +
                   std::string(10, ' ') + "Veltrane LumTools";
    default: return Sentence(g);
    }
}

std::vector<uint8_t> Filled(size_t size, uint8_t byte)
{
    return std::vector<uint8_t>(size, byte);
}

std::vector<uint8_t> RingPeriodic()
{
    // A random block repeated at exactly the ring's length: the only match
    // is a full ring back, where the copy reads bytes just before the ring
    // overwrites them.
    std::vector<uint8_t> block = SzddRandomBytes(4096, 7);
    std::vector<uint8_t> out;
    for (int i = 0; i < 3; i++)
        out.insert(out.end(), block.begin(), block.end());
    out.insert(out.end(), block.begin(), block.begin() + 100);
    return out;
}

std::vector<uint8_t> LeadingBlanks()
{
    // Runs of blanks before anything was written: matches into the ring's
    // initial blanks, including ones that run on into real data.
    std::vector<uint8_t> out(40, ' ');
    Append(out, "x");
    out.insert(out.end(), 17, ' ');
    Append(out, "Lumetra");
    out.insert(out.end(), 4100, ' ');
    std::vector<uint8_t> text = SzddGeneratedText(3000, 11);
    out.insert(out.end(), text.begin(), text.end());
    return out;
}

}  // namespace

std::vector<uint8_t> SzddGeneratedText(size_t size, uint32_t seed)
{
    Generator g{seed};
    std::vector<uint8_t> out;
    while (out.size() < size)
        Append(out, TextLine(g) + "\r\n");
    out.resize(size);
    return out;
}

std::vector<uint8_t> SzddRandomBytes(size_t size, uint32_t seed)
{
    Generator g{seed};
    std::vector<uint8_t> out(size);
    for (uint8_t& b : out)
        b = static_cast<uint8_t>(g.Next() >> 7);
    return out;
}

std::vector<uint8_t> SzddRecordTable(size_t size, uint32_t seed)
{
    Generator g{seed};
    std::vector<uint8_t> out;
    uint32_t id = 0x1000;
    while (out.size() < size) {
        uint32_t fields[4] = {id++, g.Below(300), g.Below(4) == 0 ? g.Next() : 0,
                              0x00401000u + 16 * g.Below(4096)};
        for (uint32_t f : fields)
            for (int i = 0; i < 4; i++)
                out.push_back(static_cast<uint8_t>(f >> (8 * i)));
    }
    out.resize(size);
    return out;
}

std::vector<SzddSample> SzddSamples()
{
    std::vector<SzddSample> samples;
    samples.push_back({"empty", {}});
    samples.push_back({"one-byte", {'L'}});
    // Lengths around the eight-item groups of a flag byte and the ring size.
    for (size_t n : {2, 3, 7, 8, 9, 15, 16, 17, 18, 19, 4077, 4078, 4095, 4096, 4097, 8192})
        samples.push_back({"text-" + std::to_string(n), SzddGeneratedText(n, 1)});
    for (size_t n : {7, 8, 9, 15, 16, 17, 4095, 4096, 4097})
        samples.push_back({"random-" + std::to_string(n), SzddRandomBytes(n, 2)});
    samples.push_back({"equal-10000", Filled(10000, 'x')});
    samples.push_back({"blanks-5000", Filled(5000, ' ')});
    samples.push_back({"zeros-70000", Filled(70000, 0)});
    samples.push_back({"random-50000", SzddRandomBytes(50000, 3)});
    samples.push_back({"records-100000", SzddRecordTable(100000, 4)});
    samples.push_back({"ring-period", RingPeriodic()});
    samples.push_back({"leading-blanks", LeadingBlanks()});
    samples.push_back({"notes-200000", SzddGeneratedText(200000, 5)});
    return samples;
}
