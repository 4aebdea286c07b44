// The selection dialog's layout: every control placed on each WM_SIZE by the mode, the details
// band and flag 0x800, and the details toggle that grows or shrinks the window by that band.
#include "selection/MXSDialog.h"

#include "base/LanguageResources.h"
#include "resources/resource.h"
#include "selection/SelectFlags.h"

#include <algorithm>

namespace {

const int kMinWidth = 350;
const int kButtonBand = 30;
const int kButtonHeight = 22;
const int kButtonWidth = 76;
const int kButtonPitch = 86;
const int kRowHeight = 22;
const int kLabelHeight = 17;
const int kMargin = 8;
const int kMinWindowHeight = 200;

int ownWidth(const CWnd& w) {
    CRect r;
    w.GetWindowRect(&r);
    return r.Width();
}

void place(CWnd& w, int x, int y, int width, int height) {
    w.SetWindowPos(nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void show(CWnd& w, bool visible) { w.ShowWindow(visible ? SW_SHOW : SW_HIDE); }

} // namespace

void KMXSDialog::OnSize(UINT nType, int cx, int cy) {
    CDialog::OnSize(nType, cx, cy);
    if (!layoutReady) return;
    hiddenEdit.ShowWindow(SW_HIDE);
    buttonBandHeight = kButtonBand;
    const int W = std::max(cx, kMinWidth);
    if (SignalModes())
        LayoutSignalModes(W, cy);
    else
        LayoutAddressMode(W, cy);
    Invalidate(TRUE);
}

// The bottom row, right to left: Help, Apply, Cancel, OK.
void KMXSDialog::PlaceButtons(int W, int H) {
    CWnd* const buttons[] = {&helpButton, &applyButton, &cancelButton, &okButton};
    for (int i = 0; i < 4; ++i) place(*buttons[i], W - 84 - i * kButtonPitch, H - kButtonBand, kButtonWidth, kButtonHeight);
}

void KMXSDialog::LayoutSignalModes(int W, int H) {
    const int R = W - kMargin;
    const bool noRow = (flags & kSelectNoInstanceRow) != 0;
    instanceCheck.ShowWindow(SW_HIDE);
    detailsBandHeight = noRow ? 114 : 168;
    if (detailsExpanded) {
        if (H - (noRow ? 182 : 236) < 100) H = noRow ? 282 : 336;
    } else if (H - 76 < 100) {
        H = 176;
    }
    PlaceButtons(W, H);

    const int B = noRow ? H - 30 : H - 84;
    const int optionTop = detailsExpanded ? B - 144 : H - 60;
    if (detailsExpanded)
        place(tree, kMargin, kMargin, R - kMargin, B - 160);
    else
        place(tree, kMargin, kMargin, R - kMargin, H - 76);
    place(showIdsCheck, kMargin, optionTop, ownWidth(showIdsCheck), kRowHeight);
    place(showTooltipsCheck, kMargin + ownWidth(showIdsCheck) + kMargin, optionTop, ownWidth(showTooltipsCheck),
          kRowHeight);
    place(detailsToggle, R - ownWidth(detailsToggle), optionTop, ownWidth(detailsToggle), kRowHeight);

    CWnd* details[] = {&filterCombo, &detailsFrame, &nameLabel, &arrayButton, &nameEdit, &typeLabel, &typeEdit};
    for (CWnd* w : details) show(*w, detailsExpanded);
    if (detailsExpanded) {
        place(filterCombo, kMargin, B - 114, R - kMargin, 52);
        filterCombo.EnableWindow(!FixedSignalMode());
        place(detailsFrame, kMargin, B - 84, R - kMargin, 76);
        const int L = ownWidth(nameLabel);
        place(nameLabel, 16, B - 63, L, kLabelHeight);
        const int arrayWidth = ownWidth(arrayButton);
        place(arrayButton, R - kMargin - arrayWidth, B - 68, arrayWidth, kRowHeight);
        // the fields start a margin after their labels, as in address mode, so no label covers them
        const int fieldLeft = 16 + L + kMargin;
        place(nameEdit, fieldLeft, B - 68, (R - kMargin - arrayWidth - kMargin) - fieldLeft, kRowHeight);
        place(typeLabel, 16, B - 33, L, kLabelHeight);
        place(typeEdit, fieldLeft, B - 38, (R - kMargin) - fieldLeft, kRowHeight);
    }
    const bool row = detailsExpanded && !noRow;
    CWnd* rowControls[] = {&instanceFrame, &instanceLabel, &instanceEdit, &channelLabel};
    for (CWnd* w : rowControls) show(*w, row);
    // the box and the name field stay as the selected row made them: a resize must not swap the
    // channel boxes under a predefined row nor take the name out of the user's hands
    ShowChannelBoxFor(predefinedRowShown);
    if (row) {
        place(instanceFrame, kMargin, H - 84, R - kMargin, 46);
        const int I = ownWidth(instanceLabel), J = ownWidth(instanceEdit), K = ownWidth(channelLabel);
        place(instanceLabel, 16, H - 63, I, kLabelHeight);
        place(instanceEdit, I + 24, H - 68, J, kRowHeight);
        place(channelLabel, I + J + 40, H - 63, K, kLabelHeight);
        const int boxWidth = ownWidth(channelCombo);
        // a margin between the channel label and its boxes
        place(channelCombo, I + J + K + 40 + kMargin, H - 68, boxWidth, 110);
        place(predefChannelCombo, I + J + K + 40 + kMargin, H - 68, boxWidth, 110);
        SetNameEditable(nameEditable);
    }
    if (noRow) channelCombo.EnableWindow(FALSE);
    treeAreaHeight = detailsExpanded ? B - 114 : H - 30;
}

void KMXSDialog::LayoutAddressMode(int W, int H) {
    const int R = W - kMargin;
    CWnd* signalOnly[] = {&filterCombo,  &typeLabel,    &typeEdit,           &arrayButton, &instanceFrame,
                          &instanceLabel, &channelLabel, &channelCombo, &predefChannelCombo};
    for (CWnd* w : signalOnly) w->ShowWindow(SW_HIDE);
    show(detailsToggle, detailsAllowed);
    detailsBandHeight = 76;
    const bool expanded = detailsAllowed && detailsExpanded;
    // the minimum leaves the tree some rows above an expanded details band
    const int minHeight = 120 + (expanded ? detailsBandHeight : 0);
    if (H < minHeight) H = minHeight;
    PlaceButtons(W, H);
    const int T = H - (expanded ? detailsBandHeight : 0) - 76;
    place(tree, kMargin, kMargin, R - kMargin, T - kMargin);
    place(showIdsCheck, kMargin, T + 8, ownWidth(showIdsCheck), kRowHeight);
    place(showTooltipsCheck, kMargin + ownWidth(showIdsCheck) + kMargin, T + 8, ownWidth(showTooltipsCheck), kRowHeight);
    place(detailsToggle, R - ownWidth(detailsToggle), T + 8, ownWidth(detailsToggle), kRowHeight);
    CWnd* details[] = {&detailsFrame, &nameLabel, &nameEdit, &instanceCheck, &instanceEdit};
    for (CWnd* w : details) show(*w, expanded);
    if (expanded) {
        place(detailsFrame, kMargin, T + 38, R - kMargin, 76);
        const int L = ownWidth(nameLabel);
        place(nameLabel, 16, T + 59, L, kLabelHeight);
        place(nameEdit, L + 24, T + 54, R - 16 - (L + 24), kRowHeight);
        nameEdit.SetReadOnly(TRUE);
        place(instanceCheck, 16, T + 84, L, kRowHeight);
        place(instanceEdit, L + 24, T + 84, ownWidth(instanceEdit), kRowHeight);
    }
    treeAreaHeight = T + 46;
}

void KMXSDialog::OnDetailsToggle() {
    CRect client;
    GetClientRect(&client);
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(&placement);
    RECT& normal = placement.rcNormalPosition;
    const int frameWidth = (normal.right - normal.left) - client.Width();
    const int frameHeight = (normal.bottom - normal.top) - client.Height();
    int height;
    detailsExpanded = !detailsExpanded;
    ShowToggleText();
    if (detailsExpanded) {
        height = std::max(frameHeight + kButtonBand + detailsBandHeight + treeAreaHeight, kMinWindowHeight);
    } else {
        height = frameHeight + kButtonBand + treeAreaHeight;
        if (height < kMinWindowHeight) height = frameHeight + kMinWindowHeight;
    }
    if (client.Width() < kMinWidth) normal.right = normal.left + kMinWidth + frameWidth;
    normal.bottom = normal.top + height;
    SetWindowPlacement(&placement);
}

// "<<" closes the details, ">>" opens them.
void KMXSDialog::ShowToggleText() {
    detailsToggle.SetWindowText((LoadResourceText(IDS_DETAILS) + (detailsExpanded ? " <<" : " >>")).c_str());
}
