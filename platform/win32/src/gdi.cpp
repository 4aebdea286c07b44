// GDI subset: device contexts, stock and created objects, colours, and fonts with a fixed text
// metric (every character of a font is equally wide), so text layout is exact and repeatable.
#include "core.h"
#include <w32drv.h>

#include <algorithm>
#include <cstring>
#include <map>

namespace w32 {

namespace {

struct GdiObject {
    DWORD type = 0;
    LOGFONTA font{};
    LOGBRUSH brush{};
    COLORREF penColor = 0;
    int penStyle = PS_SOLID;
    int penWidth = 1;
    SIZE bitmap{};
    bool stock = false;
};

struct DcState {
    HGDIOBJ font, brush, pen, bitmap;
    COLORREF bk, text;
    int bkMode;
    POINT pos; // the current position (MoveToEx, LineTo)
};

struct Dc {
    HWND hwnd = nullptr;
    bool memory = false;
    DcState state{};
    std::vector<DcState> saved;
};

struct Gdi {
    std::map<UINT_PTR, GdiObject> objects;
    std::map<UINT_PTR, Dc> dcs;
    UINT_PTR next = 0x40000004;
    HGDIOBJ stock[20]{};
    HGDIOBJ defaultBitmap = nullptr; // a memory DC's own 1 x 1 bitmap
    HBRUSH sysBrushes[31]{};
    bool recording = false;
    std::vector<w32drv::Drawing> drawings;
};

Gdi& gdi() {
    static Gdi* g = new Gdi;
    return *g;
}

HGDIOBJ addObject(const GdiObject& o) {
    auto& g = gdi();
    UINT_PTR h = g.next;
    g.next += 4;
    g.objects[h] = o;
    return reinterpret_cast<HGDIOBJ>(h);
}

GdiObject* object(HGDIOBJ h) {
    auto& objs = gdi().objects;
    auto it = objs.find(reinterpret_cast<UINT_PTR>(h));
    return it == objs.end() ? nullptr : &it->second;
}

Dc* dc(HDC h) {
    auto& dcs = gdi().dcs;
    auto it = dcs.find(reinterpret_cast<UINT_PTR>(h));
    return it == dcs.end() ? nullptr : &it->second;
}

LOGFONTA makeFont(LONG height, const char* face) {
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return lf;
}

void initStock() {
    auto& g = gdi();
    if (g.stock[0]) return;
    auto brush = [](COLORREF c, UINT style) {
        GdiObject o;
        o.type = OBJ_BRUSH;
        o.brush = LOGBRUSH{style, c, 0};
        o.stock = true;
        return addObject(o);
    };
    auto pen = [](COLORREF c, int style) {
        GdiObject o;
        o.type = OBJ_PEN;
        o.penColor = c;
        o.penStyle = style;
        o.stock = true;
        return addObject(o);
    };
    auto font = [](LONG h, const char* face) {
        GdiObject o;
        o.type = OBJ_FONT;
        o.font = makeFont(h, face);
        o.stock = true;
        return addObject(o);
    };
    g.stock[WHITE_BRUSH] = brush(RGB(255, 255, 255), BS_SOLID);
    g.stock[LTGRAY_BRUSH] = brush(RGB(192, 192, 192), BS_SOLID);
    g.stock[GRAY_BRUSH] = brush(RGB(128, 128, 128), BS_SOLID);
    g.stock[DKGRAY_BRUSH] = brush(RGB(64, 64, 64), BS_SOLID);
    g.stock[BLACK_BRUSH] = brush(RGB(0, 0, 0), BS_SOLID);
    g.stock[NULL_BRUSH] = brush(0, BS_NULL);
    g.stock[WHITE_PEN] = pen(RGB(255, 255, 255), PS_SOLID);
    g.stock[BLACK_PEN] = pen(0, PS_SOLID);
    g.stock[NULL_PEN] = pen(0, PS_NULL);
    g.stock[OEM_FIXED_FONT] = font(12, "Terminal");
    g.stock[ANSI_FIXED_FONT] = font(12, "Courier");
    g.stock[ANSI_VAR_FONT] = font(12, "MS Sans Serif");
    g.stock[SYSTEM_FONT] = font(16, "System");
    g.stock[DEVICE_DEFAULT_FONT] = font(16, "System");
    g.stock[SYSTEM_FIXED_FONT] = font(16, "Fixedsys");
    g.stock[DEFAULT_GUI_FONT] = font(-11, "MS Shell Dlg");
    g.stock[DC_BRUSH] = brush(RGB(255, 255, 255), BS_SOLID);
    g.stock[DC_PEN] = pen(0, PS_SOLID);
    GdiObject one;
    one.type = OBJ_BITMAP;
    one.bitmap = SIZE{1, 1};
    one.stock = true;
    g.defaultBitmap = addObject(one);
}

// Cell height and character width of a font.
SIZE fontCell(HGDIOBJ font) {
    GdiObject* o = object(font);
    LONG h = o && o->type == OBJ_FONT ? o->font.lfHeight : 16;
    int cell = h < 0 ? (static_cast<int>(-h) * 13 + 5) / 11 : h > 0 ? static_cast<int>(h) : 16;
    if (cell < 1) cell = 1;
    int width = o && o->type == OBJ_FONT && o->font.lfWidth > 0 ? static_cast<int>(o->font.lfWidth) : (cell * 6 + 6) / 13;
    if (width < 1) width = 1;
    return SIZE{width, cell};
}

HDC newDc(HWND hwnd, bool memory) {
    initStock();
    auto& g = gdi();
    UINT_PTR h = g.next;
    g.next += 4;
    Dc d;
    d.hwnd = hwnd;
    d.memory = memory;
    HGDIOBJ bitmap = memory ? g.defaultBitmap : nullptr;
    d.state = DcState{g.stock[SYSTEM_FONT], g.stock[WHITE_BRUSH], g.stock[BLACK_PEN], bitmap,
                      RGB(255, 255, 255), RGB(0, 0, 0), OPAQUE, POINT{0, 0}};
    g.dcs[h] = d;
    return reinterpret_cast<HDC>(h);
}

const COLORREF kSysColors[31] = {
    RGB(200, 200, 200), RGB(0, 0, 0),       RGB(153, 180, 209), RGB(191, 205, 219), RGB(240, 240, 240),
    RGB(255, 255, 255), RGB(100, 100, 100), RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(0, 0, 0),
    RGB(180, 180, 180), RGB(244, 247, 252), RGB(171, 171, 171), RGB(0, 120, 215),   RGB(255, 255, 255),
    RGB(240, 240, 240), RGB(160, 160, 160), RGB(109, 109, 109), RGB(0, 0, 0),       RGB(0, 0, 0),
    RGB(255, 255, 255), RGB(105, 105, 105), RGB(227, 227, 227), RGB(0, 0, 0),       RGB(255, 255, 225),
    RGB(0, 0, 0),       RGB(0, 102, 204),   RGB(185, 209, 234), RGB(215, 228, 242), RGB(0, 120, 215),
    RGB(240, 240, 240)};

// The colour a brush paints: a brush handle or a system colour index + 1, as FillRect takes them.
COLORREF brushColor(HBRUSH brush) {
    auto value = reinterpret_cast<UINT_PTR>(brush);
    if (value >= 1 && value <= 31) return kSysColors[value - 1];
    GdiObject* o = object(brush);
    return o && o->type == OBJ_BRUSH && o->brush.lbStyle != BS_NULL ? o->brush.lbColor : CLR_NONE;
}

// Starts a drawing record on a DC, or returns null when not recording.
w32drv::Drawing* draw(HDC h, w32drv::Drawing::Kind kind) {
    auto& g = gdi();
    Dc* d = dc(h);
    if (!g.recording || !d) return nullptr;
    w32drv::Drawing r;
    r.kind = kind;
    r.dc = h;
    r.window = d->hwnd;
    g.drawings.push_back(r);
    return &g.drawings.back();
}

void drawText(HDC h, const char* text, int count, const RECT& rect) {
    w32drv::Drawing* r = draw(h, w32drv::Drawing::Text);
    if (!r) return;
    const DcState& s = dc(h)->state;
    r->rect = rect;
    r->color = s.text;
    r->back = s.bkMode == OPAQUE ? s.bk : CLR_NONE;
    if (text && count > 0) r->text.assign(text, static_cast<size_t>(count));
}

// What the DC's pen draws with: its colour and width.
void penOf(HDC h, w32drv::Drawing& r) {
    GdiObject* pen = object(dc(h)->state.pen);
    r.color = pen ? pen->penColor : 0;
    r.width = pen ? pen->penWidth : 1;
}

bool selectedSomewhere(HGDIOBJ obj) {
    for (const auto& entry : gdi().dcs) {
        const DcState& s = entry.second.state;
        if (s.font == obj || s.brush == obj || s.pen == obj || s.bitmap == obj) return true;
    }
    return false;
}

} // namespace

void recordDrawing(bool on) {
    auto& g = gdi();
    g.recording = on;
    if (on) g.drawings.clear();
}

std::vector<w32drv::Drawing> drawings() {
    return gdi().drawings;
}

w32drv::GdiObjects liveGdiObjects() {
    w32drv::GdiObjects n;
    for (const auto& entry : gdi().objects) {
        const GdiObject& o = entry.second;
        if (o.stock) continue;
        switch (o.type) {
        case OBJ_PEN: ++n.pens; break;
        case OBJ_BRUSH: ++n.brushes; break;
        case OBJ_BITMAP: ++n.bitmaps; break;
        case OBJ_FONT: ++n.fonts; break;
        default: break;
        }
    }
    n.dcs = static_cast<int>(gdi().dcs.size());
    return n;
}

SIZE textCellOf(HFONT font) {
    initStock();
    return fontCell(font ? font : gdi().stock[SYSTEM_FONT]);
}

} // namespace w32

