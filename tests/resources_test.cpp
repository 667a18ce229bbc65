// The resources of the built setup.exe: every dialog template value by value,
// the message table's exact set of numbers, the pictures and the icon.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <algorithm>
#include "e2e/setup_process.h"

struct ControlSpec {
    int id;
    const char *className;
    const char *text;
    short x, y, cx, cy;
    DWORD style;
};

struct DialogSpec {
    const char *name;
    const char *caption;
    short x, y, cx, cy;
    DWORD style;
    std::vector<ControlSpec> controls;
};

struct ParsedControl {
    int id;
    std::string className, text;
    short x, y, cx, cy;
    DWORD style;
};

struct ParsedDialog {
    DWORD style;
    short x, y, cx, cy;
    std::string caption, fontName;
    WORD pointSize;
    std::vector<ParsedControl> controls;
};

static const WORD *Align(const WORD *p)
{
    return (const WORD *)(((ULONG_PTR)p + 3) & ~(ULONG_PTR)3);
}

static std::string ReadWide(const WORD **p)
{
    std::string text;
    while (**p)
        text += (char)*(*p)++;
    (*p)++;
    return text;
}

// A class or text field: an ordinal (0xFFFF, value) or a string.
static std::string ReadNameOrOrdinal(const WORD **p, bool isClass)
{
    if (**p != 0xFFFF)
        return ReadWide(p);
    WORD value = (*p)[1];
    *p += 2;
    if (!isClass)
        return "#" + std::to_string(value);
    switch (value) {
    case 0x80: return "BUTTON";
    case 0x81: return "EDIT";
    case 0x82: return "STATIC";
    case 0x83: return "LISTBOX";
    case 0x85: return "COMBOBOX";
    }
    return "#" + std::to_string(value);
}

static ParsedDialog ParseDialog(const void *data)
{
    const DLGTEMPLATE *head = (const DLGTEMPLATE *)data;
    ParsedDialog dialog;
    dialog.style = head->style;
    dialog.x = head->x, dialog.y = head->y, dialog.cx = head->cx, dialog.cy = head->cy;
    const WORD *p = (const WORD *)(head + 1);
    ReadNameOrOrdinal(&p, false);  // menu
    ReadNameOrOrdinal(&p, false);  // class
    dialog.caption = ReadWide(&p);
    dialog.pointSize = 0;
    if (head->style & DS_SETFONT) {
        dialog.pointSize = *p++;
        dialog.fontName = ReadWide(&p);
    }
    for (int i = 0; i < head->cdit; i++) {
        const DLGITEMTEMPLATE *item = (const DLGITEMTEMPLATE *)Align(p);
        ParsedControl control;
        control.style = item->style;
        control.x = item->x, control.y = item->y, control.cx = item->cx, control.cy = item->cy;
        control.id = (short)item->id;
        p = (const WORD *)(item + 1);
        control.className = ReadNameOrOrdinal(&p, true);
        control.text = ReadNameOrOrdinal(&p, false);
        WORD extra = *p++;
        p = (const WORD *)((const BYTE *)p + extra);
        dialog.controls.push_back(control);
    }
    return dialog;
}

class SetupResources : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        module = LoadLibraryExA(SetupExePath().c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    }
    static void TearDownTestSuite() { FreeLibrary(module); }
    static const void *Resource(const char *name, LPCSTR type, DWORD *size = NULL)
    {
        HRSRC found = FindResourceA(module, name, type);
        if (found == NULL)
            return NULL;
        if (size)
            *size = SizeofResource(module, found);
        return LockResource(LoadResource(module, found));
    }
    static HMODULE module;
};
HMODULE SetupResources::module;

