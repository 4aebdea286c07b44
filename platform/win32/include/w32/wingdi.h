// GDI part of the subset: device contexts, fonts with a fixed text metric, brushes, pens,
// colours. Drawing calls are accepted and have no visible effect.
#pragma once
#include "wintypes.h"

#define RGB(r, g, b) ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(rgb) ((BYTE)(rgb))
#define GetGValue(rgb) ((BYTE)(((WORD)(rgb)) >> 8))
#define GetBValue(rgb) ((BYTE)((rgb) >> 16))
#define CLR_INVALID 0xFFFFFFFF

#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define OEM_FIXED_FONT 10
#define ANSI_FIXED_FONT 11
#define ANSI_VAR_FONT 12
#define SYSTEM_FONT 13
#define DEVICE_DEFAULT_FONT 14
#define DEFAULT_PALETTE 15
#define SYSTEM_FIXED_FONT 16
#define DEFAULT_GUI_FONT 17
#define DC_BRUSH 18
#define DC_PEN 19

#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_DC 3
#define OBJ_FONT 6
#define OBJ_BITMAP 7

#define TRANSPARENT 1
#define OPAQUE 2

#define BS_SOLID 0
#define BS_NULL 1
#define BS_HOLLOW BS_NULL
#define PS_SOLID 0
#define PS_NULL 5

#define LF_FACESIZE 32
#define FW_DONTCARE 0
#define FW_NORMAL 400
#define FW_BOLD 700
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define OUT_DEFAULT_PRECIS 0
#define CLIP_DEFAULT_PRECIS 0
#define DEFAULT_QUALITY 0
#define DEFAULT_PITCH 0
#define FIXED_PITCH 1
#define VARIABLE_PITCH 2
#define FF_DONTCARE 0x00
#define FF_SWISS 0x20

#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define LOGPIXELSX 88
#define LOGPIXELSY 90

#define DT_TOP 0x00000000
#define DT_LEFT 0x00000000
#define DT_CENTER 0x00000001
#define DT_RIGHT 0x00000002
#define DT_VCENTER 0x00000004
#define DT_BOTTOM 0x00000008
#define DT_WORDBREAK 0x00000010
#define DT_SINGLELINE 0x00000020
#define DT_EXPANDTABS 0x00000040
#define DT_NOCLIP 0x00000100
#define DT_CALCRECT 0x00000400
#define DT_NOPREFIX 0x00000800
#define DT_END_ELLIPSIS 0x00008000

#define SRCCOPY 0x00CC0020

typedef struct tagLOGFONTA {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    CHAR lfFaceName[LF_FACESIZE];
} LOGFONTA, *LPLOGFONTA;
typedef LOGFONTA LOGFONT;

typedef struct tagTEXTMETRICA {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    BYTE tmFirstChar;
    BYTE tmLastChar;
    BYTE tmDefaultChar;
    BYTE tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
} TEXTMETRICA, *LPTEXTMETRICA;
typedef TEXTMETRICA TEXTMETRIC;
typedef LPTEXTMETRICA LPTEXTMETRIC;

typedef struct tagLOGBRUSH {
    UINT lbStyle;
    COLORREF lbColor;
    ULONG_PTR lbHatch;
} LOGBRUSH, *LPLOGBRUSH;

W32API HDC WINAPI GetDC(HWND hwnd);
W32API HDC WINAPI GetWindowDC(HWND hwnd);
W32API int WINAPI ReleaseDC(HWND hwnd, HDC dc);
W32API HDC WINAPI BeginPaint(HWND hwnd, LPPAINTSTRUCT paint);
W32API BOOL WINAPI EndPaint(HWND hwnd, const PAINTSTRUCT* paint);
W32API HWND WINAPI WindowFromDC(HDC dc);
W32API HDC WINAPI CreateCompatibleDC(HDC dc);
W32API BOOL WINAPI DeleteDC(HDC dc);
W32API int WINAPI SaveDC(HDC dc);
W32API BOOL WINAPI RestoreDC(HDC dc, int savedDc);
W32API int WINAPI GetDeviceCaps(HDC dc, int index);

W32API HGDIOBJ WINAPI GetStockObject(int index);
W32API HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ obj);
W32API HGDIOBJ WINAPI GetCurrentObject(HDC dc, UINT type);
W32API BOOL WINAPI DeleteObject(HGDIOBJ obj);
W32API int WINAPI GetObjectA(HGDIOBJ obj, int size, LPVOID buffer);
W32API DWORD WINAPI GetObjectType(HGDIOBJ obj);
W32API HBRUSH WINAPI CreateSolidBrush(COLORREF color);
W32API HBRUSH WINAPI CreateBrushIndirect(const LOGBRUSH* brush);
W32API HPEN WINAPI CreatePen(int style, int width, COLORREF color);
W32API HFONT WINAPI CreateFontIndirectA(const LOGFONTA* font);
W32API HFONT WINAPI CreateFontA(int height, int width, int escapement, int orientation, int weight,
                                DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                                DWORD outPrecision, DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily,
                                LPCSTR faceName);
W32API HBITMAP WINAPI CreateCompatibleBitmap(HDC dc, int width, int height);

W32API COLORREF WINAPI SetBkColor(HDC dc, COLORREF color);
W32API COLORREF WINAPI GetBkColor(HDC dc);
W32API COLORREF WINAPI SetTextColor(HDC dc, COLORREF color);
W32API COLORREF WINAPI GetTextColor(HDC dc);
W32API int WINAPI SetBkMode(HDC dc, int mode);
W32API int WINAPI GetBkMode(HDC dc);
W32API BOOL WINAPI GetTextExtentPoint32A(HDC dc, LPCSTR text, int count, LPSIZE size);
W32API BOOL WINAPI GetTextMetricsA(HDC dc, LPTEXTMETRICA metrics);
W32API BOOL WINAPI TextOutA(HDC dc, int x, int y, LPCSTR text, int count);
W32API int WINAPI DrawTextA(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format);
W32API int WINAPI FillRect(HDC dc, const RECT* rect, HBRUSH brush);
W32API int WINAPI FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
W32API BOOL WINAPI Rectangle(HDC dc, int left, int top, int right, int bottom);
W32API BOOL WINAPI MoveToEx(HDC dc, int x, int y, LPPOINT previous);
W32API BOOL WINAPI LineTo(HDC dc, int x, int y);
W32API BOOL WINAPI BitBlt(HDC dst, int x, int y, int cx, int cy, HDC src, int x1, int y1, DWORD rop);
W32API BOOL WINAPI DrawFocusRect(HDC dc, const RECT* rect);
W32API BOOL WINAPI DrawEdge(HDC dc, LPRECT rect, UINT edge, UINT flags);
W32API BOOL WINAPI DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT step, HBRUSH brush,
                              UINT flags);

#define GetObject GetObjectA
#define CreateFontIndirect CreateFontIndirectA
#define CreateFont CreateFontA
#define GetTextExtentPoint32 GetTextExtentPoint32A
#define GetTextMetrics GetTextMetricsA
#define TextOut TextOutA
#define DrawText DrawTextA