using namespace w32;

extern "C" {

HDC WINAPI GetDC(HWND hwnd) {
    if (hwnd && !win(hwnd)) return nullptr;
    return newDc(hwnd, false);
}

HDC WINAPI GetWindowDC(HWND hwnd) { return GetDC(hwnd); }

int WINAPI ReleaseDC(HWND, HDC h) {
    Dc* d = dc(h);
    if (!d || d->memory) return 0;
    gdi().dcs.erase(reinterpret_cast<UINT_PTR>(h));
    return 1;
}

HDC WINAPI BeginPaint(HWND hwnd, LPPAINTSTRUCT paint) {
    Window* w = win(hwnd);
    if (!w || !paint) return nullptr;
    HDC h = newDc(hwnd, false);
    bool erase = w->needsErase;
    w->needsPaint = false;
    w->needsErase = false;
    std::memset(paint, 0, sizeof *paint);
    paint->hdc = h;
    GetClientRect(hwnd, &paint->rcPaint);
    paint->fErase = erase ? !send(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(h), 0) : FALSE;
    return h;
}

BOOL WINAPI EndPaint(HWND, const PAINTSTRUCT* paint) {
    if (paint) gdi().dcs.erase(reinterpret_cast<UINT_PTR>(paint->hdc));
    return TRUE;
}

HWND WINAPI WindowFromDC(HDC h) {
    Dc* d = dc(h);
    return d ? d->hwnd : nullptr;
}

HDC WINAPI CreateCompatibleDC(HDC) { return newDc(nullptr, true); }

BOOL WINAPI DeleteDC(HDC h) { return gdi().dcs.erase(reinterpret_cast<UINT_PTR>(h)) ? TRUE : FALSE; }

int WINAPI SaveDC(HDC h) {
    Dc* d = dc(h);
    if (!d) return 0;
    d->saved.push_back(d->state);
    return static_cast<int>(d->saved.size());
}

BOOL WINAPI RestoreDC(HDC h, int savedDc) {
    Dc* d = dc(h);
    if (!d || d->saved.empty()) return FALSE;
    size_t index = savedDc < 0 ? d->saved.size() + static_cast<size_t>(savedDc) : static_cast<size_t>(savedDc) - 1;
    if (index >= d->saved.size()) return FALSE;
    d->state = d->saved[index];
    d->saved.resize(index);
    return TRUE;
}

int WINAPI GetDeviceCaps(HDC, int index) {
    switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    case HORZRES: return GetSystemMetrics(SM_CXSCREEN);
    case VERTRES: return GetSystemMetrics(SM_CYSCREEN);
    case BITSPIXEL: return 32;
    default: return 0;
    }
}

