#include "controls/SpecialEdit.h"

#include <afxole.h>

namespace {

// The characters Ctrl with a letter types, and the edit commands they stand for.
const char kCtrlC = 'C' - '@', kCtrlV = 'V' - '@', kCtrlX = 'X' - '@', kCtrlZ = 'Z' - '@';
// GetKeyState: the key is held down.
const SHORT kKeyDownBit = static_cast<SHORT>(0x8000);
// MessageBeep: the simple beep of the speaker.
const UINT kSimpleBeep = 0xFFFFFFFF;

} // namespace

BEGIN_MESSAGE_MAP(CSpecialEdit, CEdit)
ON_WM_CHAR()
END_MESSAGE_MAP()

bool CSpecialEdit::IsAllowed(char c) const {
    if (c == '\b' || c == '\n' || c == '\r') return true;
    return !m_format || m_format->IsValidChar(c);
}

void CSpecialEdit::OnChar(UINT nChar, UINT, UINT) {
    if (GetKeyState(VK_CONTROL) & kKeyDownBit) {
        // the shortcuts' control codes are in no format, yet they must keep working
        UINT command = nChar == kCtrlC   ? WM_COPY
                       : nChar == kCtrlV ? WM_PASTE
                       : nChar == kCtrlX ? WM_CUT
                       : nChar == kCtrlZ ? EM_UNDO
                                         : 0;
        if (command) {
            SendMessage(command, 0, 0);
            return;
        }
    }
    if (IsAllowed(static_cast<char>(nChar))) {
        Default();
        return;
    }
    MessageBeep(kSimpleBeep);
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
    return allowed; // the data object frees its copy of the text when it goes
}

LRESULT CSpecialEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PASTE && !IsPasteAllowed()) {
        MessageBeep(kSimpleBeep);
        return 0;
    }
    return CEdit::WindowProc(message, wParam, lParam);
}
