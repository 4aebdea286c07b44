// Unit tests of w32rc: preprocessing, strings and escapes, style expressions, template and string
// block layouts, icons, errors with their lines, the generated source and the command line.
#include "dlgtemplate.h"
#include "rc.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

using w32rc::Name;
using w32rc::Resource;
using w32rc::Script;

namespace {

Script compile(const std::string& text, const std::string& dir = ".", const w32rc::Options& options = {}) {
    return w32rc::compileText(text, "test.rc", options, dir);
}

// The message of the error a script raises, or "" when it compiles.
std::string errorOf(const std::string& text, const std::string& dir = ".") {
    try {
        compile(text, dir);
    } catch (const w32rc::Error& e) {
        return e.what();
    }
    return "";
}

const Resource* find(const Script& s, uint16_t type, const Name& name, int language = -1) {
    for (const auto& r : s.resources)
        if (r.type == Name::of(type) && r.name == name && (language < 0 || r.language == language)) return &r;
    return nullptr;
}

uint32_t le16(const std::vector<uint8_t>& d, size_t at) { return d[at] | (d[at + 1] << 8); }
uint32_t le32(const std::vector<uint8_t>& d, size_t at) { return le16(d, at) | (le16(d, at + 2) << 16); }

std::u16string blockString(const std::vector<uint8_t>& block, int index) {
    size_t p = 0;
    for (int i = 0; i < index; ++i) p += 2 * (1 + le16(block, p));
    std::u16string s;
    for (uint32_t i = 0; i < le16(block, p); ++i) s.push_back(static_cast<char16_t>(le16(block, p + 2 + 2 * i)));
    return s;
}

// The UTF-16 text of string `id` in a compiled script.
std::u16string stringOf(const Script& s, int id, int language = -1) {
    const Resource* r = find(s, 6, Name::of(static_cast<uint16_t>((id >> 4) + 1)), language);
    if (!r) return u"<no block>";
    return blockString(r->data, id & 15);
}

// Items of a DLGTEMPLATEEX: style, id, class ordinal, coordinates.
struct Item {
    uint32_t exStyle, style;
    int x, y, cx, cy;
    uint32_t id;
    uint32_t classOrdinal; // 0 when the class is a string
    std::u16string className, title;
    uint32_t titleOrdinal;
};

std::u16string readSz(const std::vector<uint8_t>& d, size_t& p, uint32_t* ordinal) {
    std::u16string s;
    *ordinal = 0;
    if (le16(d, p) == 0xFFFF) {
        *ordinal = le16(d, p + 2);
        p += 4;
        return s;
    }
    while (le16(d, p)) s.push_back(static_cast<char16_t>(le16(d, p))), p += 2;
    p += 2;
    return s;
}

std::vector<Item> itemsOf(const std::vector<uint8_t>& d) {
    size_t p = 26;
    uint32_t ord;
    readSz(d, p, &ord); // menu
    readSz(d, p, &ord); // class
    readSz(d, p, &ord); // title
    if (le32(d, 12) & DS_SETFONT) {
        p += 6;
        readSz(d, p, &ord);
    }
    std::vector<Item> items;
    for (uint32_t i = 0; i < le16(d, 16); ++i) {
        p = (p + 3) & ~size_t(3);
        Item it{};
        it.exStyle = le32(d, p + 4);
        it.style = le32(d, p + 8);
        it.x = static_cast<int16_t>(le16(d, p + 12));
        it.y = static_cast<int16_t>(le16(d, p + 14));
        it.cx = static_cast<int16_t>(le16(d, p + 16));
        it.cy = static_cast<int16_t>(le16(d, p + 18));
        it.id = le32(d, p + 20);
        p += 24;
        it.className = readSz(d, p, &it.classOrdinal);
        it.title = readSz(d, p, &it.titleOrdinal);
        EXPECT_EQ(le16(d, p), 0u) << "creation data";
        p += 2;
        items.push_back(it);
    }
    EXPECT_EQ(p, d.size()) << "the template ends after its last item";
    return items;
}

class TempDir {
public:
    TempDir() {
        char tmpl[] = "/tmp/w32rc_test_XXXXXX";
        path = mkdtemp(tmpl);
    }
    ~TempDir() { std::system(("rm -rf '" + path + "'").c_str()); }
    std::string write(const std::string& name, const std::string& content) const {
        std::string p = path + "/" + name;
        std::ofstream(p, std::ios::binary) << content;
        return p;
    }
    std::string path;
};

// An .ico file with the given images (width, bits per pixel); planes and bit count in its
// directory are left zero when `zeroDirectory`, as some tools write them.
std::string makeIcon(const std::vector<std::pair<int, int>>& images, bool zeroDirectory = false) {
    auto put = [](std::string& s, std::initializer_list<std::pair<uint32_t, int>> fields) {
        for (auto [value, bytes] : fields)
            for (int i = 0; i < bytes; ++i) s.push_back(static_cast<char>(value >> (8 * i)));
    };
    const auto count = static_cast<uint32_t>(images.size());
    std::string head, bodies;
    put(head, {{0, 2}, {1, 2}, {count, 2}});
    for (auto [width, bits] : images) {
        std::string b;
        put(b, {{40, 4}, {width, 4}, {2 * width, 4}, {1, 2}, {bits, 2}});
        b.append(24, '\0');
        b.append(static_cast<size_t>(width * width * bits / 8 + width * 4), '\x5A');
        const auto offset = static_cast<uint32_t>(6 + 16 * images.size() + bodies.size());
        put(head, {{width, 1}, {width, 1}, {0, 2}, {zeroDirectory ? 0 : 1, 2}, {zeroDirectory ? 0 : bits, 2},
                   {static_cast<uint32_t>(b.size()), 4}, {offset, 4}});
        bodies += b;
    }
    return head + bodies;
}

const char* const kDialogHead = "1 DIALOGEX 0, 0, 100, 50\nFONT 8, \"MS Shell Dlg\"\nBEGIN\n";

std::vector<Item> controlsOf(const std::string& body) {
    Script s = compile(std::string(kDialogHead) + body + "\nEND\n");
    const Resource* r = find(s, 5, Name::of(1));
    if (!r) {
        ADD_FAILURE() << "no dialog";
        return {};
    }
    return itemsOf(r->data);
}

} // namespace

