// Builds dialog templates in memory, in the layout the resource compiler produces (DLGTEMPLATEEX
// by default, the older DLGTEMPLATE on request).
#pragma once
#include <windows.h>

#include <string>
#include <vector>

class DialogTemplateBuilder {
public:
    DialogTemplateBuilder(DWORD style, short x, short y, short cx, short cy, const std::string& title, bool extended = true)
        : style_(style), x_(x), y_(y), cx_(cx), cy_(cy), title_(title), extended_(extended) {}

    DialogTemplateBuilder& font(WORD points, const std::string& face) {
        style_ |= DS_SETFONT;
        points_ = points;
        face_ = face;
        return *this;
    }

    // cls: a predefined class ordinal (0x80 button ... 0x85 combo box) or 0 with className.
    DialogTemplateBuilder& item(WORD classOrdinal, const std::string& text, DWORD id, DWORD style, short x, short y, short cx,
                                short cy, const std::string& className = "", DWORD exStyle = 0) {
        items_.push_back(Item{classOrdinal, className, text, id, style, exStyle, x, y, cx, cy});
        return *this;
    }

    const DLGTEMPLATE* get() {
        bytes_.clear();
        if (extended_) {
            word(1);
            word(0xFFFF);
            dword(0);
            dword(0);
            dword(style_);
        } else {
            dword(style_);
            dword(0);
        }
        word(static_cast<WORD>(items_.size()));
        word(static_cast<WORD>(x_));
        word(static_cast<WORD>(y_));
        word(static_cast<WORD>(cx_));
        word(static_cast<WORD>(cy_));
        word(0); // no menu
        word(0); // the dialog class
        str(title_);
        if (style_ & DS_SETFONT) {
            word(points_);
            if (extended_) {
                word(FW_NORMAL);
                bytes_.push_back(0);
                bytes_.push_back(DEFAULT_CHARSET);
            }
            str(face_);
        }
        for (const auto& it : items_) {
            while (bytes_.size() % 4) bytes_.push_back(0);
            if (extended_) {
                dword(0);
                dword(it.exStyle);
                dword(it.style);
            } else {
                dword(it.style);
                dword(it.exStyle);
            }
            word(static_cast<WORD>(it.x));
            word(static_cast<WORD>(it.y));
            word(static_cast<WORD>(it.cx));
            word(static_cast<WORD>(it.cy));
            if (extended_)
                dword(it.id);
            else
                word(static_cast<WORD>(it.id));
            if (it.ordinal) {
                word(0xFFFF);
                word(it.ordinal);
            } else {
                str(it.className);
            }
            str(it.text);
            word(0);
        }
        while (bytes_.size() % 4) bytes_.push_back(0);
        return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data());
    }

private:
    struct Item {
        WORD ordinal;
        std::string className, text;
        DWORD id, style, exStyle;
        short x, y, cx, cy;
    };
    void word(WORD w) {
        bytes_.push_back(static_cast<unsigned char>(w & 0xFF));
        bytes_.push_back(static_cast<unsigned char>(w >> 8));
    }
    void dword(DWORD d) {
        word(static_cast<WORD>(d & 0xFFFF));
        word(static_cast<WORD>(d >> 16));
    }
    void str(const std::string& s) {
        for (unsigned char c : s) word(c);
        word(0);
    }

    DWORD style_;
    short x_, y_, cx_, cy_;
    std::string title_;
    bool extended_;
    WORD points_ = 8;
    std::string face_;
    std::vector<Item> items_;
    std::vector<unsigned char> bytes_;
};

enum : WORD { kButton = 0x80, kEdit = 0x81, kStatic = 0x82, kListBox = 0x83, kComboBox = 0x85 };
