#include "assist/MostFCatDlg.h"

#include "catalog/MostFCatContainer.h"
#include "base/LanguageResources.h"
#include "base/ProcessState.h"
#include "base/Strings.h"
#include "resources/resource.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace {

// The caret timer: a first look half a second after the dialog starts, then five times a second
// from when it shows.
const UINT_PTR kTimer = 1;
const UINT kFirstLookMs = 500;
const UINT kTickMs = 200;
const char* const kInstanceItem = "# (InstanceID)";
// GetKeyState: the key is held down.
const SHORT kKeyDownBit = static_cast<SHORT>(0x8000);
// The list below the edit field: a sorted drop-down list with a vertical scroll bar.
const DWORD kComboListStyle = WS_VSCROLL | WS_TABSTOP | CBS_SORT | CBS_DROPDOWNLIST;

std::string part(const std::string& text, int begin, int end) {
    int n = static_cast<int>(text.size());
    begin = std::max(0, std::min(begin, n));
    end = std::max(begin, std::min(end, n));
    return text.substr(static_cast<size_t>(begin), static_cast<size_t>(end - begin));
}

} // namespace

BEGIN_MESSAGE_MAP(KMostFCatDlg, CDialog)
ON_WM_SYSCOMMAND()
ON_WM_PAINT()
ON_EN_CHANGE(IDC_ADDRESS_EDIT, &KMostFCatDlg::OnAddressChange)
ON_WM_CTLCOLOR()
ON_WM_MOUSEMOVE()
ON_WM_SHOWWINDOW()
ON_WM_TIMER()
ON_WM_MOVING()
END_MESSAGE_MAP()

KMostFCatDlg::KMostFCatDlg(CWnd* pParent) : CDialog(IDD_INPUT_ASSISTANCE, pParent) {}

void KMostFCatDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ADDRESS_EDIT, addressEdit);
    DDX_Control(pDX, IDC_HINT_STATIC, hintStatic);
    DDX_Control(pDX, IDC_FORMAT_STATIC, formatStatic);
}

void KMostFCatDlg::SetParentBackground(CWnd* host) {
    CClientDC dc(host);
    COLORREF colour = dc.GetBkColor();
    backgroundBrush.DeleteObject();
    backgroundBrush.CreateSolidBrush(colour);
}

void KMostFCatDlg::SetAnchor(CWnd* host, int x, int y) {
    anchorX = x;
    anchorY = y;
    CWnd* measured = host ? host : this;
    CClientDC dc(measured);
    CFont* font = measured->m_hWnd ? measured->GetFont() : nullptr;
    if (font) dc.SelectObject(font);
    CSize size = dc.GetTextExtent(typedPrefix.empty() ? std::string("A") : typedPrefix);
    if (!typedPrefix.empty()) anchorX -= size.cx;
    anchorY += size.cy / 2;
}

BOOL KMostFCatDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText("MOST Input Assistance");
    fblockEntry.reset();
    functionEntry.reset();
    opTypeEntry.reset();
    parameters = nullptr;
    listMode = kNoList;
    lastSelection = 0;
    firstUpdate = true;
    comboList.Create(kComboListStyle, CRect(0, 0, 200, 8), this, IDC_COMBO_LIST);

    CRect window;
    GetWindowRect(&window);
    CRect edit;
    addressEdit.GetWindowRect(&edit);
    ScreenToClient(&edit);
    anchorY += 1 - edit.Height() / 2 - edit.top;
    anchorX = std::max(anchorX, 0);
    anchorY = std::max(anchorY, 0);
    int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    if (anchorX + window.Width() > screenWidth) anchorX = screenWidth - window.Width();
    if (anchorY + window.Height() > screenHeight) anchorY = screenHeight - window.Height();
    SetWindowPos(nullptr, anchorX, anchorY, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW);

    UpdateData(FALSE);
    addressEdit.SetWindowText(addressText);
    hintStatic.ModifyStyle(0, WS_BORDER, SWP_FRAMECHANGED);
    formatStatic.ModifyStyle(0, WS_BORDER, SWP_FRAMECHANGED);
    hintStatic.ShowWindow(SW_HIDE);
    comboList.ShowWindow(SW_HIDE);
    timerId = SetTimer(kTimer, kFirstLookMs);
    return FALSE;
}