// ---- strings and escapes ----

TEST(W32rcStrings, EscapesFollowTheResourceCompiler) {
    Script s = compile("STRINGTABLE\nBEGIN\n"
                       "  1 \"a\"\"b\\tc\\nd\\\\e\\x41\\101\\r\"\n"
                       "  2 \"bell\\a|\\q|\\x4a7|\\0101\"\n"
                       "  3, L\"\\x20AC\\x41\"\n"
                       "  4 \"\\x80\"\n"
                       "  5 \"\"\n"
                       "END\n");
    EXPECT_EQ(stringOf(s, 1), u"a\"b\tc\nd\\eAA\r");
    // \a is a backspace; unknown escapes stay; \x takes two digits, octal three
    EXPECT_EQ(stringOf(s, 2), u"bell\b|\\q|J7|\b1"); // \010 then "1"
    EXPECT_EQ(stringOf(s, 3), u"\u20AC" u"A");      // wide: four hex digits make one unit
    EXPECT_EQ(stringOf(s, 4), u"\u20AC");           // narrow: a byte of code page 1252
    EXPECT_EQ(stringOf(s, 5), u"");
}

TEST(W32rcStrings, CodePageDecidesHowBytesAreRead) {
    const std::string umlaut = "\xC3\xA4"; // UTF-8 of U+00E4
    Script utf8 = compile("#pragma code_page(65001)\nSTRINGTABLE { 1 \"" + umlaut + "\" 2 \"\xE2\x82\xAC\xF0\x9F\x98\x80\" }");
    EXPECT_EQ(stringOf(utf8, 1), u"\u00E4");
    EXPECT_EQ(stringOf(utf8, 2), u"\u20AC\U0001F600");
    Script cp1252 = compile("STRINGTABLE { 1 \"" + umlaut + "\" 2 \"\x80\x9F\" }");
    EXPECT_EQ(stringOf(cp1252, 1), u"\u00C3\u00A4");
    EXPECT_EQ(stringOf(cp1252, 2), u"\u20AC\u0178");
    Script broken = compile("#pragma code_page(65001)\nSTRINGTABLE { 1 \"a\xC3(\xE4\" }");
    EXPECT_EQ(stringOf(broken, 1), u"a\uFFFD(\uFFFD");
    // a byte order mark selects UTF-8 as well
    EXPECT_EQ(stringOf(compile("\xEF\xBB\xBFSTRINGTABLE { 1 \"" + umlaut + "\" }"), 1), u"\u00E4");
    EXPECT_NE(errorOf("#pragma code_page(932)\n").find("code page 932"), std::string::npos);
}

TEST(W32rcStrings, TablesMergeIntoBlocksPerLanguage) {
    Script s = compile("LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US\n"
                       "STRINGTABLE BEGIN 15 \"fifteen\" END\n"
                       "STRINGTABLE BEGIN 16 \"sixteen\" 0 \"zero\" END\n"
                       "STRINGTABLE LANGUAGE LANG_GERMAN, SUBLANG_GERMAN BEGIN 15 \"f\\xfcnfzehn\" END\n"
                       "STRINGTABLE BEGIN 65535 \"last\" END\n");
    const Resource* block1 = find(s, 6, Name::of(1), 1033);
    ASSERT_NE(block1, nullptr);
    // sixteen counted strings: "zero" first, fourteen empty, "fifteen" last
    std::vector<uint8_t> expected = {4, 0, 'z', 0, 'e', 0, 'r', 0, 'o', 0};
    for (int i = 0; i < 14; ++i) expected.insert(expected.end(), {0, 0});
    expected.insert(expected.end(), {7, 0, 'f', 0, 'i', 0, 'f', 0, 't', 0, 'e', 0, 'e', 0, 'n', 0});
    EXPECT_EQ(block1->data, expected);
    EXPECT_EQ(stringOf(s, 16, 1033), u"sixteen");
    EXPECT_EQ(stringOf(s, 15, 1031), u"f\u00FCnfzehn");
    EXPECT_EQ(stringOf(s, 65535, 1033), u"last");
    EXPECT_NE(find(s, 6, Name::of(4096), 1033), nullptr);
    EXPECT_EQ(find(s, 6, Name::of(2), 1031), nullptr);
    int blocks = 0;
    for (auto& r : s.resources) blocks += r.type == Name::of(6);
    EXPECT_EQ(blocks, 4);
}

