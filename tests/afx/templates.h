// In-memory dialog templates, laid out as the resource compiler lays out a DLGTEMPLATE, for the
// framework tests and their test modules.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

enum : WORD { kButton = 0x80, kEdit = 0x81, kStatic = 0x82, kListBox = 0x83, kComboBox = 0x85 };

class DialogTemplate {
public:
    DialogTemplate(DWORD style, short x, short y, short cx, short cy, const std::string& title)
        : style_(style | DS_SETFONT), x_(x), y_(y), cx_(cx), cy_(cy), title_(title) {}

    DialogTemplate& Item(WORD classOrdinal, const std::string& text, WORD id, DWORD style, short x, short y,
                         short cx, short cy) {
        items_.push_back(ItemData{classOrdinal, text, id, style, x, y, cx, cy});
        bytes_.clear();
        return *this;
    }

    const DLGTEMPLATE* Get() {
        Build();
        return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data());
    }
    DWORD Size() {
        Build();
        return static_cast<DWORD>(bytes_.size());
    }

private:
    struct ItemData {
        WORD ordinal;
        std::string text;
        WORD id;
        DWORD style;
        short x, y, cx, cy;
    };
    void Build() {
        if (!bytes_.empty()) return;
        Dword(style_);
        Dword(0);
        Word(static_cast<WORD>(items_.size()));
        Word(static_cast<WORD>(x_));
        Word(static_cast<WORD>(y_));
        Word(static_cast<WORD>(cx_));
        Word(static_cast<WORD>(cy_));
        Word(0); // no menu
        Word(0); // the dialog class
        Text(title_);
        Word(8);
        Text("MS Shell Dlg");
        for (const ItemData& it : items_) {
            while (bytes_.size() % 4)
                bytes_.push_back(0);
            Dword(it.style);
            Dword(0);
            Word(static_cast<WORD>(it.x));
            Word(static_cast<WORD>(it.y));
            Word(static_cast<WORD>(it.cx));
            Word(static_cast<WORD>(it.cy));
            Word(it.id);
            Word(0xFFFF);
            Word(it.ordinal);
            Text(it.text);
            Word(0); // no creation data
        }
        while (bytes_.size() % 4)
            bytes_.push_back(0);
    }
    void Word(WORD w) {
        bytes_.push_back(static_cast<unsigned char>(w & 0xFF));
        bytes_.push_back(static_cast<unsigned char>(w >> 8));
    }
    void Dword(DWORD d) {
        Word(static_cast<WORD>(d & 0xFFFF));
        Word(static_cast<WORD>(d >> 16));
    }
    void Text(const std::string& s) {
        for (unsigned char c : s)
            Word(c);
        Word(0);
    }

    DWORD style_;
    short x_, y_, cx_, cy_;
    std::string title_;
    std::vector<ItemData> items_;
    std::vector<unsigned char> bytes_;
};

// The dialog the tests share: an edit, a label, OK, Cancel, an Apply button and a drop-down list.
enum : WORD { kIdEdit = 1000, kIdCombo = 1001, kIdLabel = 1002, kIdApply = 3 };

inline DialogTemplate InputDialogTemplate(const std::string& title = "Input",
                                          const std::string& label = "Label") {
    DialogTemplate t(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 10, 10, 200, 90, title);
    t.Item(kEdit, "", kIdEdit, WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 7, 7, 120, 12)
        .Item(kStatic, label, kIdLabel, WS_VISIBLE | SS_LEFT, 7, 24, 120, 10)
        .Item(kButton, "OK", IDOK, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 140, 7, 50, 14)
        .Item(kButton, "Cancel", IDCANCEL, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 140, 24, 50, 14)
        .Item(kButton, "Apply", kIdApply, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 140, 41, 50, 14)
        .Item(kComboBox, "", kIdCombo, WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 7, 40, 120,
              60);
    return t;
}