HGDIOBJ WINAPI GetStockObject(int index) {
    initStock();
    if (index < 0 || index >= 20) return nullptr;
    return gdi().stock[index];
}

HGDIOBJ WINAPI SelectObject(HDC h, HGDIOBJ obj) {
    Dc* d = dc(h);
    GdiObject* o = object(obj);
    if (!d || !o) return nullptr;
    HGDIOBJ* slot = nullptr;
    switch (o->type) {
    case OBJ_FONT: slot = &d->state.font; break;
    case OBJ_BRUSH: slot = &d->state.brush; break;
    case OBJ_PEN: slot = &d->state.pen; break;
    case OBJ_BITMAP: slot = &d->state.bitmap; break;
    default: return nullptr;
    }
    HGDIOBJ old = *slot;
    *slot = obj;
    return old;
}

HGDIOBJ WINAPI GetCurrentObject(HDC h, UINT type) {
    Dc* d = dc(h);
    if (!d) return nullptr;
    switch (type) {
    case OBJ_FONT: return d->state.font;
    case OBJ_BRUSH: return d->state.brush;
    case OBJ_PEN: return d->state.pen;
    case OBJ_BITMAP: return d->state.bitmap;
    default: return nullptr;
    }
}

BOOL WINAPI DeleteObject(HGDIOBJ obj) {
    GdiObject* o = object(obj);
    if (!o) return FALSE;
    if (o->stock) return TRUE;
    if (selectedSomewhere(obj)) return FALSE; // as on Windows: the object stays
    gdi().objects.erase(reinterpret_cast<UINT_PTR>(obj));
    return TRUE;
}