// ---- preprocessing ----

TEST(W32rcPreprocessor, ConditionsDefinesAndComments) {
    Script s = compile("#define ONE 1\n"
                       "#define TWO (ONE + ONE) // a comment\n"
                       "/* a comment\n   over lines */\n"
                       "#ifdef ONE\n"
                       "  #if TWO == 2 && defined(ONE) && !defined NOPE\n"
                       "STRINGTABLE { 1 \"both\" }\n"
                       "  #elif 1\n"
                       "#error not reached\n"
                       "  #else\n"
                       "#error not reached\n"
                       "  #endif\n"
                       "#endif\n"
                       "#ifndef ONE\n"
                       "STRINGTABLE { 2 \"never\" }\n"
                       "#elif 0x11 > 010 * 2\n" // C reads 010 as eight here
                       "STRINGTABLE { 2 \"octal\" }\n"
                       "#else\n"
                       "STRINGTABLE { 2 \"wrong\" }\n"
                       "#endif\n"
                       "#undef ONE\n"
                       "#if defined(ONE) || WS_CHILD != 0x40000000 || UNKNOWN_NAME\n"
                       "STRINGTABLE { 3 \"wrong\" }\n"
                       "#else\n"
                       "STRINGTABLE { 3 \"http://not-a-comment\" }\n"
                       "#endif\n"
                       "STRINGTABLE { 2 + \\\n 2, \"joined\" }\n");
    EXPECT_EQ(stringOf(s, 1), u"both");
    EXPECT_EQ(stringOf(s, 2), u"octal");
    EXPECT_EQ(stringOf(s, 3), u"http://not-a-comment");
    EXPECT_EQ(stringOf(s, 4), u"joined");
}

TEST(W32rcPreprocessor, IncludesReadHeadersForDirectivesOnly) {
    TempDir dir;
    mkdir((dir.path + "/inc").c_str(), 0755);
    dir.write("ids.h", "#pragma once\n#define IDS_A 5\nint notForTheScript(void);\n#include \"more.h\"\n");
    dir.write("inc/more.h", "#define IDS_B (IDS_A + 1)\nstruct S { const char* s = \"x\\\"y\"; };\n");
    dir.write("part.rc", "STRINGTABLE { IDS_B \"from part\" }\n");
    w32rc::Options options;
    options.includeDirs.push_back(dir.path + "/inc");
    options.defines.emplace_back("FROM_COMMAND_LINE", "9");
    Script s = compile("#include <windows.h>\n#include <commctrl.h>\n#include \"ids.h\"\n#include \"ids.h\"\n"
                       "#include \"part.rc\"\nSTRINGTABLE { IDS_A \"a\" FROM_COMMAND_LINE \"nine\" }\n",
                       dir.path, options);
    EXPECT_EQ(stringOf(s, 5), u"a");
    EXPECT_EQ(stringOf(s, 6), u"from part");
    EXPECT_EQ(stringOf(s, 9), u"nine");
    ASSERT_EQ(s.dependencies.size(), 3u); // the script given as text is not a file
    EXPECT_NE(s.dependencies[0].find("ids.h"), std::string::npos);
    EXPECT_NE(s.dependencies[1].find("inc/more.h"), std::string::npos);
    EXPECT_NE(s.dependencies[2].find("part.rc"), std::string::npos);
}

// ---- dialogs ----