static const DialogSpec dialogs[] = {
    { "DLG_INSTALL", "Install", 0, 0, 194, 97, 0x80C800C0, {
        { 1, "BUTTON", "Continue", 137, 76, 50, 14, 0x50010001 },
        { 2, "BUTTON", "Exit", 81, 76, 50, 14, 0x50010000 },
        { -1, "STATIC", "Installation/Removal process", 7, 7, 180, 14, 0x50020000 },
        { 1851, "BUTTON", "Install", 7, 35, 180, 10, 0x50000009 },
        { 1852, "BUTTON", "Remove prior installation", 7, 51, 180, 10, 0x50000009 } } },
    { "DLG_GETDIR", "Locate Directory", 6, 18, 218, 62, 0x90C800C0, {
        { 3010, "STATIC", "Standard prompt", 4, 9, 151, 19, 0x50020000 },
        { 1, "BUTTON", "Ok", 161, 4, 44, 14, 0x50010001 },
        { 2, "BUTTON", "Cancel", 161, 21, 44, 14, 0x50010000 },
        { 954, "EDIT", "", 4, 41, 151, 12, 0x50810080 },
        { 2416, "BUTTON", "&Browse", 161, 40, 44, 14, 0x50010000 } } },
    { "DLG_BROWSE", "Locate", 46, 21, 188, 190, 0x00C800C0, {
        { 1511, "STATIC", "Where do you want to install this program?", 5, 7, 177, 20, 0x50020000 },
        { 1152, "EDIT", "", 81, 4, 60, 12, 0x40800890 },
        { -1, "STATIC", "&Directories:", 5, 48, 92, 9, 0x50000000 },
        { 1088, "STATIC", "", 5, 33, 162, 9, 0x50000000 },
        { 1121, "LISTBOX", "", 5, 60, 120, 95, 0x50A11153 },
        { -1, "STATIC", "Dri&ves:", 5, 161, 92, 9, 0x50000000 },
        { 1137, "COMBOBOX", "", 5, 171, 120, 68, 0x50A10353 },
        { 1, "BUTTON", "OK", 133, 61, 50, 14, 0x50030001 },
        { 2, "BUTTON", "Cancel", 133, 79, 50, 14, 0x50030000 },
        { 1038, "BUTTON", "&Help", 133, 119, 50, 14, 0x50030000 },
        { 1120, "LISTBOX", "", -100, -100, 10, 10, 0x50800801 },
        { 1040, "BUTTON", "", -100, -100, 10, 10, 0x50000003 },
        { 1089, "STATIC", "", -100, -100, 10, 10, 0x50020000 },
        { 1136, "COMBOBOX", "", -100, -100, 16, 10, 0x50A00043 } } },
    { "DLG_GETSRCDIR", "Locate", 46, 21, 175, 183, 0x00C800C0, {
        { -1, "STATIC", "Please help me locate the source files directory!", 5, 9, 167, 8, 0x50020000 },
        { 1152, "EDIT", "", 105, 3, 60, 12, 0x40800890 },
        { 1120, "LISTBOX", "", -100, -100, 10, 10, 0x50800801 },
        { 1040, "BUTTON", "", -100, -100, 10, 10, 0x50000003 },
        { 1089, "STATIC", "", -100, -100, 10, 10, 0x50020000 },
        { 1136, "COMBOBOX", "", -100, -100, 16, 10, 0x50A00043 },
        { -1, "STATIC", "&Directories:", 5, 38, 92, 9, 0x50000000 },
        { 1088, "STATIC", "", 5, 23, 162, 9, 0x50000000 },
        { 1121, "LISTBOX", "", 5, 50, 107, 95, 0x50A11153 },
        { -1, "STATIC", "Dri&ves:", 5, 151, 92, 9, 0x50000000 },
        { 1137, "COMBOBOX", "", 5, 161, 107, 30, 0x50A10353 },
        { 1, "BUTTON", "OK", 119, 51, 50, 14, 0x50030001 },
        { 2, "BUTTON", "Cancel", 119, 69, 50, 14, 0x50030000 },
        { 1038, "BUTTON", "&Help", 119, 109, 50, 14, 0x50030000 } } },
    { "DLG_GETGROUP", "Program Manager Group", 6, 18, 227, 53, 0x90C800C0, {
        { 3010, "STATIC", "Please enter the name of the Program Manager group for this application:",
          7, 8, 155, 19, 0x50020000 },
        { 1, "BUTTON", "Ok", 174, 13, 44, 14, 0x50010001 },
        { 2, "BUTTON", "Cancel", 174, 30, 44, 14, 0x50010000 },
        { 2405, "COMBOBOX", "", 7, 31, 153, 103, 0x50210102 } } },
    { "DLG_COPY", "Installation", 0, 0, 186, 95,
      WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, {
        { 2, "BUTTON", "Cancel", 74, 74, 50, 14, WS_CHILD | WS_VISIBLE | WS_TABSTOP },
        { 954, "STATIC", "", 7, 7, 172, 60, WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT } } },
};