int WINAPI GetObjectA(HGDIOBJ obj, int size, LPVOID buffer) {
    GdiObject* o = object(obj);
    if (!o) return 0;
    const void* src = nullptr;
    int n = 0;
    switch (o->type) {
    case OBJ_FONT: src = &o->font; n = sizeof(LOGFONTA); break;
    case OBJ_BRUSH: src = &o->brush; n = sizeof(LOGBRUSH); break;
    default: return 0;
    }
    if (!buffer) return n;
    n = std::min(n, size);
    if (n > 0) std::memcpy(buffer, src, static_cast<size_t>(n));
    return n;
}

DWORD WINAPI GetObjectType(HGDIOBJ obj) {
    if (dc(reinterpret_cast<HDC>(obj))) return OBJ_DC;
    GdiObject* o = object(obj);
    return o ? o->type : 0;
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
    GdiObject o;
    o.type = OBJ_BRUSH;
    o.brush = LOGBRUSH{BS_SOLID, color, 0};
    return reinterpret_cast<HBRUSH>(addObject(o));
}

HBRUSH WINAPI CreateBrushIndirect(const LOGBRUSH* brush) {
    if (!brush) return nullptr;
    GdiObject o;
    o.type = OBJ_BRUSH;
    o.brush = *brush;
    return reinterpret_cast<HBRUSH>(addObject(o));
}

HPEN WINAPI CreatePen(int style, int width, COLORREF color) {
    GdiObject o;
    o.type = OBJ_PEN;
    o.penStyle = style;
    o.penWidth = std::max(1, width);
    o.penColor = color;
    return reinterpret_cast<HPEN>(addObject(o));
}

HFONT WINAPI CreateFontIndirectA(const LOGFONTA* font) {
    if (!font) return nullptr;
    GdiObject o;
    o.type = OBJ_FONT;
    o.font = *font;
    return reinterpret_cast<HFONT>(addObject(o));
}

HFONT WINAPI CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                         DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                         DWORD quality, DWORD pitchAndFamily, LPCSTR faceName) {
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = static_cast<BYTE>(italic);
    lf.lfUnderline = static_cast<BYTE>(underline);
    lf.lfStrikeOut = static_cast<BYTE>(strikeOut);
    lf.lfCharSet = static_cast<BYTE>(charSet);
    lf.lfOutPrecision = static_cast<BYTE>(outPrecision);
    lf.lfClipPrecision = static_cast<BYTE>(clipPrecision);
    lf.lfQuality = static_cast<BYTE>(quality);
    lf.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
    if (faceName) std::strncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreateFontIndirectA(&lf);
}

HBITMAP WINAPI CreateCompatibleBitmap(HDC, int width, int height) {
    GdiObject o;
    o.type = OBJ_BITMAP;
    o.bitmap = SIZE{width, height};
    return reinterpret_cast<HBITMAP>(addObject(o));
}

COLORREF WINAPI SetBkColor(HDC h, COLORREF color) {
    Dc* d = dc(h);
    if (!d) return CLR_INVALID;
    COLORREF old = d->state.bk;
    d->state.bk = color;
    return old;
}