TEST(W32rcDialogs, ShorthandStatementsGetTheirDefaultStyles) {
    // the other statements' defaults are checked through the module's dialog (test_module.cpp)
    const uint32_t cv = WS_CHILD | WS_VISIBLE;
    const struct {
        const char* statement;
        uint32_t style, cls;
    } cases[] = {
        {"CTEXT \"c\", 1, 0, 0, 1, 1", cv | SS_CENTER | WS_GROUP, 0x82},
        {"EDITTEXT 2, 0, 0, 1, 1", cv | ES_LEFT | WS_BORDER | WS_TABSTOP, 0x81},
        {"AUTO3STATE \"a\", 3, 0, 0, 1, 1", cv | BS_AUTO3STATE | WS_TABSTOP, 0x80},
        {"COMBOBOX 4, 0, 0, 1, 1", cv | CBS_SIMPLE | WS_TABSTOP, 0x85},
        {"LISTBOX 5, 0, 0, 1, 1", cv | LBS_NOTIFY | WS_BORDER, 0x83},
        {"PUSHBOX \"b\", 6, 0, 0, 1, 1", cv | BS_PUSHBOX | WS_TABSTOP, 0x80},
        {"ICON \"NAMED\", 7, 0, 0", cv | SS_ICON, 0x82}, // an icon's size may be left out
    };
    std::string body;
    for (const auto& c : cases) body += std::string(c.statement) + "\n";
    std::vector<Item> items = controlsOf(body);
    ASSERT_EQ(items.size(), std::size(cases));
    for (size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(cases[i].statement);
        EXPECT_EQ(items[i].style, cases[i].style);
        EXPECT_EQ(items[i].classOrdinal, cases[i].cls);
        EXPECT_EQ(items[i].id, i + 1);
    }
    EXPECT_EQ(items[6].title, u"NAMED");
    EXPECT_EQ(items[6].cx, 0);
}

TEST(W32rcDialogs, StylesCombineWithNotAndExpressions) {
    std::vector<Item> items = controlsOf(
        "LTEXT \"a\", 1, 0, 0, 1, 1, NOT WS_GROUP | SS_NOPREFIX\n"
        "PUSHBUTTON \"b\", 2, 0, 0, 1, 1, WS_GROUP | NOT WS_TABSTOP | NOT WS_VISIBLE, WS_EX_STATICEDGE\n"
        "EDITTEXT 3, 1 + 2 * 3, (4), -1 + 3, 010, ES_MULTILINE | (WS_VSCROLL | 0x10L) & ~0x10\n"
        "CONTROL \"c\", 4, \"Edit\", NOT WS_VISIBLE | ES_NUMBER, 0, 0, 1, 1, WS_EX_CLIENTEDGE | WS_EX_RIGHT\n"
        "CONTROL \"d\", 5, BUTTON, 0, 0, 0, 1, 1\n"
        "CONTROL \"\", 6, WC_TREEVIEW, TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS, "
        "0, 0, 1, 1\n"
        "CONTROL 7, 7, \"Static\", SS_ICON, 0, 0, 1, 1\n"
        "CONTROL \"e\", IDC_STATIC, \"my.Class\", 0, 0, 0, 1, 1\n"
        "CONTROL \"f\", 9, \"ComboBox\", CBS_DROPDOWN, 0, 0, 1, 1, 0, 77\n");
    ASSERT_EQ(items.size(), 9u);
    EXPECT_EQ(items[0].style, static_cast<uint32_t>(WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX));
    EXPECT_EQ(items[1].style, static_cast<uint32_t>(WS_CHILD | BS_PUSHBUTTON | WS_GROUP));
    EXPECT_EQ(items[1].exStyle, static_cast<uint32_t>(WS_EX_STATICEDGE));
    EXPECT_EQ(items[2].style,
              static_cast<uint32_t>(WS_CHILD | WS_VISIBLE | ES_LEFT | WS_BORDER | WS_TABSTOP | ES_MULTILINE | WS_VSCROLL));
    EXPECT_EQ(items[2].x, 7);
    EXPECT_EQ(items[2].y, 4);
    EXPECT_EQ(items[2].cx, 2);
    EXPECT_EQ(items[2].cy, 10); // resource statements read 010 as ten
    EXPECT_EQ(items[3].style, static_cast<uint32_t>(WS_CHILD | ES_NUMBER));
    EXPECT_EQ(items[3].exStyle, static_cast<uint32_t>(WS_EX_CLIENTEDGE | WS_EX_RIGHT));
    EXPECT_EQ(items[3].classOrdinal, 0x81u); // a predefined class by name becomes its ordinal
    EXPECT_EQ(items[4].classOrdinal, 0x80u);
    EXPECT_EQ(items[4].style, static_cast<uint32_t>(WS_CHILD | WS_VISIBLE));
    EXPECT_EQ(items[5].classOrdinal, 0u);
    EXPECT_EQ(items[5].className, u"SysTreeView32");
    EXPECT_EQ(items[5].style, static_cast<uint32_t>(WS_CHILD | WS_VISIBLE | 0x27));
    EXPECT_EQ(items[6].titleOrdinal, 7u); // a number as text is an ordinal
    EXPECT_EQ(items[7].id, 0xFFFFFFFFu);
    EXPECT_EQ(items[7].className, u"my.Class");
    EXPECT_EQ(items[8].classOrdinal, 0x85u);
}