TEST_F(SetupResources, DialogTemplatesHoldEveryValue)
{
    ASSERT_NE(module, (HMODULE)NULL) << SetupExePath();
    for (const DialogSpec &spec : dialogs) {
        SCOPED_TRACE(spec.name);
        const void *data = Resource(spec.name, RT_DIALOG);
        ASSERT_NE(data, (const void *)NULL);
        ParsedDialog dialog = ParseDialog(data);
        EXPECT_EQ(dialog.caption, spec.caption);
        EXPECT_EQ(dialog.style, spec.style) << std::hex << dialog.style;
        EXPECT_EQ(dialog.x, spec.x);
        EXPECT_EQ(dialog.y, spec.y);
        EXPECT_EQ(dialog.cx, spec.cx);
        EXPECT_EQ(dialog.cy, spec.cy);
        EXPECT_EQ(dialog.fontName, "MS Sans Serif");
        EXPECT_EQ(dialog.pointSize, 8);
        ASSERT_EQ(dialog.controls.size(), spec.controls.size());
        for (size_t i = 0; i < spec.controls.size(); i++) {
            const ControlSpec &want = spec.controls[i];
            const ParsedControl &got = dialog.controls[i];
            SCOPED_TRACE(testing::Message() << "control " << i << " (" << want.id << ")");
            EXPECT_EQ(got.id, want.id);
            EXPECT_EQ(got.className, want.className);
            EXPECT_EQ(got.text, want.text);
            EXPECT_EQ(got.x, want.x);
            EXPECT_EQ(got.y, want.y);
            EXPECT_EQ(got.cx, want.cx);
            EXPECT_EQ(got.cy, want.cy);
            EXPECT_EQ(got.style, want.style) << std::hex << got.style;
        }
    }
}

TEST_F(SetupResources, MessageTableHoldsExactlyItsNumbers)
{
    const UINT numbers[] = { 10001, 10002, 10003, 10004, 10005, 10010, 10011, 10012, 10013,
                             10016, 10017, 10018, 10019, 10020, 10021, 10022, 10023, 10026,
                             10028, 10034, 10035, 10038, 10040, 10046, 10047, 10052, 10070 };
    std::vector<UINT> found;
    for (UINT number = 10000; number < 10100; number++) {
        char text[16];
        if (LoadStringA(module, number, text, sizeof text) > 0)
            found.push_back(number);
    }
    EXPECT_EQ(found, std::vector<UINT>(std::begin(numbers), std::end(numbers)));
}

TEST_F(SetupResources, PicturesHaveTheirSizesAndColours)
{
    const struct { const char *name; LONG width, height; WORD bits; } pictures[] = {
        { "LUM_BMP", 168, 47, 8 },
        { "VELLOGO", 115, 84, 4 },
    };
    for (const auto &want : pictures) {
        SCOPED_TRACE(want.name);
        const BITMAPINFOHEADER *header = (const BITMAPINFOHEADER *)Resource(want.name, RT_BITMAP);
        ASSERT_NE(header, (const BITMAPINFOHEADER *)NULL);
        EXPECT_EQ(header->biWidth, want.width);
        EXPECT_EQ(header->biHeight, want.height);
        EXPECT_EQ(header->biBitCount, want.bits);
    }
}

#pragma pack(push, 2)
struct IconGroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bits;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST_F(SetupResources, IconHasBothSizesIn16Colours)
{
    const WORD *group = (const WORD *)Resource("APP_MAIN", RT_GROUP_ICON);
    ASSERT_NE(group, (const WORD *)NULL);
    ASSERT_EQ(group[2], 2) << "images in the icon group";
    const IconGroupEntry *entries = (const IconGroupEntry *)(group + 3);
    std::vector<int> sizes;
    for (int i = 0; i < 2; i++) {
        sizes.push_back(entries[i].width);
        EXPECT_EQ(entries[i].width, entries[i].height);
        EXPECT_EQ(entries[i].bits, 4);
    }
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(sizes, (std::vector<int>{ 16, 32 }));
}

TEST_F(SetupResources, PayloadIsFiveSzddFiles)
{
    for (const char *name : { "EXEFILE", "HLPFILE", "CNTFILE", "TXTFILE", "MIBFILE" }) {
        SCOPED_TRACE(name);
        DWORD size = 0;
        const char *data = (const char *)Resource(name, "EXE", &size);
        ASSERT_NE(data, (const char *)NULL);
        ASSERT_GE(size, 14u);
        EXPECT_EQ(std::string(data, 8), std::string("SZDD\x88\xF0\x27\x33", 8));
        EXPECT_EQ(data[8], 'A');
    }
}