COLORREF WINAPI GetBkColor(HDC h) {
    Dc* d = dc(h);
    return d ? d->state.bk : CLR_INVALID;
}

COLORREF WINAPI SetTextColor(HDC h, COLORREF color) {
    Dc* d = dc(h);
    if (!d) return CLR_INVALID;
    COLORREF old = d->state.text;
    d->state.text = color;
    return old;
}

COLORREF WINAPI GetTextColor(HDC h) {
    Dc* d = dc(h);
    return d ? d->state.text : CLR_INVALID;
}

int WINAPI SetBkMode(HDC h, int mode) {
    Dc* d = dc(h);
    if (!d || (mode != OPAQUE && mode != TRANSPARENT)) return 0;
    int old = d->state.bkMode;
    d->state.bkMode = mode;
    return old;
}

int WINAPI GetBkMode(HDC h) {
    Dc* d = dc(h);
    return d ? d->state.bkMode : 0;
}

BOOL WINAPI GetTextExtentPoint32A(HDC h, LPCSTR text, int count, LPSIZE size) {
    Dc* d = dc(h);
    if (!d || !size || count < 0 || (count > 0 && !text)) return FALSE;
    SIZE cell = fontCell(d->state.font);
    size->cx = cell.cx * count;
    size->cy = cell.cy;
    return TRUE;
}

BOOL WINAPI GetTextMetricsA(HDC h, LPTEXTMETRICA tm) {
    Dc* d = dc(h);
    if (!d || !tm) return FALSE;
    SIZE cell = fontCell(d->state.font);
    GdiObject* f = object(d->state.font);
    std::memset(tm, 0, sizeof *tm);
    tm->tmHeight = cell.cy;
    tm->tmAscent = (cell.cy * 10 + 6) / 13;
    tm->tmDescent = cell.cy - tm->tmAscent;
    tm->tmInternalLeading = f && f->font.lfHeight < 0 ? cell.cy + f->font.lfHeight : (cell.cy + 6) / 13 * 2;
    if (tm->tmInternalLeading < 0) tm->tmInternalLeading = 0;
    tm->tmAveCharWidth = cell.cx;
    tm->tmMaxCharWidth = cell.cx;
    tm->tmWeight = f ? (f->font.lfWeight ? f->font.lfWeight : FW_NORMAL) : FW_NORMAL;
    tm->tmDigitizedAspectX = tm->tmDigitizedAspectY = 96;
    tm->tmFirstChar = 0x20;
    tm->tmLastChar = 0xFF;
    tm->tmDefaultChar = 0x1F;
    tm->tmBreakChar = 0x20;
    tm->tmPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    tm->tmCharSet = f ? f->font.lfCharSet : DEFAULT_CHARSET;
    return TRUE;
}

BOOL WINAPI TextOutA(HDC h, int x, int y, LPCSTR text, int count) {
    if (!dc(h)) return FALSE;
    drawText(h, text, count, RECT{x, y, x, y});
    return TRUE;
}

int WINAPI DrawTextA(HDC h, LPCSTR text, int count, LPRECT rect, UINT format) {
    Dc* d = dc(h);
    if (!d || !rect) return 0;
    if (count < 0) count = text ? static_cast<int>(std::strlen(text)) : 0;
    SIZE cell = fontCell(d->state.font);
    int lines = 1, longest = 0, current = 0;
    for (int i = 0; i < count; ++i) {
        if (text[i] == '\n' && !(format & DT_SINGLELINE)) {
            ++lines;
            longest = std::max(longest, current);
            current = 0;
        } else if (text[i] != '\r' && !(text[i] == '&' && !(format & DT_NOPREFIX))) {
            ++current;
        }
    }
    longest = std::max(longest, current);
    int width = longest * cell.cx;
    if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE)) {
        int avail = std::max<int>(1, (rect->right - rect->left) / cell.cx);
        if (longest > avail) {
            lines = lines - 1 + (longest + avail - 1) / avail;
            width = avail * cell.cx;
        }
    }
    int height = lines * cell.cy;
    if (format & DT_CALCRECT) {
        rect->right = rect->left + width;
        rect->bottom = rect->top + height;
    } else {
        drawText(h, text, count, *rect);
    }
    return height;
}