TEST(W32rcDialogs, DialogAndDialogExLayoutsMatchTheTemplateBuilder) {
    Script s = compile("#define IDD_X 300\n"
                       "IDD_X DIALOGEX 5, 6, 150, 80\n"
                       "STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU\n"
                       "CAPTION \"Title\"\n"
                       "FONT 8, \"MS Shell Dlg\"\n"
                       "BEGIN\n"
                       "  LTEXT \"Name:\", 10, 4, 6, 30, 8\n"
                       "  EDITTEXT 11, 36, 4, 100, 12, ES_AUTOHSCROLL\n"
                       "  DEFPUSHBUTTON \"OK\", IDOK, 36, 60, 50, 14\n"
                       "  CONTROL \"x\", 12, \"MyClass\", WS_TABSTOP, 1, 2, 3, 4, WS_EX_CLIENTEDGE\n"
                       "END\n");
    const Resource* r = find(s, 5, Name::of(300));
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->language, 0); // neutral unless a LANGUAGE statement says otherwise
    auto built = [](DialogTemplateBuilder& b, size_t size) {
        const auto* bytes = reinterpret_cast<const uint8_t*>(b.get());
        return std::vector<uint8_t>(bytes, bytes + size);
    };
    DialogTemplateBuilder b(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, 5, 6, 150, 80, "Title");
    b.font(8, "MS Shell Dlg")
        .item(kStatic, "Name:", 10, WS_CHILD | WS_VISIBLE | SS_LEFT | WS_GROUP, 4, 6, 30, 8)
        .item(kEdit, "", 11, WS_CHILD | WS_VISIBLE | ES_LEFT | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 36, 4, 100, 12)
        .item(kButton, "OK", IDOK, WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON | WS_TABSTOP, 36, 60, 50, 14)
        .item(0, "x", 12, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 1, 2, 3, 4, "MyClass", WS_EX_CLIENTEDGE);
    EXPECT_EQ(r->data, built(b, r->data.size()));

    // the old DIALOG statement makes a DLGTEMPLATE
    Script old = compile("7 DIALOG 0, 0, 60, 40\n"
                         "STYLE WS_POPUP | WS_BORDER\n"
                         "FONT 10, \"Tahoma\"\n"
                         "{ PUSHBUTTON \"Go\", 100, 2, 3, 40, 14\n"
                         "  LISTBOX 101, 2, 20, 40, 14, LBS_SORT }\n");
    r = find(old, 5, Name::of(7));
    ASSERT_NE(r, nullptr);
    DialogTemplateBuilder ob(WS_POPUP | WS_BORDER, 0, 0, 60, 40, "", false);
    ob.font(10, "Tahoma")
        .item(kButton, "Go", 100, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | WS_TABSTOP, 2, 3, 40, 14)
        .item(kListBox, "", 101, WS_CHILD | WS_VISIBLE | LBS_NOTIFY | WS_BORDER | LBS_SORT, 2, 20, 40, 14);
    EXPECT_EQ(r->data, built(ob, r->data.size()));
}

TEST(W32rcDialogs, HeaderOptionsAndDefaults) {
    Script s = compile("LANGUAGE LANG_GERMAN, SUBLANG_GERMAN\n"
                       "1 DIALOGEX 0, 0, 10, 10, 42\n"
                       "LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US\n"
                       "EXSTYLE WS_EX_TOOLWINDOW\n"
                       "CAPTION \"c\"\n"
                       "CLASS \"MyDialog\"\n"
                       "MENU 9\n"
                       "FONT 9, \"Segoe UI\", FW_BOLD, TRUE, ANSI_CHARSET\n"
                       "BEGIN END\n"
                       "2 DIALOGEX 0, 0, 10, 10 BEGIN END\n");
    const Resource* one = find(s, 5, Name::of(1));
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(one->language, 1033); // the dialog's own LANGUAGE
    const auto& d = one->data;
    EXPECT_EQ(le32(d, 4), 42u); // help id
    EXPECT_EQ(le32(d, 8), static_cast<uint32_t>(WS_EX_TOOLWINDOW));
    // no STYLE: WS_POPUP | WS_BORDER | WS_SYSMENU, CAPTION adds WS_CAPTION, FONT adds DS_SETFONT
    EXPECT_EQ(le32(d, 12), static_cast<uint32_t>(WS_POPUP | WS_BORDER | WS_SYSMENU | WS_CAPTION | DS_SETFONT));
    EXPECT_EQ(le16(d, 26), 0xFFFFu); // menu ordinal
    EXPECT_EQ(le16(d, 28), 9u);
    size_t p = 30;
    uint32_t ord;
    EXPECT_EQ(readSz(d, p, &ord), u"MyDialog");
    EXPECT_EQ(readSz(d, p, &ord), u"c");
    EXPECT_EQ(le16(d, p), 9u);
    EXPECT_EQ(le16(d, p + 2), 700u);
    EXPECT_EQ(d[p + 4], 1u);
    EXPECT_EQ(d[p + 5], 0u);
    p += 6;
    EXPECT_EQ(readSz(d, p, &ord), u"Segoe UI");
    const Resource* two = find(s, 5, Name::of(2));
    ASSERT_NE(two, nullptr);
    EXPECT_EQ(two->language, 1031); // the script's LANGUAGE goes on
    EXPECT_EQ(le32(two->data, 12), static_cast<uint32_t>(WS_POPUP | WS_BORDER | WS_SYSMENU));
    EXPECT_EQ(two->data.size(), 32u); // header, three empty strings, nothing more
}

