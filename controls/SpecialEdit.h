// An edit field whose typed and pasted input is restricted by a character format.
#pragma once
#include "controls/Formats.h"

#include <afxwin.h>

class CSpecialEdit : public CEdit {
public:
    CSpecialEdit() = default;
    // The owner keeps the format and deletes it; without one every character is taken.
    void SetFormat(IFormat* format) { m_format = format; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    DECLARE_MESSAGE_MAP()

private:
    bool IsAllowed(char c) const;
    // All or nothing: the whole clipboard text must pass.
    bool IsPasteAllowed() const;

    IFormat* m_format = nullptr;
};
