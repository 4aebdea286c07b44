// What the framework tests share with their test modules: in-memory dialog templates, laid out as
// the resource compiler lays out a DLGTEMPLATE, and what the test module reports of its framework.
#pragma once
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

enum : WORD { kButton = 0x80, kEdit = 0x81, kStatic = 0x82, kListBox = 0x83, kComboBox = 0x85 };

class DialogTemplate {
public:
    DialogTemplate(DWORD style, short x, short y, short cx, short cy, const std::string& title) {
        style |= DS_SETFONT; // no extended style, the item count (kept by Item), no menu, the dialog class
        Words({LOWORD(style), HIWORD(style), 0, 0, 0, WORD(x), WORD(y), WORD(cx), WORD(cy), 0, 0});
        Text(title);
        Words({8});
        Text("MS Shell Dlg");
    }
    DialogTemplate& Item(WORD classOrdinal, const std::string& text, WORD id, DWORD style, short x, short y,
                         short cx, short cy) {
        Align();
        Words({LOWORD(style), HIWORD(style), 0, 0, WORD(x), WORD(y), WORD(cx), WORD(cy), id, 0xFFFF,
               classOrdinal});
        Text(text);
        Words({0});  // no creation data
        ++bytes_[8]; // the low byte of the item count
        return *this;
    }
    const DLGTEMPLATE* Get() {
        Align();
        return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data());
    }
    DWORD Size() {
        Align();
        return static_cast<DWORD>(bytes_.size());
    }

private:
    void Align() {
        while (bytes_.size() % 4)
            bytes_.push_back(0);
    }
    void Words(std::initializer_list<WORD> words) {
        for (WORD w : words) {
            bytes_.push_back(static_cast<unsigned char>(w & 0xFF));
            bytes_.push_back(static_cast<unsigned char>(w >> 8));
        }
    }
    void Text(const std::string& s) {
        for (unsigned char c : s)
            Words({c});
        Words({0});
    }

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

// The test module's framework as its exported AfxTestReport sees it.
struct AfxTestModuleReport {
    int initCount;
    HINSTANCE instanceAtInit, instance, resources;
    const char* appName;
    size_t temporaryWindows; // window wrappers it still holds
};