// ---- names, raw data, icons ----

TEST(W32rcResources, NamesAndRawData) {
    Script s = compile("#define IDR_X 12\n"
                       "myData RCDATA { 1, 0x10000L, -1, \"ab\", L\"\\x263A\" }\n"
                       "\"Quoted Name\" RCDATA BEGIN 0o17 END\n"
                       "IDR_X MYTYPE { 3 }\n"
                       "UNDEFINED_NAME RCDATA { 4 }\n"
                       "5 24 { 5 }\n");
    const Resource* named = find(s, 10, Name::of("MYDATA"));
    ASSERT_NE(named, nullptr);
    EXPECT_EQ(named->data, (std::vector<uint8_t>{1, 0, 0, 0, 1, 0, 0xFF, 0xFF, 'a', 'b', 0x3A, 0x26}));
    const Resource* quoted = find(s, 10, Name::of("QUOTED NAME"));
    ASSERT_NE(quoted, nullptr);
    EXPECT_EQ(quoted->data, (std::vector<uint8_t>{15, 0}));
    bool custom = false;
    for (auto& r : s.resources) custom |= r.type == Name::of("MYTYPE") && r.name == Name::of(12);
    EXPECT_TRUE(custom);
    EXPECT_NE(find(s, 10, Name::of("UNDEFINED_NAME")), nullptr); // an undefined symbol names it by itself
    EXPECT_NE(find(s, 24, Name::of(5)), nullptr);
}

TEST(W32rcResources, IconsGetFreshNumbersAndGroups) {
    TempDir dir;
    dir.write("two.ico", makeIcon({{16, 32}, {32, 8}}));
    dir.write("plain.ico", makeIcon({{24, 4}}, true));
    Script s = compile("10 ICON \"two.ico\"\nLANGUAGE LANG_GERMAN, SUBLANG_GERMAN\nAPP ICON DISCARDABLE \"plain.ico\"\n",
                       dir.path);
    const Resource* group = find(s, 14, Name::of(10));
    ASSERT_NE(group, nullptr);
    const auto& g = group->data;
    ASSERT_EQ(g.size(), 6u + 2 * 14);
    EXPECT_EQ(le16(g, 4), 2u);
    EXPECT_EQ(g[6], 16u);
    EXPECT_EQ(le16(g, 6 + 6), 32u);
    EXPECT_EQ(le16(g, 6 + 12), 1u); // first image: RT_ICON 1
    EXPECT_EQ(g[20], 32u);
    EXPECT_EQ(le16(g, 20 + 6), 8u);
    EXPECT_EQ(le16(g, 20 + 12), 2u);
    const Resource* image2 = find(s, 3, Name::of(2));
    ASSERT_NE(image2, nullptr);
    EXPECT_EQ(image2->data.size(), le32(g, 20 + 8));
    EXPECT_EQ(le32(image2->data, 4), 32u);
    const Resource* app = find(s, 14, Name::of("APP"));
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(app->language, 1031);
    EXPECT_EQ(le16(app->data, 6 + 12), 3u); // numbering goes on across icons
    EXPECT_EQ(le16(app->data, 6 + 4), 1u);  // planes and bits from the bitmap header
    EXPECT_EQ(le16(app->data, 6 + 6), 4u);
    EXPECT_EQ(find(s, 3, Name::of(3))->language, 1031);
    ASSERT_EQ(s.dependencies.size(), 2u);
    EXPECT_NE(s.dependencies[1].find("plain.ico"), std::string::npos);
}

// ---- errors ----