void KMostFCatDlg::OnShowWindow(BOOL bShow, UINT nStatus) {
    CDialog::OnShowWindow(bShow, nStatus);
    if (bShow) timerId = SetTimer(kTimer, kTickMs);
}

void KMostFCatDlg::OnSysCommand(UINT nID, LPARAM lParam) { CDialog::OnSysCommand(nID, lParam); }

void KMostFCatDlg::OnPaint() {
    if (IsIconic()) {
        CPaintDC dc(this); // nothing to draw, but the request is answered
        return;
    }
    CDialog::OnPaint();
}

void KMostFCatDlg::OnAddressChange() { addressEdit.GetWindowText(addressText); }

HBRUSH KMostFCatDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT) {
    if (pWnd && (pWnd->m_hWnd == hintStatic.m_hWnd || pWnd->m_hWnd == formatStatic.m_hWnd))
        pDC->SetBkColor(GetSysColor(COLOR_INFOBK)); // the two hint lines look like tooltips
    return static_cast<HBRUSH>(backgroundBrush.GetSafeHandle());
}

void KMostFCatDlg::OnMouseMove(UINT nFlags, CPoint point) {
    if (nFlags == MK_LBUTTON) {
        // the dialog has no caption: it is dragged by any point of its surface
        ReleaseCapture();
        SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
        return;
    }
    CDialog::OnMouseMove(nFlags, point);
}

void KMostFCatDlg::OnMoving(UINT fwSide, LPRECT pRect) {
    CDialog::OnMoving(fwSide, pRect);
    if (comboList.IsDropDownVisible()) comboList.ShowDropDown(false);
}

void KMostFCatDlg::OnTimer(UINT_PTR) {
    if (caretInToken >= 0) {
        addressEdit.SetSel(caretInToken, caretInToken);
        caretInToken = -1;
    }
    CatchUp();
    HWND focus = ::GetFocus();
    HWND ok = ::GetDlgItem(m_hWnd, IDOK);
    if (focus != addressEdit.m_hWnd && focus != ok) addressEdit.SetFocus();
}

void KMostFCatDlg::CatchUp() {
    // the text counts too: a key deleted and another typed leave the caret where it was
    DWORD selection = addressEdit.GetSel();
    if (firstUpdate || selection != lastSelection || addressText != updatedText) {
        lastSelection = selection;
        updatedText = addressText;
        UpdateAssistance();
        firstUpdate = false;
    }
}

bool KMostFCatDlg::CaughtUpListOpen() {
    CatchUp();
    return comboList.IsDropDownVisible();
}

int KMostFCatDlg::CaretEnd() const { return static_cast<int>(HIWORD(addressEdit.GetSel())); }

void KMostFCatDlg::Hint(UINT text) {
    hintStatic.SetWindowText(LoadResourceText(text));
    hintStatic.ShowWindow(SW_SHOW);
}

void KMostFCatDlg::CloseList() {
    listMode = kNoList;
    comboList.ShowDropDown(false);
    lastSelection = addressEdit.GetSel();
}

void KMostFCatDlg::UpdateAssistance() {
    int fblockFormat = container ? container->GetFBlockFormat() : 0;
    int functionFormat = container ? container->GetFunctionFormat() : 0;
    int opTypeFormat = container ? container->GetOpTypeFormat() : 0;
    CaretPosition pos = LocateCaret(CaretEnd());
    if (pos != kCaretParameters) {
        std::string form = keywordMode ? " FBlockID.FunctionID.OpType"
                           : withInstance
                               ? " FBlockID.InstID.FunctionID.OpType(Parameter) - " + LoadResourceText(IDS_FORMAT_HELP_INSTANCE)
                               : " FBlockID.FunctionID.OpType(Parameter) - " + LoadResourceText(IDS_FORMAT_HELP);
        formatStatic.SetWindowText(form);
        formatStatic.ShowWindow(SW_SHOW);
        hintStatic.ShowWindow(SW_HIDE);
    }
    switch (pos) {
    case kCaretNothing:
    case kCaretFBlock: {
        int f = container ? container->GetFBlockFormat() : 0;
        if (f != fblockFormat) CloseList();
        ShowFBlockList(f);
        break;
    }
    case kCaretInstance: ShowInstanceList(); break;
    case kCaretFunction: {
        int f = container ? container->GetFunctionFormat() : 0;
        if (f != functionFormat) CloseList();
        ShowFunctionList(f);
        break;
    }
    case kCaretOpType: {
        int f = container ? container->GetOpTypeFormat() : 0;
        if (f != opTypeFormat) CloseList();
        ShowOpTypeList(f);
        break;
    }
    case kCaretParameters: ShowParameterInfo(); break;
    case kCaretInvalid:
        formatStatic.SetWindowText(LoadResourceText(IDS_ADDRESS_INVALID));
        formatStatic.ShowWindow(SW_SHOW);
        CloseList();
        break;
    case kCaretAfterList:
        hintStatic.ShowWindow(SW_HIDE);
        CloseList();
        break;
    }
}

