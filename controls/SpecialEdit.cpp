#include "controls/SpecialEdit.h"

#include <afxole.h>

BEGIN_MESSAGE_MAP(CSpecialEdit, CEdit)
ON_WM_CHAR()
END_MESSAGE_MAP()

bool CSpecialEdit::IsAllowed(char c) const {
    if (c == 8 || c == 10 || c == 13) return true;
    return !m_format || m_format->IsValidChar(c);
}

void CSpecialEdit::OnChar(UINT nChar, UINT, UINT) {
    if (GetKeyState(VK_CONTROL) & 0x8000) {
        // the shortcuts' control codes are in no format, yet they must keep working
        UINT command = nChar == 3 ? WM_COPY : nChar == 22 ? WM_PASTE : nChar == 24 ? WM_CUT : nChar == 26 ? EM_UNDO : 0;
        if (command) {
            SendMessage(command, 0, 0);
            return;
        }
    }
    if (IsAllowed(static_cast<char>(nChar))) {
        Default();
        return;
    }
    MessageBeep(0xFFFFFFFF);
}

bool CSpecialEdit::IsPasteAllowed() const {
    COleDataObject data;
    if (!data.AttachClipboard()) return true; // a clipboard that cannot be opened does not block pasting
    bool allowed = false;
    if (data.IsDataAvailable(CF_TEXT)) {
        HGLOBAL memory = data.GetGlobalData(CF_TEXT);
        if (memory) {
            const char* text = static_cast<const char*>(GlobalLock(memory));
            if (text) {
                allowed = true;
                SIZE_T size = GlobalSize(memory); // never past the block, terminated or not
                for (SIZE_T i = 0; i < size && text[i]; ++i)
                    if (!IsAllowed(text[i])) {
                        allowed = false;
                        break;
                    }
                GlobalUnlock(memory);
            }
        }
    }
    data.Release();
    return allowed;
}

LRESULT CSpecialEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PASTE && !IsPasteAllowed()) {
        MessageBeep(0xFFFFFFFF);
        return 0;
    }
    return CEdit::WindowProc(message, wParam, lParam);
}