TEST(W32rcErrors, FaultsNameTheirFileAndLine) {
    EXPECT_EQ(errorOf("1 DIALOGEX 0, 0, 10, 10\nBEGIN\n  LTEXT \"a\", 1, 0, 0, 1, 1\n  WOBBLE 2, 0, 0, 1, 1\nEND\n"),
              "test.rc(4): error: unknown control statement WOBBLE");
    EXPECT_EQ(errorOf("STRINGTABLE\nBEGIN\n  1 \"open\nEND\n"), "test.rc(3): error: string not closed on its line");
    EXPECT_EQ(errorOf("\n\nSTRINGTABLE { 1 \"a\\\"b\" }"),
              "test.rc(3): error: \\\" is not allowed in a resource string; write \"\" for a quotation mark");
    EXPECT_EQ(errorOf("1 DIALOGEX 0, 0, 10, NOSUCH\nBEGIN END\n"), "test.rc(1): error: undefined name NOSUCH");
    EXPECT_EQ(errorOf("1 DIALOGEX 0, 0, 10, 10\nBEGIN\n  LTEXT \"a\", 1, 0, 0, 1, 1\n"),
              "test.rc(3): error: END expected to close the dialog");
    EXPECT_EQ(errorOf("STRINGTABLE { 1 \"a\" }\n\nSTRINGTABLE { 1 \"b\" }"),
              "test.rc(3): error: string id 1 is defined twice");
    EXPECT_EQ(errorOf("1 RCDATA { 1 }\n2 RCDATA { 1 }\n1 RCDATA { 2 }\n"),
              "test.rc(3): error: resource 1 is defined twice for the same language");
    EXPECT_EQ(errorOf("#if 1\n#else\n#else\n#endif\n"), "test.rc(3): error: #else after #else");
    EXPECT_EQ(errorOf("\n#endif\n"), "test.rc(2): error: #endif without #if");
    EXPECT_EQ(errorOf("#ifdef X\n"), "test.rc(1): error: #if without #endif");
    EXPECT_EQ(errorOf("#define V 2\n#if V\n#error stop here\n#endif\n"), "test.rc(3): error: #error stop here");
    EXPECT_EQ(errorOf("#include \"missing.h\"\n"), "test.rc(1): error: cannot open include file missing.h");
    EXPECT_EQ(errorOf("1 DIALOG 0, 0, 1, 1 STYLE DS_SETFONT BEGIN END"),
              "test.rc(1): error: DS_SETFONT needs a FONT statement");
    EXPECT_EQ(errorOf("1 MENU BEGIN END"), "test.rc(1): error: MENU resources are not supported by this resource compiler");
    EXPECT_EQ(errorOf("1 ICON \"none.ico\""), "test.rc(1): error: cannot open file none.ico");
    EXPECT_EQ(errorOf("#define F(x) x\nSTRINGTABLE { F(1) \"a\" }"),
              "test.rc(2): error: macro F takes arguments, which resource scripts here do not support");
    EXPECT_EQ(errorOf("STRINGTABLE { 1 @ }"), "test.rc(1): error: unexpected character '@'");
    EXPECT_EQ(errorOf("STRINGTABLE { 0x1G \"a\" }"), "test.rc(1): error: bad number 0x1G");
    EXPECT_EQ(errorOf("STRINGTABLE { 70000 \"a\" }"), "test.rc(1): error: string id 70000 is not in 0..65535");
    EXPECT_EQ(errorOf("1 DIALOGEX 0, 0, 1, 1 BEGIN LTEXT \"a\", 1, 0, 0, 1 / 0, 1 END"),
              "test.rc(1): error: division by zero");
    TempDir dir;
    dir.write("bad.ico", "not an icon");
    EXPECT_EQ(errorOf("\n1 ICON \"bad.ico\"", dir.path), "test.rc(2): error: bad.ico is not an icon file: no icon header");
    dir.write("cut.ico", makeIcon({{16, 32}}).substr(0, 40));
    EXPECT_EQ(errorOf("1 ICON \"cut.ico\"", dir.path),
              "test.rc(1): error: cut.ico is not an icon file: image outside the file");
    dir.write("h.h", "#define A 1\n#if A\n#else\n#endif\n#endif\n");
    EXPECT_EQ(errorOf("#include \"h.h\"\n", dir.path), dir.path + "/h.h(5): error: #endif without #if");
    // a C declaration the script never uses is no fault; a macro with such a body is, where used
    dir.write("c.h", "#define TEXT 'x'\nchar c = 'y';\n");
    EXPECT_EQ(errorOf("#include \"c.h\"\n", dir.path), "");
    EXPECT_EQ(errorOf("#include \"c.h\"\nSTRINGTABLE { TEXT \"a\" }", dir.path),
              "test.rc(2): error: macro TEXT cannot be used in a resource script: unexpected character '''");
}

TEST(W32rcErrors, HostileInputFailsCleanly) {
    // arithmetic wraps at 32 bits, without overflow
    std::vector<Item> items = controlsOf("CONTROL \"\", 1, \"X\", 0xFFFFFFFF * 0xFFFFFFFF * 0xFFFFFFFF, "
                                         "-0x7FFFFFFF - 2, 0, 0, 0\n");
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].style, 0xFFFFFFFFu);
    EXPECT_EQ(items[0].x, -1); // 0x7FFFFFFF as a 16-bit coordinate
    EXPECT_EQ(stringOf(compile("#if (1 << 62) * -2 / -1\nSTRINGTABLE { 1 \"big\" }\n#endif\n"), 1), u"big");
    std::string deep = "STRINGTABLE { " + std::string(300, '(') + "1" + std::string(300, ')') + " \"x\" }";
    EXPECT_EQ(errorOf(deep), "test.rc(1): error: expression nested too deeply");
    std::string deepIf = "#if " + std::string(300, '(') + "1" + std::string(300, ')') + "\n#endif\n";
    EXPECT_EQ(errorOf(deepIf), "test.rc(1): error: #if expression nested too deeply");
    EXPECT_EQ(errorOf("#define A B\n#define B A\nSTRINGTABLE { A \"x\" }"), "test.rc(3): error: undefined name A");
    EXPECT_EQ(errorOf("STRINGTABLE { 0x100000000 \"x\" }"), "test.rc(1): error: number 0x100000000 does not fit in 32 bits");
    EXPECT_EQ(errorOf("1"), "test.rc(1): error: resource type expected after the name");
    EXPECT_EQ(errorOf(std::string("STRINGTABLE { 1 \"a\" }\0", 23)), "test.rc(1): error: unexpected character '\\x00'");
    EXPECT_EQ(errorOf("STRINGTABLE { 1 \"a\" } \xC3\xA4"), "test.rc(1): error: unexpected character '\\xC3'");
}

