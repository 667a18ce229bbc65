// Display-text records (type 0x20). LinkData1 holds the paragraph settings
// and a list of format codes; LinkData2 holds one NUL-terminated string before
// each code, so the viewer alternates: draw a string, apply a code. The
// record's character count is the length of LinkData2.
#include "records.h"

#include "context_hash.h"
#include "topic.h"

namespace hlp {

namespace {

// Paragraph setting bits and the values used with them (half-points).
const unsigned kSpacingAbove = 0x0002;
const unsigned kSpacingBelow = 0x0004;
const unsigned kLeftIndent = 0x0010;
const unsigned kFirstLineIndent = 0x0040;
const unsigned kTabStops = 0x0200;
const int kParagraphGap = 12;
const int kItemGap = 6;
const int kItemIndent = 40;
const int kBulletOutdent = -20;
const char kBullet = '\x95';  // bullet in the ANSI code page

// Collects strings and format codes in step: every code closes the string
// in front of it.
struct TextBuilder {
    Bytes codes;
    Bytes strings;
    std::string pending;

    void Text(const std::string& text) { pending += text; }

    void Code(const Bytes& code)
    {
        PutStringZ(strings, pending);
        pending.clear();
        PutBytes(codes, code);
    }

    void Font(unsigned font)
    {
        Bytes code{kCodeFont};
        PutWord(code, font);
        Code(code);
    }
};

void PutParagraphSettings(Bytes& out, bool listItem)
{
    PutByte(out, 0x00);
    PutByte(out, 0x80);  // biased zero
    PutWord(out, 0);     // paragraph id
    if (!listItem) {
        PutWord(out, kSpacingAbove);
        PutCompressedSignedShort(out, kParagraphGap);
        return;
    }
    PutWord(out, kSpacingAbove | kLeftIndent | kFirstLineIndent | kTabStops);
    PutCompressedSignedShort(out, kItemGap);
    PutCompressedSignedShort(out, kItemIndent);
    PutCompressedSignedShort(out, kBulletOutdent);
    PutCompressedSignedShort(out, 1);               // one tab stop,
    PutCompressedUnsignedShort(out, kItemIndent);   // left-aligned at the indent
}

void PutTitleSettings(Bytes& out)
{
    PutByte(out, 0x00);
    PutByte(out, 0x80);
    PutWord(out, 0);
    PutWord(out, kSpacingBelow);
    PutCompressedSignedShort(out, kParagraphGap);
}

void AddRun(TextBuilder& text, const Run& run)
{
    switch (run.kind) {
    case RunKind::Text:
        text.Text(run.text);
        break;
    case RunKind::Code:
        text.Font(kFontCode);
        text.Text(run.text);
        text.Font(kFontBody);
        break;
    case RunKind::Jump: {
        Bytes jump{kCodeTopicJump};
        PutLong(jump, static_cast<uint32_t>(ContextHash(run.target)));
        text.Code(jump);
        text.Text(run.text);
        text.Code(Bytes{kCodeHotspotEnd});
        break;
    }
    }
}

LinkRecord FinishRecord(TextBuilder& text, const Bytes& settings)
{
    text.Code(Bytes{kCodeParagraphEnd});
    text.Code(Bytes{kCodeEnd});
    LinkRecord record;
    record.type = kLinkDisplayText;
    record.data2 = text.strings;
    record.characters = record.data2.size();
    PutCompressedSignedLong(record.data1, static_cast<long>(record.data2.size()));
    PutCompressedUnsignedShort(record.data1, static_cast<unsigned>(record.characters));
    PutBytes(record.data1, settings);
    PutBytes(record.data1, text.codes);
    return record;
}

}  // namespace

LinkRecord EncodeTitle(const std::string& title)
{
    TextBuilder text;
    text.Font(kFontTitle);
    text.Text(title);
    Bytes settings;
    PutTitleSettings(settings);
    return FinishRecord(text, settings);
}

LinkRecord EncodeParagraph(const Paragraph& paragraph)
{
    TextBuilder text;
    text.Font(kFontBody);
    if (paragraph.listItem) {
        text.Text(std::string(1, kBullet));
        text.Code(Bytes{kCodeTab});
    }
    for (const Run& run : paragraph.runs) AddRun(text, run);
    Bytes settings;
    PutParagraphSettings(settings, paragraph.listItem);
    return FinishRecord(text, settings);
}

Bytes SerializeLink(const LinkRecord& record, uint32_t previous, uint32_t next)
{
    Bytes out;
    uint32_t dataLen1 = static_cast<uint32_t>(kLinkHeaderSize + record.data1.size());
    PutLong(out, dataLen1 + static_cast<uint32_t>(record.data2.size()));  // BlockSize
    PutLong(out, static_cast<uint32_t>(record.data2.size()));             // DataLen2
    PutLong(out, previous);
    PutLong(out, next);
    PutLong(out, dataLen1);
    PutByte(out, record.type);
    PutBytes(out, record.data1);
    PutBytes(out, record.data2);
    return out;
}

}  // namespace hlp