void KMostFCatDlg::ShowCatalogList(const std::vector<ListEntry>* entries, bool refill, UINT emptyText) {
    if (refill && entries)
        for (const auto& e : *entries) comboList.AddString(e.text.c_str());
    if (comboList.GetCount() == 0) {
        Hint(emptyText);
        CloseList();
        return;
    }
    OpenListAt(BestMatch(), refill, false);
}

void KMostFCatDlg::ShowFBlockList(int format) {
    bool refill = listMode != kFBlockList;
    if (refill) {
        listMode = kFBlockList;
        comboList.ResetContent();
        if (!container) return;
        container->SetFBlockFormat(format);
    }
    ShowCatalogList(container ? &container->fblocks : nullptr, refill, IDS_NO_FBLOCK);
}

void KMostFCatDlg::ShowFunctionList(int format) {
    bool refill = listMode != kFunctionList;
    const std::vector<ListEntry>* entries = nullptr;
    if (refill) {
        listMode = kFunctionList;
        comboList.ResetContent();
        if (!container) return;
        if (!fblockEntry) {
            Hint(IDS_NO_FBLOCK);
            CloseList();
            return;
        }
        entries = &container->BuildFunctionList(*fblockEntry, format);
    }
    ShowCatalogList(entries, refill, IDS_NO_FUNCTION);
}

void KMostFCatDlg::ShowOpTypeList(int format) {
    bool refill = listMode != kOpTypeList;
    const std::vector<ListEntry>* entries = nullptr;
    if (refill) {
        listMode = kOpTypeList;
        comboList.ResetContent();
        if (!container) return;
        // the analysis resolves the levels in order; an entry missing above is no reason to crash
        if (!functionEntry || !fblockEntry) {
            Hint(!functionEntry ? IDS_NO_FUNCTION : IDS_NO_FBLOCK);
            CloseList();
            return;
        }
        entries = &container->BuildOpTypeList(*fblockEntry, *functionEntry, format);
    }
    ShowCatalogList(entries, refill, IDS_NO_OPTYPE);
}

void KMostFCatDlg::ShowInstanceList() {
    if (listMode == kInstanceList) return;
    listMode = kInstanceList;
    comboList.ResetContent();
    if (!container) return;
    if (!fblockEntry) {
        Hint(IDS_NO_FBLOCK);
        CloseList();
        return;
    }
    comboList.AddString(kInstanceItem);
    comboList.AddString("*");
    OpenListAt(0, true, false);
    hintStatic.SetWindowText(" InstanceID - 0..255 / 0x0..0xFF");
    hintStatic.ShowWindow(SW_SHOW);
}

int KMostFCatDlg::FirstItemStartingWith(const std::string& typed) const {
    // an item that begins as typed wins over one that differs only in letter case
    std::string item;
    for (bool exact : {true, false})
        for (int i = 0; i < comboList.GetCount(); ++i) {
            comboList.GetText(i, item);
            if (exact ? item.compare(0, typed.size(), typed) == 0 : StartsWithNoCase(item, typed)) return i;
        }
    return -1;
}

int KMostFCatDlg::BestMatch() const {
    int caret = CaretEnd();
    return FirstItemStartingWith(part(addressText, WordStart(addressText, caret), WordEnd(addressText, caret)));
}