// ---- output ----

TEST(W32rcOutput, GeneratedSourceAndDependencyFile) {
    Script s = compile("\"We\\x22ird?\" RCDATA { 1 }\n3 RCDATA { }\nSTRINGTABLE LANGUAGE 7, 1 { 5 \"x\" }\n");
    std::string cpp = w32rc::emitTable(s, "in.rc");
    EXPECT_NE(cpp.find("#include <w32res.h>"), std::string::npos);
    EXPECT_NE(cpp.find("{MAKEINTRESOURCEA(10), \"WE\\042IRD\\077\", 0, resource0, 2},"), std::string::npos) << cpp;
    EXPECT_NE(cpp.find("{MAKEINTRESOURCEA(10), MAKEINTRESOURCEA(3), 0, resource1, 0},"), std::string::npos) << cpp;
    EXPECT_NE(cpp.find("{MAKEINTRESOURCEA(6), MAKEINTRESOURCEA(1), 1031, resource2, 34},"), std::string::npos) << cpp;
    EXPECT_NE(cpp.find("w32ResourceTable = {entries, 3};"), std::string::npos);
    EXPECT_NE(cpp.find("alignas(8) const unsigned char resource0[] = {\n    0x01, 0x00,\n};"), std::string::npos) << cpp;
    EXPECT_NE(w32rc::emitTable(Script{}, "e.rc").find("w32ResourceTable = {nullptr, 0};"), std::string::npos);
    EXPECT_EQ(w32rc::depfileText("/o/out.cpp", {"/s/a b.rc", "/s/x$.h"}), "/o/out.cpp: \\\n  /s/a\\ b.rc \\\n  /s/x$$.h\n");
}

TEST(W32rcCommandLine, WritesTheTableOrFailsWithTheMessage) {
    TempDir dir;
    std::string good = dir.write("good.rc", "STRINGTABLE { 1 \"a\" }\n");
    std::string bad = dir.write("bad.rc", "STRINGTABLE {\n 1 \"a\"\n 2 }\n");
    std::string out = dir.path + "/out.cpp";
    // the tests run in the folder of the programs
    std::string tool = "./w32rc";
    std::string cmd = tool + " --depfile " + out + ".d -o " + out + " " + good + " 2>&1";
    EXPECT_EQ(std::system(cmd.c_str()), 0);
    std::ifstream generated(out);
    std::string text((std::istreambuf_iterator<char>(generated)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("w32ResourceTable = {entries, 1};"), std::string::npos);
    std::ifstream dep(out + ".d");
    std::string deps((std::istreambuf_iterator<char>(dep)), std::istreambuf_iterator<char>());
    EXPECT_NE(deps.find("good.rc"), std::string::npos);

    std::string failing = tool + " -o " + dir.path + "/bad.cpp " + bad + " 2>&1";
    FILE* p = popen(failing.c_str(), "r");
    ASSERT_NE(p, nullptr);
    char buf[512] = {};
    size_t n = fread(buf, 1, sizeof buf - 1, p);
    int status = pclose(p);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(std::string(buf, n), bad + "(3): error: string expected for the string table entry, not '}'\n");
    struct stat st;
    EXPECT_NE(stat((dir.path + "/bad.cpp").c_str(), &st), 0); // nothing half written
    // usage: asked for, it is the answer; otherwise a refusal with exit code 2 and nothing written
    auto exitCode = [](const std::string& cmd) {
        int status = std::system((cmd + " >/dev/null 2>&1").c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(exitCode(tool + " --help"), 0);
    EXPECT_EQ(exitCode(tool), 2);
    EXPECT_EQ(exitCode(tool + " --frobnicate -o " + dir.path + "/x.cpp " + good), 2);
    EXPECT_EQ(exitCode(tool + " " + good + " -o"), 2);
    EXPECT_EQ(exitCode(tool + " -o " + dir.path + "/x.cpp " + good + " " + good), 2);
    EXPECT_NE(stat((dir.path + "/x.cpp").c_str(), &st), 0);
}