int WINAPI FillRect(HDC h, const RECT* rect, HBRUSH brush) {
    if (!dc(h) || !rect) return 0;
    if (auto* r = draw(h, w32drv::Drawing::Fill)) {
        r->rect = *rect;
        r->color = brushColor(brush);
    }
    return 1;
}

int WINAPI FrameRect(HDC h, const RECT*, HBRUSH) { return dc(h) ? 1 : 0; }

BOOL WINAPI Rectangle(HDC h, int left, int top, int right, int bottom) {
    Dc* d = dc(h);
    if (!d) return FALSE;
    if (auto* r = draw(h, w32drv::Drawing::Box)) {
        r->rect = RECT{left, top, right, bottom};
        penOf(h, *r);
        r->back = brushColor(static_cast<HBRUSH>(d->state.brush));
    }
    return TRUE;
}

BOOL WINAPI MoveToEx(HDC h, int x, int y, LPPOINT previous) {
    Dc* d = dc(h);
    if (!d) return FALSE;
    if (previous) *previous = d->state.pos;
    d->state.pos = POINT{x, y};
    return TRUE;
}

BOOL WINAPI LineTo(HDC h, int x, int y) {
    Dc* d = dc(h);
    if (!d) return FALSE;
    if (auto* r = draw(h, w32drv::Drawing::Line)) {
        r->rect = RECT{d->state.pos.x, d->state.pos.y, x, y};
        penOf(h, *r);
    }
    d->state.pos = POINT{x, y};
    return TRUE;
}

BOOL WINAPI BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, DWORD) {
    if (!dc(dst)) return FALSE;
    if (auto* r = draw(dst, w32drv::Drawing::Blit)) {
        r->rect = RECT{x, y, x + width, y + height};
        r->source = src;
        r->from = POINT{xSrc, ySrc};
    }
    return TRUE;
}

BOOL WINAPI DrawFocusRect(HDC h, const RECT* rect) {
    if (!dc(h) || !rect) return FALSE;
    if (auto* r = draw(h, w32drv::Drawing::FocusRect)) r->rect = *rect;
    return TRUE;
}
BOOL WINAPI DrawEdge(HDC h, LPRECT, UINT, UINT) { return dc(h) != nullptr; }
BOOL WINAPI DrawIconEx(HDC h, int, int, HICON, int, int, UINT, HBRUSH, UINT) { return dc(h) != nullptr; }

DWORD WINAPI GetSysColor(int index) {
    if (index < 0 || index > COLOR_MENUBAR) return 0;
    return kSysColors[index];
}

HBRUSH WINAPI GetSysColorBrush(int index) {
    if (index < 0 || index > COLOR_MENUBAR) return nullptr;
    auto& slot = gdi().sysBrushes[index];
    if (!slot) {
        GdiObject o;
        o.type = OBJ_BRUSH;
        o.brush = LOGBRUSH{BS_SOLID, kSysColors[index], 0};
        o.stock = true;
        slot = reinterpret_cast<HBRUSH>(addObject(o));
    }
    return slot;
}

int WINAPI GetSystemMetrics(int index) {
    switch (index) {
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN:
    case SM_CXVIRTUALSCREEN:
    case SM_CXMAXIMIZED: return 1920;
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN:
    case SM_CYMAXIMIZED: return 1080;
    case SM_CYFULLSCREEN: return 1080 - 23;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB: return 17;
    case SM_CYCAPTION: return 23;
    case SM_CYSMCAPTION: return 17;
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME:
    case SM_CYFRAME: return 4;
    case SM_CXEDGE:
    case SM_CYEDGE: return 2;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR: return 32;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    case SM_CYMENU: return 20;
    case SM_MOUSEPRESENT: return 1;
    case SM_CXMIN: return 136;
    case SM_CYMIN: return 39;
    case SM_CXSIZE:
    case SM_CYSIZE: return 36;
    case SM_CXMINTRACK: return 136;
    case SM_CYMINTRACK: return 39;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK: return 4;
    case SM_CMONITORS: return 1;
    default: return 0;
    }
}

BOOL WINAPI SystemParametersInfoA(UINT action, UINT, LPVOID value, UINT) {
    if (action == SPI_GETWORKAREA && value) {
        *static_cast<RECT*>(value) = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        return TRUE;
    }
    return FALSE;
}

} // extern "C"