int KMostFCatDlg::BestValueMatch() const {
    int caret = CaretEnd();
    return FirstItemStartingWith(
        Trim(part(addressText, ParameterStart(addressText, caret), ParameterEnd(addressText, caret)), " \t"));
}

void KMostFCatDlg::OpenListAt(int index, bool moving, bool parameterScanning) {
    int start = 0, end = 0;
    addressEdit.GetSel(start, end);
    if (moving) {
        int word = parameterScanning ? ParameterStart(addressText, end) : WordStart(addressText, end);
        addressEdit.SetSel(word, word, TRUE);
    }
    if (LOWORD(lastSelection) != HIWORD(lastSelection)) {
        comboList.ShowDropDown(false); // a selection in the field keeps the list away
    } else {
        if (moving) {
            CRect edit;
            addressEdit.GetWindowRect(&edit);
            ScreenToClient(&edit);
            int x = TextX(static_cast<int>(HIWORD(addressEdit.GetSel()))) + edit.left;
            int y = edit.top;
            CRect combo;
            comboList.GetWindowRect(&combo);
            if (x + combo.Width() > edit.right) x = edit.right - combo.Width();
            comboList.SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        comboList.SetCurSel(index);
        comboList.ShowDropDown(true);
        addressEdit.SetFocus();
    }
    if (moving) addressEdit.SetSel(start, end, TRUE);
}

int KMostFCatDlg::TextX(int index) {
    const LRESULT at = addressEdit.SendMessage(EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
    if (at != -1) return static_cast<short>(LOWORD(at));
    // the end of the text is no character, so the edit answers -1 there: the last one's right edge
    if (index == 0 || index > static_cast<int>(addressText.size())) {
        CRect format;
        addressEdit.SendMessage(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
        return format.left;
    }
    const LRESULT last = addressEdit.SendMessage(EM_POSFROMCHAR, static_cast<WPARAM>(index - 1), 0);
    CClientDC dc(&addressEdit);
    CFont* font = dc.SelectObject(addressEdit.GetFont());
    const int width = dc.GetTextExtent(addressText.c_str() + index - 1, 1).cx;
    dc.SelectObject(font);
    return static_cast<short>(LOWORD(last)) + width;
}

void KMostFCatDlg::ShowParameterInfo() {
    if (!opTypeEntry) {
        Hint(IDS_NO_OPTYPE);
        CloseList();
        return;
    }
    if (!functionEntry || !fblockEntry) {
        Hint(!functionEntry ? IDS_NO_FUNCTION : IDS_NO_FBLOCK);
        CloseList();
        return;
    }
    int caret = CaretEnd();
    int index = CountParameterIndex(part(addressText, 0, caret));
    size_t open = addressText.find('(');
    std::string text = part(addressText, static_cast<int>(open) + 1, ParameterEnd(addressText, caret));
    parameters = container ? &container->BuildParameterList(text, *fblockEntry, *functionEntry, *opTypeEntry) : nullptr;
    if (!parameters || parameters->empty()) {
        formatStatic.SetWindowText(LoadResourceText(IDS_NO_PARAMETERS));
        return;
    }
    std::string line = " ";
    bool tooMany = index > static_cast<int>(parameters->size());
    if (tooMany) {
        listMode = kTooMany;
        line += LoadResourceText(IDS_TOO_MANY_PARAMETERS);
    } else {
        for (size_t i = 0; i < parameters->size(); ++i) {
            const ListEntry& p = (*parameters)[i];
            line += p.text;
            if (i + 1 < parameters->size()) line += ", ";
            if (static_cast<int>(i) + 1 != index) continue;
            if (p.key >= 0) {
                ShowValueList(static_cast<int>(i), p.key);
                hintStatic.SetWindowText(" " + p.text + LoadResourceText(IDS_PARAMETER_TYPE) + GetParameterTypeName(p.key));
                hintStatic.ShowWindow(SW_SHOW);
            } else {
                hintStatic.ShowWindow(SW_HIDE);
            }
        }
        listMode = kValueList;
    }
    formatStatic.SetWindowText(line);
    formatStatic.ShowWindow(SW_SHOW);
    if (tooMany) {
        hintStatic.SetWindowText(LoadResourceText(IDS_BEYOND_PARAMETERS));
        hintStatic.ShowWindow(SW_HIDE);
    }
}

void KMostFCatDlg::ShowValueList(int index, int typeCode) {
    if (typeCode != QRN_TYPE_ENUM) {
        CloseList();
        return;
    }
    const std::vector<ListEntry>* values = container ? container->GetParameterValues(index) : nullptr;
    if (!values) return;
    comboList.ResetContent();
    const int digits = container->GetParameterCodeDigits(index);
    for (const auto& v : *values) {
        char code[16];
        std::snprintf(code, sizeof code, " (0x%0*X)", digits, static_cast<unsigned>(v.key));
        comboList.AddString((v.text + code).c_str());
    }
    bool moving = !(listMode == kValueList && ProcessState().lastValueListIndex == index);
    OpenListAt(BestValueMatch(), moving, true);
    ProcessState().lastValueListIndex = index;
}

void KMostFCatDlg::ApplyListItem() {
    int selected = comboList.GetCurSel();
    if (selected < 0) return;
    std::string item;
    comboList.GetText(selected, item);
    if (item != kInstanceItem) {
        int caret = CaretEnd();
        int begin, end;
        if (LocateCaret(caret) == kCaretParameters) {
            begin = ParameterStart(addressText, caret);
            end = ParameterEnd(addressText, caret);
            while (begin < caret && addressText[static_cast<size_t>(begin)] == ' ') ++begin;
            while (end > caret && addressText[static_cast<size_t>(end) - 1] == ' ') --end;
        } else {
            begin = WordStart(addressText, caret);
            end = WordEnd(addressText, caret);
        }
        std::string head = GetEntryHead(item);
        addressText = part(addressText, 0, begin) + head + part(addressText, end, static_cast<int>(addressText.size()));
        addressEdit.SetWindowText(addressText);
        int at = begin + static_cast<int>(head.size());
        addressEdit.SetSel(at, at);
    }
    // a list that took the focus with a click hands it back to the dialog as it goes, and the
    // dialog selects all of the field: the next key would replace the whole address
    const DWORD caret = addressEdit.GetSel();
    listMode = kNoList;
    comboList.ShowDropDown(false);
    addressEdit.SetSel(LOWORD(caret), HIWORD(caret));
    lastSelection = addressEdit.GetSel();
}

void KMostFCatDlg::MoveWordLeft() {
    int start = LOWORD(addressEdit.GetSel());
    int p = WordStart(addressText, start);
    if (p == start && start != 0) p = WordStart(addressText, start - 1);
    addressEdit.SetSel(p, p);
}

void KMostFCatDlg::MoveWordRight() {
    int start = LOWORD(addressEdit.GetSel());
    int p = WordEnd(addressText, start);
    if (p < static_cast<int>(addressText.size())) ++p;
    addressEdit.SetSel(p, p);
}

BOOL KMostFCatDlg::PreTranslateMessage(MSG* pMsg) {
    if (addressEdit.m_hWnd && pMsg->hwnd == addressEdit.m_hWnd) {
        bool open = comboList.IsDropDownVisible();
        bool shift = GetKeyState(VK_SHIFT) & kKeyDownBit;
        bool control = GetKeyState(VK_CONTROL) & kKeyDownBit;
        switch (pMsg->message) {
        case WM_KEYDOWN:
            switch (pMsg->wParam) {
            case VK_TAB:
                if (!shift) open = CaughtUpListOpen();
                if (open && !shift) {
                    ApplyListItem();
                    return TRUE;
                }
                break;
            case VK_RETURN:
                // before the first look nothing was offered: Return is OK for the line as it came
                // (the caret is only put back in place at that look)
                open = !firstUpdate && CaughtUpListOpen();
                if (open && comboList.GetCurSel() >= 0) {
                    ApplyListItem();
                    return TRUE;
                }
                break;
            case VK_ESCAPE:
                if (open) {
                    CloseList();
                    return TRUE;
                }
                break;
            case VK_PRIOR:
            case VK_NEXT:
            case VK_UP:
            case VK_DOWN:
                if (open && !shift) {
                    comboList.PostMessage(pMsg->message, pMsg->wParam, pMsg->lParam);
                    return TRUE;
                }
                break;
            case VK_LEFT:
                if (control) {
                    MoveWordLeft();
                    return TRUE;
                }
                break;
            case VK_RIGHT:
                if (control) {
                    MoveWordRight();
                    return TRUE;
                }
                break;
            case VK_F2:
                withInstance = !withInstance;
                CloseList();
                UpdateAssistance();
                break;
            }
            break;
        case WM_CHAR:
            // a separator applies the entry chosen for the text as typed, not for the text
            // of the last timer tick
            if (std::strchr("(),.", static_cast<int>(pMsg->wParam)) && pMsg->wParam != 0) open = CaughtUpListOpen();
            switch (pMsg->wParam) {
            case '"': OnOK(); return TRUE;
            case '(':
                if (listMode == kOpTypeList) ApplyListItem();
                break;
            case ')':
                if (open) ApplyListItem();
                OnOK();
                return TRUE;
            case ',':
                if (open && listMode == kValueList) ApplyListItem();
                break;
            case '.':
                if (open && (listMode == kFBlockList || listMode == kFunctionList)) ApplyListItem();
                break;
            }
            break;
        case WM_LBUTTONDOWN: KillTimer(kTimer); break;
        case WM_LBUTTONUP: timerId = SetTimer(kTimer, kTickMs); break;
        case WM_MOUSEWHEEL: comboList.PostMessage(pMsg->message, pMsg->wParam, pMsg->lParam); return TRUE;
        }
    } else if (pMsg->message == KCOMBOLIST_CLICKED) {
        if (comboList.IsDropDownVisible()) ApplyListItem();
    }
    return CDialog::PreTranslateMessage(pMsg);
}

UINT KMostFCatDlg::CheckParameters(int position) {
    int index = CountParameterIndex(part(addressText, 0, position));
    size_t open = addressText.find('(');
    std::string text = part(addressText, static_cast<int>(open) + 1, ParameterEnd(addressText, position));
    if (!opTypeEntry) return IDS_ASK_OPTYPE;
    if (!functionEntry) return IDS_ASK_FUNCTION;
    if (!fblockEntry) return IDS_ASK_FBLOCK;
    parameters = container ? &container->BuildParameterList(text, *fblockEntry, *functionEntry, *opTypeEntry) : nullptr;
    if (!parameters || parameters->empty()) return IDS_ASK_NO_PARAMETERS;
    if (index > static_cast<int>(parameters->size())) return IDS_ASK_TOO_MANY_PARAMETERS;
    if ((*parameters)[static_cast<size_t>(index) - 1].key < 0 && !text.empty())
        return IDS_ASK_PARAMETER_TEXT;
    // a value the catalog does not take would otherwise go out as 0 without a word
    if (container->refusedToken >= 0) return IDS_ASK_PARAMETER_TEXT;
    return 0;
}

int KMostFCatDlg::Ask(UINT text) {
    return MessageBox(LoadResourceText(text).c_str(), LoadResourceText(IDS_QUESTION_CAPTION).c_str(),
                      MB_YESNO | MB_ICONEXCLAMATION);
}

void KMostFCatDlg::OnOK() {
    int n = static_cast<int>(addressText.size());
    if (n > 0) {
        int p = addressText.back() == ')' ? n - 1 : n;
        if (p > 0) {
            addressEdit.SetSel(p, p);
            CloseList();
            CaretPosition pos = LocateCaret(p);
            UINT question = 0;
            switch (pos) {
            case kCaretFBlock:
            case kCaretInstance:
                if (!fblockEntry) question = IDS_ASK_FBLOCK;
                break;
            case kCaretFunction:
                if (!functionEntry) question = IDS_ASK_FUNCTION;
                break;
            case kCaretOpType:
                if (!opTypeEntry) question = IDS_ASK_OPTYPE;
                break;
            case kCaretParameters: question = CheckParameters(p); break;
            case kCaretInvalid: question = IDS_ASK_ADDRESS; break;
            default: break;
            }
            if (keywordMode && !question && pos < kCaretOpType) question = IDS_ASK_INCOMPLETE;
            if (question && Ask(question) == IDNO) {
                UpdateAssistance();
                return;
            }
        }
    }
    KillTimer(kTimer);
    CDialog::OnOK();
}

void KMostFCatDlg::OnCancel() {
    KillTimer(kTimer);
    CDialog::OnCancel();
}
