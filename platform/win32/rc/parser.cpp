// Resource statements: LANGUAGE, STRINGTABLE, DIALOG/DIALOGEX with their controls, ICON, RCDATA and
// user-defined types, laid out as the Windows resource compiler lays them out.
#include "internal.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <map>
#include <optional>

namespace w32rc {

namespace {

// Appends little-endian data the way resource formats store it.
class Writer {
public:
    std::vector<uint8_t> bytes;
    void byte(uint32_t b) { bytes.push_back(static_cast<uint8_t>(b)); }
    void word(uint32_t w) {
        byte(w & 0xFF);
        byte((w >> 8) & 0xFF);
    }
    void dword(uint32_t d) {
        word(d & 0xFFFF);
        word(d >> 16);
    }
    void text(const std::u16string& s) {
        for (char16_t c : s) word(c);
        word(0);
    }
    void align4() {
        while (bytes.size() % 4) byte(0);
    }
};

// A title, class or menu in a template: nothing, an ordinal, or a string.
struct NameOrOrdinal {
    enum { None, Ordinal, Text } kind = None;
    uint16_t ordinal = 0;
    std::u16string text;
    void write(Writer& w) const {
        if (kind == Ordinal) {
            w.word(0xFFFF);
            w.word(ordinal);
        } else if (kind == Text) {
            w.text(text);
        } else {
            w.word(0);
        }
    }
};

struct Control {
    uint32_t helpId = 0, exStyle = 0, style = 0;
    int64_t x = 0, y = 0, cx = 0, cy = 0;
    uint32_t id = 0;
    NameOrOrdinal cls, title;
};

struct ShorthandKind {
    const char* keyword;
    uint16_t classOrdinal;
    uint32_t defaults;
    bool hasText;
};

// Default styles of the shorthand statements, as documented for rc.exe; every one also gets
// WS_CHILD | WS_VISIBLE, and a style given in the statement is OR-ed with them.
const ShorthandKind kShorthands[] = {
    {"LTEXT", 0x82, SS_LEFT | WS_GROUP, true},
    {"RTEXT", 0x82, SS_RIGHT | WS_GROUP, true},
    {"CTEXT", 0x82, SS_CENTER | WS_GROUP, true},
    {"ICON", 0x82, SS_ICON, true},
    {"EDITTEXT", 0x81, ES_LEFT | WS_BORDER | WS_TABSTOP, false},
    {"PUSHBUTTON", 0x80, BS_PUSHBUTTON | WS_TABSTOP, true},
    {"DEFPUSHBUTTON", 0x80, BS_DEFPUSHBUTTON | WS_TABSTOP, true},
    {"PUSHBOX", 0x80, BS_PUSHBOX | WS_TABSTOP, true},
    {"GROUPBOX", 0x80, BS_GROUPBOX, true},
    {"CHECKBOX", 0x80, BS_CHECKBOX | WS_TABSTOP, true},
    {"AUTOCHECKBOX", 0x80, BS_AUTOCHECKBOX | WS_TABSTOP, true},
    {"RADIOBUTTON", 0x80, BS_RADIOBUTTON | WS_TABSTOP, true},
    {"AUTORADIOBUTTON", 0x80, BS_AUTORADIOBUTTON | WS_TABSTOP, true},
    {"STATE3", 0x80, BS_3STATE | WS_TABSTOP, true},
    {"AUTO3STATE", 0x80, BS_AUTO3STATE | WS_TABSTOP, true},
    {"COMBOBOX", 0x85, CBS_SIMPLE | WS_TABSTOP, false},
    {"LISTBOX", 0x83, LBS_NOTIFY | WS_BORDER, false},
    {"SCROLLBAR", 0x84, SBS_HORZ, false},
};

// rc.exe writes the predefined classes as ordinals, whatever their spelling.
std::optional<uint16_t> predefinedClass(const std::string& name) {
    static const std::pair<const char*, uint16_t> classes[] = {{"BUTTON", 0x80},  {"EDIT", 0x81},
                                                               {"STATIC", 0x82},  {"LISTBOX", 0x83},
                                                               {"SCROLLBAR", 0x84}, {"COMBOBOX", 0x85}};
    std::string upper = toUpperAscii(name);
    for (auto& c : classes)
        if (upper == c.first) return c.second;
    return std::nullopt;
}

bool isMemoryFlag(const std::string& upper) {
    return upper == "MOVEABLE" || upper == "FIXED" || upper == "PURE" || upper == "IMPURE" || upper == "PRELOAD" ||
           upper == "LOADONCALL" || upper == "DISCARDABLE" || upper == "SHARED" || upper == "NONSHARED";
}

std::u16string widen(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

class Parser {
public:
    explicit Parser(Preprocessor& pp) : pp_(pp), t_(pp.tokens) {
        Token end;
        end.kind = Token::End;
        end.at = t_.empty() ? Location{} : t_.back().at;
        t_.push_back(end);
    }

    Script run() {
        while (peek().kind != Token::End) statement();
        flushStrings();
        checkDuplicates();
        script_.dependencies = pp_.dependencies;
        for (auto& d : extraDeps_)
            if (std::find(script_.dependencies.begin(), script_.dependencies.end(), d) == script_.dependencies.end())
                script_.dependencies.push_back(d);
        return std::move(script_);
    }

private:
    // ---- tokens ----
    const Token& peek(size_t ahead = 0) const { return t_[std::min(p_ + ahead, t_.size() - 1)]; }
    const Token& next() {
        const Token& t = peek();
        if (p_ < t_.size() - 1) ++p_;
        return t;
    }
    bool isKeyword(const Token& t, const char* word) const {
        return t.kind == Token::Ident && toUpperAscii(t.text) == word;
    }
    bool eatKeyword(const char* word) {
        if (!isKeyword(peek(), word)) return false;
        next();
        return true;
    }
    bool eat(const char* punct) {
        if (!peek().is(punct)) return false;
        next();
        return true;
    }
    std::string describe(const Token& t) const {
        switch (t.kind) {
        case Token::End: return "end of file";
        case Token::String: return "a string";
        default: return "'" + t.text + "'";
        }
    }
    void expect(const char* punct, const char* context) {
        if (!eat(punct)) fail(peek().at, std::string("'") + punct + "' expected " + context + ", not " + describe(peek()));
    }
    bool atBegin() const { return isKeyword(peek(), "BEGIN") || peek().is("{"); }
    bool atEnd() const { return isKeyword(peek(), "END") || peek().is("}"); }
    void expectBegin(const char* what) {
        if (!atBegin()) fail(peek().at, std::string("BEGIN expected in ") + what + ", not " + describe(peek()));
        next();
    }
    void skipMemoryFlags() {
        while (peek().kind == Token::Ident && isMemoryFlag(toUpperAscii(peek().text))) next();
    }

    // ---- expressions ----
    // rc.exe computes in 32 bits; wrapping here also keeps overflow defined.
    static int64_t wrap(uint64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(v)); }
    static uint64_t u(int64_t v) { return static_cast<uint64_t>(v); }

    int64_t identValue(const Token& t) const {
        int64_t v;
        if (builtinNumber(t.text, &v)) return v;
        fail(t.at, "undefined name " + t.text);
    }
    int64_t primary() {
        const Token& t = peek();
        if (++depth_ > 200) fail(t.at, "expression nested too deeply");
        struct Leave {
            int& d;
            ~Leave() { --d; }
        } leave{depth_};
        if (eat("(")) {
            int64_t v = orExpr();
            expect(")", "to close the expression");
            return v;
        }
        if (eat("-")) return wrap(0 - u(primary()));
        if (eat("+")) return primary();
        if (eat("~")) return wrap(~u(primary()));
        if (t.kind == Token::Number) {
            if (t.isLong) sawLong_ = true;
            next();
            return t.value;
        }
        if (t.kind == Token::Ident && !isKeyword(t, "NOT")) {
            next();
            return identValue(t);
        }
        fail(t.at, "number expected, not " + describe(t));
    }
    int64_t mulExpr() {
        int64_t v = primary();
        for (;;) {
            if (eat("*")) {
                v = wrap(u(v) * u(primary()));
            } else if (peek().is("/")) {
                Location at = next().at;
                int64_t r = primary();
                if (r == 0) fail(at, "division by zero");
                v = wrap(u(v / r));
            } else {
                return v;
            }
        }
    }
    int64_t addExpr() {
        int64_t v = mulExpr();
        for (;;) {
            if (eat("+")) v = wrap(u(v) + u(mulExpr()));
            else if (eat("-")) v = wrap(u(v) - u(mulExpr()));
            else return v;
        }
    }
    int64_t andExpr() {
        int64_t v = addExpr();
        while (eat("&")) v &= addExpr();
        return v;
    }
    int64_t orExpr() {
        int64_t v = andExpr();
        while (eat("|")) v |= andExpr();
        return v;
    }
    int64_t number() { return orExpr(); }

    // A style: terms joined by '|', where NOT x removes x's bits from what is there so far,
    // the defaults included.
    uint32_t style(uint32_t value) {
        do {
            if (eatKeyword("NOT")) {
                value &= ~static_cast<uint32_t>(primary());
            } else {
                value |= static_cast<uint32_t>(andExpr());
            }
        } while (eat("|"));
        return value;
    }

    std::u16string string(const char* what) {
        const Token& t = peek();
        if (t.kind != Token::String) fail(t.at, std::string("string expected for ") + what + ", not " + describe(t));
        next();
        return t.str;
    }

    // A resource's name or type: a number, or a word or string upper-cased.
    Name name() {
        const Token& t = peek();
        int64_t v;
        if (t.kind == Token::String) {
            next();
            return Name::of(toUpperAscii(narrowName(t.str)));
        }
        if (t.kind == Token::Ident && !builtinNumber(t.text, &v)) {
            next();
            return Name::of(toUpperAscii(t.text));
        }
        int64_t n = number();
        return Name::of(static_cast<uint16_t>(n));
    }

    uint16_t languagePair() {
        int64_t primaryLang = number();
        expect(",", "between language and sublanguage");
        int64_t sub = number();
        return static_cast<uint16_t>(((sub & 0x3F) << 10) | (primaryLang & 0x3FF));
    }

    // ---- statements ----
    void statement() {
        const Token& t = peek();
        if (eatKeyword("LANGUAGE")) {
            language_ = languagePair();
            return;
        }
        if (eatKeyword("STRINGTABLE")) {
            stringTable(t.at);
            return;
        }
        if (t.kind == Token::Ident && (isKeyword(t, "VERSION") || isKeyword(t, "CHARACTERISTICS"))) {
            next();
            number();
            return;
        }
        Location at = t.at;
        Name resourceName = name();
        const Token& type = peek();
        if (type.kind == Token::End) fail(at, "resource type expected after the name");
        std::string upper = type.kind == Token::Ident ? toUpperAscii(type.text) : "";
        if (upper == "DIALOG" || upper == "DIALOGEX") {
            next();
            dialog(resourceName, upper == "DIALOGEX", at);
        } else if (upper == "ICON") {
            next();
            icon(resourceName, at);
        } else if (upper == "MENU" || upper == "MENUEX" || upper == "ACCELERATORS" || upper == "VERSIONINFO" ||
                   upper == "BITMAP" || upper == "CURSOR" || upper == "FONT" || upper == "MESSAGETABLE" ||
                   upper == "TOOLBAR" || upper == "DLGINIT" || upper == "DLGINCLUDE") {
            fail(type.at, upper + " resources are not supported by this resource compiler");
        } else if (upper == "RCDATA" || upper == "HTML") {
            next();
            rawData(Name::of(static_cast<uint16_t>(upper == "RCDATA" ? 10 : 23)), resourceName, at);
        } else if (type.kind == Token::Ident || type.kind == Token::Number || type.kind == Token::String) {
            rawData(name(), resourceName, at);
        } else {
            fail(type.at, "resource type expected, not " + describe(type));
        }
    }

    void add(Name type, Name name, uint16_t language, std::vector<uint8_t> data, const Location& at) {
        script_.resources.push_back(Resource{std::move(type), std::move(name), language, std::move(data)});
        origins_.push_back(at);
    }

    void checkDuplicates() {
        for (size_t i = 0; i < script_.resources.size(); ++i)
            for (size_t j = 0; j < i; ++j) {
                const Resource& a = script_.resources[i];
                const Resource& b = script_.resources[j];
                if (a.type == b.type && a.name == b.name && a.language == b.language)
                    fail(origins_[i], "resource " + (a.name.ordinal ? std::to_string(a.name.number) : a.name.text) +
                                          " is defined twice for the same language");
            }
    }

    // Options of STRINGTABLE, RCDATA and the like; a LANGUAGE there applies to that resource only.
    uint16_t resourceOptions(uint16_t language) {
        for (;;) {
            skipMemoryFlags();
            if (eatKeyword("LANGUAGE")) {
                language = languagePair();
            } else if (eatKeyword("VERSION") || eatKeyword("CHARACTERISTICS")) {
                number();
            } else {
                return language;
            }
        }
    }

    void stringTable(const Location& at) {
        uint16_t language = resourceOptions(language_);
        expectBegin("STRINGTABLE");
        (void)at;
        while (!atEnd()) {
            if (peek().kind == Token::End) fail(peek().at, "END expected to close STRINGTABLE");
            Location idAt = peek().at;
            int64_t id = number();
            if (id < 0 || id > 0xFFFF) fail(idAt, "string id " + std::to_string(id) + " is not in 0..65535");
            eat(",");
            std::u16string text = string("the string table entry");
            auto& block = strings_[{language, static_cast<uint16_t>((id >> 4) + 1)}];
            auto& slot = block[static_cast<size_t>(id & 15)];
            if (slot) fail(idAt, "string id " + std::to_string(id) + " is defined twice");
            slot = text;
            if (!stringOrigins_.count({language, static_cast<uint16_t>((id >> 4) + 1)}))
                stringOrigins_[{language, static_cast<uint16_t>((id >> 4) + 1)}] = idAt;
        }
        next();
    }

    // Blocks of sixteen counted strings; block n holds ids (n - 1) * 16 .. n * 16 - 1.
    void flushStrings() {
        for (auto& entry : strings_) {
            Writer w;
            for (auto& s : entry.second) {
                if (!s) {
                    w.word(0);
                    continue;
                }
                if (s->size() > 0xFFFF) fail(stringOrigins_[entry.first], "string too long");
                w.word(static_cast<uint32_t>(s->size()));
                for (char16_t c : *s) w.word(c);
            }
            add(Name::of(6), Name::of(entry.first.second), entry.first.first, std::move(w.bytes),
                stringOrigins_[entry.first]);
        }
    }

    NameOrOrdinal textOrOrdinal(bool identIsName) {
        NameOrOrdinal r;
        const Token& t = peek();
        int64_t v;
        if (t.kind == Token::String) {
            next();
            r.kind = NameOrOrdinal::Text;
            r.text = t.str;
        } else if (identIsName && t.kind == Token::Ident && !builtinNumber(t.text, &v)) {
            next();
            r.kind = NameOrOrdinal::Text;
            r.text = widen(toUpperAscii(t.text));
        } else {
            r.kind = NameOrOrdinal::Ordinal;
            r.ordinal = static_cast<uint16_t>(number());
        }
        return r;
    }

    NameOrOrdinal controlClass() {
        NameOrOrdinal r;
        const Token& t = peek();
        std::string s;
        if (t.kind == Token::String || (t.kind == Token::Ident && builtinString(t.text, &s)) ||
            (t.kind == Token::Ident && predefinedClass(t.text))) {
            next();
            if (t.kind == Token::String) s = narrowName(t.str);
            else if (s.empty()) s = t.text;
            if (auto ordinal = predefinedClass(s)) {
                r.kind = NameOrOrdinal::Ordinal;
                r.ordinal = *ordinal;
            } else {
                r.kind = NameOrOrdinal::Text;
                r.text = t.kind == Token::String ? t.str : widen(s);
            }
            return r;
        }
        if (t.kind == Token::Ident) {
            int64_t v;
            if (!builtinNumber(t.text, &v)) fail(t.at, "control class expected, not " + describe(t));
        }
        r.kind = NameOrOrdinal::Ordinal;
        r.ordinal = static_cast<uint16_t>(number());
        return r;
    }

    void dialog(const Name& resourceName, bool ex, const Location& at) {
        skipMemoryFlags();
        int64_t x = number();
        expect(",", "after the dialog's x");
        int64_t y = number();
        expect(",", "after the dialog's y");
        int64_t cx = number();
        expect(",", "after the dialog's width");
        int64_t cy = number();
        uint32_t helpId = 0;
        if (ex && eat(",")) helpId = static_cast<uint32_t>(number());

        uint16_t language = language_;
        bool styleGiven = false, hasCaption = false, hasFont = false;
        uint32_t dlgStyle = 0, exStyle = 0;
        std::u16string caption, face;
        uint32_t pointSize = 0, weight = FW_NORMAL, italic = 0, charset = DEFAULT_CHARSET;
        NameOrOrdinal menu, cls;
        while (!atBegin()) {
            const Token& t = peek();
            if (eatKeyword("STYLE")) {
                dlgStyle = style(0);
                styleGiven = true;
            } else if (eatKeyword("EXSTYLE")) {
                eat("=");
                exStyle = style(0);
            } else if (eatKeyword("CAPTION")) {
                caption = string("CAPTION");
                hasCaption = true;
            } else if (eatKeyword("FONT")) {
                hasFont = true;
                pointSize = static_cast<uint32_t>(number());
                expect(",", "after the font size");
                face = string("the font face");
                if (eat(",")) {
                    weight = static_cast<uint32_t>(number());
                    if (eat(",")) {
                        italic = static_cast<uint32_t>(number());
                        if (eat(",")) charset = static_cast<uint32_t>(number());
                    }
                }
            } else if (eatKeyword("CLASS")) {
                cls = textOrOrdinal(false);
            } else if (eatKeyword("MENU")) {
                menu = textOrOrdinal(true);
            } else if (eatKeyword("LANGUAGE")) {
                language = languagePair();
            } else if (eatKeyword("CHARACTERISTICS") || eatKeyword("VERSION")) {
                number();
            } else {
                fail(t.at, "dialog option or BEGIN expected, not " + describe(t));
            }
        }
        next();

        std::vector<Control> controls;
        while (!atEnd()) {
            if (peek().kind == Token::End) fail(peek().at, "END expected to close the dialog");
            controls.push_back(control(ex));
        }
        next();

        uint32_t finalStyle = styleGiven ? dlgStyle : (WS_POPUP | WS_BORDER | WS_SYSMENU);
        if (hasCaption) finalStyle |= WS_CAPTION;
        if (hasFont) finalStyle |= DS_SETFONT;
        else if (finalStyle & DS_SETFONT) fail(at, "DS_SETFONT needs a FONT statement");
        if (controls.size() > 0xFFFF) fail(at, "too many controls");

        Writer w;
        if (ex) {
            w.word(1);
            w.word(0xFFFF);
            w.dword(helpId);
            w.dword(exStyle);
            w.dword(finalStyle);
        } else {
            w.dword(finalStyle);
            w.dword(exStyle);
        }
        w.word(static_cast<uint32_t>(controls.size()));
        w.word(static_cast<uint32_t>(x));
        w.word(static_cast<uint32_t>(y));
        w.word(static_cast<uint32_t>(cx));
        w.word(static_cast<uint32_t>(cy));
        menu.write(w);
        cls.write(w);
        w.text(caption);
        if (hasFont) {
            w.word(pointSize);
            if (ex) {
                w.word(weight);
                w.byte(italic);
                w.byte(charset);
            }
            w.text(face);
        }
        for (const Control& c : controls) {
            w.align4();
            if (ex) {
                w.dword(c.helpId);
                w.dword(c.exStyle);
                w.dword(c.style);
            } else {
                w.dword(c.style);
                w.dword(c.exStyle);
            }
            w.word(static_cast<uint32_t>(c.x));
            w.word(static_cast<uint32_t>(c.y));
            w.word(static_cast<uint32_t>(c.cx));
            w.word(static_cast<uint32_t>(c.cy));
            if (ex) w.dword(c.id);
            else w.word(c.id & 0xFFFF);
            c.cls.write(w);
            c.title.write(w);
            w.word(0); // no creation data
        }
        add(Name::of(5), resourceName, language, std::move(w.bytes), at);
    }

    Control control(bool ex) {
        const Token& t = peek();
        if (t.kind != Token::Ident) fail(t.at, "control statement expected, not " + describe(t));
        std::string keyword = toUpperAscii(t.text);
        next();
        Control c;
        auto tail = [&](bool helpAllowed) {
            if (eat(",")) {
                c.exStyle = style(0);
                if (helpAllowed && eat(",")) c.helpId = static_cast<uint32_t>(number());
            }
        };
        auto coordinates = [&]() {
            c.x = number();
            expect(",", "after the control's x");
            c.y = number();
            expect(",", "after the control's y");
            c.cx = number();
            expect(",", "after the control's width");
            c.cy = number();
        };
        if (keyword == "CONTROL") {
            c.title = textOrOrdinal(false);
            expect(",", "after the control's text");
            c.id = static_cast<uint32_t>(number());
            expect(",", "after the control's id");
            c.cls = controlClass();
            expect(",", "after the control's class");
            c.style = style(WS_CHILD | WS_VISIBLE);
            expect(",", "after the control's style");
            coordinates();
            tail(ex);
            return c;
        }
        const ShorthandKind* kind = nullptr;
        for (const auto& k : kShorthands)
            if (keyword == k.keyword) kind = &k;
        if (!kind) fail(t.at, "unknown control statement " + t.text);
        c.cls.kind = NameOrOrdinal::Ordinal;
        c.cls.ordinal = kind->classOrdinal;
        c.style = WS_CHILD | WS_VISIBLE | kind->defaults;
        if (kind->hasText) {
            c.title = textOrOrdinal(keyword == "ICON");
            expect(",", "after the control's text");
        }
        c.id = static_cast<uint32_t>(number());
        expect(",", "after the control's id");
        if (keyword == "ICON") {
            // width and height may be left out; rc.exe then writes zero
            c.x = number();
            expect(",", "after the control's x");
            c.y = number();
            if (eat(",")) {
                c.cx = number();
                expect(",", "after the icon's width");
                c.cy = number();
                if (eat(",")) {
                    c.style = style(c.style);
                    tail(ex);
                }
            }
            return c;
        }
        coordinates();
        if (eat(",")) {
            c.style = style(c.style);
            tail(ex);
        }
        return c;
    }

    std::string findFile(const std::string& fileRef, const Location& at) {
        std::string file = fileRef;
        std::replace(file.begin(), file.end(), '\\', '/');
        std::vector<std::string> candidates = {joinPath(pp_.directoryOf(at), file)};
        for (auto& d : pp_.includeDirs()) candidates.push_back(joinPath(d, file));
        for (auto& c : candidates)
            if (fileExists(c)) return c;
        fail(at, "cannot open file " + fileRef);
    }

    std::string fileName(const char* what) {
        const Token& t = peek();
        if (t.kind != Token::String) fail(t.at, std::string("file name in quotation marks expected for ") + what);
        next();
        std::u16string s = t.str;
        std::string utf8;
        for (char16_t c : s) {
            if (c < 0x80) {
                utf8.push_back(static_cast<char>(c));
            } else if (c < 0x800) {
                utf8.push_back(static_cast<char>(0xC0 | (c >> 6)));
                utf8.push_back(static_cast<char>(0x80 | (c & 0x3F)));
            } else {
                utf8.push_back(static_cast<char>(0xE0 | (c >> 12)));
                utf8.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
                utf8.push_back(static_cast<char>(0x80 | (c & 0x3F)));
            }
        }
        return utf8;
    }

    std::string loadFile(const std::string& fileRef, const Location& at) {
        std::string path = findFile(fileRef, at);
        bool ok;
        std::string content = readFile(path, &ok);
        if (!ok) fail(at, "cannot read file " + fileRef);
        char buf[PATH_MAX];
        extraDeps_.push_back(::realpath(path.c_str(), buf) ? std::string(buf) : path);
        return content;
    }

    static uint32_t le16(const std::string& d, size_t at) {
        return static_cast<uint32_t>(static_cast<uint8_t>(d[at]) | (static_cast<uint8_t>(d[at + 1]) << 8));
    }
    static uint32_t le32(const std::string& d, size_t at) { return le16(d, at) | (le16(d, at + 2) << 16); }

    // An .ico file: each image becomes an RT_ICON with a fresh number, and the group refers to them.
    void icon(const Name& resourceName, const Location& at) {
        uint16_t language = resourceOptions(language_);
        std::string fileRef = fileName("ICON");
        std::string d = loadFile(fileRef, at);
        auto bad = [&](const std::string& why) { fail(at, fileRef + " is not an icon file: " + why); };
        if (d.size() < 6) bad("too short");
        if (le16(d, 0) != 0 || le16(d, 2) != 1) bad("no icon header");
        uint32_t count = le16(d, 4);
        if (count == 0) bad("no images");
        if (d.size() < 6 + 16 * static_cast<size_t>(count)) bad("directory cut short");
        Writer group;
        group.word(0);
        group.word(1);
        group.word(count);
        for (uint32_t i = 0; i < count; ++i) {
            size_t e = 6 + 16 * static_cast<size_t>(i);
            uint32_t bytesInRes = le32(d, e + 8), offset = le32(d, e + 12);
            if (offset > d.size() || bytesInRes > d.size() - offset || bytesInRes == 0) bad("image outside the file");
            uint32_t planes = le16(d, e + 4), bitCount = le16(d, e + 6);
            // Directories often leave these zero; the bitmap header has them.
            if (planes == 0 && bitCount == 0 && bytesInRes >= 16 && le32(d, offset) == 40) {
                planes = le16(d, offset + 12);
                bitCount = le16(d, offset + 14);
            }
            uint16_t id = ++iconCount_;
            add(Name::of(3), Name::of(id), language,
                std::vector<uint8_t>(d.begin() + static_cast<std::ptrdiff_t>(offset),
                                     d.begin() + static_cast<std::ptrdiff_t>(offset + bytesInRes)),
                at);
            group.byte(static_cast<uint8_t>(d[e]));
            group.byte(static_cast<uint8_t>(d[e + 1]));
            group.byte(static_cast<uint8_t>(d[e + 2]));
            group.byte(static_cast<uint8_t>(d[e + 3]));
            group.word(planes);
            group.word(bitCount);
            group.dword(bytesInRes);
            group.word(id);
        }
        add(Name::of(14), resourceName, language, std::move(group.bytes), at);
    }

    // RCDATA and user-defined types: a file's bytes, or numbers (WORDs, DWORDs with L) and strings.
    void rawData(const Name& type, const Name& resourceName, const Location& at) {
        uint16_t language = resourceOptions(language_);
        Writer w;
        if (peek().kind == Token::String) {
            std::string content = loadFile(fileName("the resource"), at);
            w.bytes.assign(content.begin(), content.end());
        } else {
            expectBegin("the resource data");
            while (!atEnd()) {
                const Token& t = peek();
                if (t.kind == Token::End) fail(t.at, "END expected to close the resource data");
                if (t.kind == Token::String) {
                    next();
                    if (t.wide)
                        for (char16_t c : t.str) w.word(c);
                    else
                        for (char c : t.bytes) w.byte(static_cast<uint8_t>(c));
                } else {
                    sawLong_ = false;
                    int64_t v = number();
                    if (sawLong_) w.dword(static_cast<uint32_t>(v));
                    else w.word(static_cast<uint32_t>(v));
                }
                eat(",");
            }
            next();
        }
        add(type, resourceName, language, std::move(w.bytes), at);
    }

    Preprocessor& pp_;
    std::vector<Token>& t_;
    size_t p_ = 0;
    uint16_t language_ = 0;
    uint16_t iconCount_ = 0;
    bool sawLong_ = false;
    int depth_ = 0;
    Script script_;
    std::vector<Location> origins_;
    std::vector<std::string> extraDeps_;
    std::map<std::pair<uint16_t, uint16_t>, std::array<std::optional<std::u16string>, 16>> strings_;
    std::map<std::pair<uint16_t, uint16_t>, Location> stringOrigins_;
};

} // namespace

Script parse(Preprocessor& pp) { return Parser(pp).run(); }

Script compileFile(const std::string& path, const Options& options) {
    Preprocessor pp(options);
    pp.runFile(path);
    return parse(pp);
}

Script compileText(const std::string& text, const std::string& name, const Options& options, const std::string& dir) {
    Preprocessor pp(options);
    pp.runText(text, name, dir);
    return parse(pp);
}

} // namespace w32rc
