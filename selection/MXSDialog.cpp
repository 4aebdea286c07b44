#include "selection/MXSDialog.h"

#include "base/LanguageResources.h"
#include "base/ProcessState.h"
#include "resources/resource.h"
#include "selection/FunctionInfoText.h"
#include "selection/MXSSelection.h"
#include "selection/SelectFlags.h"

#include <cstdio>

namespace {

// The tree: child, visible, border, tab stop; buttons, lines, lines at the root, selection always
// shown, info tips.
const DWORD kTreeStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES |
                         TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_INFOTIP;
const DWORD kTreeExStyle = 0x00900200;
const DWORD kTreeExStyleVariant = 0x00800200;
const UINT kTooltipDelayMs = 600;
const UINT kTooltipReshowMs = 2000;
const int kTooltipWidth = 300;
// The keyboard messages the hook hands to the dialog: WM_KEYDOWN to 0x0108.
const UINT kLastKeyMessage = 0x0108;

} // namespace

BEGIN_MESSAGE_MAP(KMXSDialog, CDialog)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_CLOSE()
ON_NOTIFY(NM_DBLCLK, IDC_TREE, &KMXSDialog::OnTreeDblClk)
ON_NOTIFY(NM_CLICK, IDC_TREE, &KMXSDialog::OnTreeClick)
ON_NOTIFY(TVN_SELCHANGEDA, IDC_TREE, &KMXSDialog::OnTreeSelChanged)
ON_NOTIFY(TVN_ITEMEXPANDINGA, IDC_TREE, &KMXSDialog::OnTreeItemExpanding)
ON_BN_CLICKED(IDC_APPLY, &KMXSDialog::OnApply)
ON_BN_CLICKED(IDC_HELP_BUTTON, &KMXSDialog::OnHelpButton)
ON_BN_CLICKED(IDC_SHOW_IDS, &KMXSDialog::OnShowIds)
ON_BN_CLICKED(IDC_DETAILS_TOGGLE, &KMXSDialog::OnDetailsToggle)
ON_BN_CLICKED(IDC_ARRAY_INDEX_BUTTON, &KMXSDialog::OnArrayIndex)
ON_BN_CLICKED(IDC_INSTANCE_CHECK, &KMXSDialog::OnInstanceCheck)
ON_EN_CHANGE(IDC_INSTANCE_EDIT, &KMXSDialog::OnInstanceChange)
ON_CBN_SELCHANGE(IDC_FILTER_COMBO, &KMXSDialog::OnFilterChange)
ON_MESSAGE(KMXS_FOCUS_TREE, &KMXSDialog::OnFocusTree)
ON_WM_HELPINFO()
END_MESSAGE_MAP()

KMXSDialog::KMXSDialog(unsigned long managerHandle, KMXSListener* listener, KMXSSessionState* state, unsigned flags,
                       KMXSSelection* owner, CWnd* parent)
    : CDialog(IDD_SELECTION, parent), managerHandle(managerHandle), detailsAllowed((flags & kSelectDetails) != 0),
      flags(flags), state(state), listener(listener), modeless(owner != nullptr), owner(owner) {}

KMXSDialog::~KMXSDialog() = default;

bool KMXSDialog::SignalModes() const { return (flags & (kSelectSignalMode | kSelectFixedSignal)) != 0; }
bool KMXSDialog::AddressMode() const { return (flags & kSelectAddressMode) != 0; }
bool KMXSDialog::FixedSignalMode() const { return (flags & kSelectFixedSignal) != 0; }

void KMXSDialog::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDOK, okButton);
    DDX_Control(pDX, IDCANCEL, cancelButton);
    DDX_Control(pDX, IDC_APPLY, applyButton);
    DDX_Control(pDX, IDC_HELP_BUTTON, helpButton);
    DDX_Control(pDX, IDC_SHOW_IDS, showIdsCheck);
    DDX_Control(pDX, IDC_SHOW_TOOLTIPS, showTooltipsCheck);
    DDX_Control(pDX, IDC_HIDDEN_EDIT, hiddenEdit);
    DDX_Control(pDX, IDC_DETAILS_FRAME, detailsFrame);
    DDX_Control(pDX, IDC_NAME_LABEL, nameLabel);
    DDX_Control(pDX, IDC_TYPE_LABEL, typeLabel);
    DDX_Control(pDX, IDC_INSTANCE_FRAME, instanceFrame);
    DDX_Control(pDX, IDC_INSTANCE_LABEL, instanceLabel);
    DDX_Control(pDX, IDC_CHANNEL_LABEL, channelLabel);
    DDX_Control(pDX, IDC_DETAILS_TOGGLE, detailsToggle);
    DDX_Control(pDX, IDC_NAME_EDIT, nameEdit);
    DDX_Control(pDX, IDC_TYPE_EDIT, typeEdit);
    DDX_Control(pDX, IDC_INSTANCE_EDIT, instanceEdit);
    DDX_Control(pDX, IDC_INSTANCE_CHECK, instanceCheck);
    DDX_Control(pDX, IDC_CHANNEL_COMBO, channelCombo);
    DDX_Control(pDX, IDC_PREDEF_CHANNEL_COMBO, predefChannelCombo);
    DDX_Control(pDX, IDC_ARRAY_INDEX_BUTTON, arrayButton);
    DDX_Control(pDX, IDC_FILTER_COMBO, filterCombo);
}

int KMXSDialog::OnCreate(LPCREATESTRUCTA lpCreateStruct) {
    if (CDialog::OnCreate(lpCreateStruct) == -1) return -1;
    if (HICON icon = ::LoadIconA(GetLanguageModule(), MAKEINTRESOURCEA(IDI_SELECTION)))
        SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    return 0;
}

BOOL KMXSDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    KProcessState& process = ProcessState();
    if (modeless) {
        // one hook serves every open modeless dialog (it hands the message to whichever has it);
        // a second one would run each key twice and outlive the slot that remembers it
        if (!process.selectionHook)
            process.selectionHook = ::SetWindowsHookExA(WH_GETMESSAGE, HookProc, nullptr, ::GetCurrentThreadId());
        ++process.selectionHookUsers;
        holdsHook = true;
    }
    const DWORD exStyle = (flags & kSelectTreeVariant) ? kTreeExStyleVariant : kTreeExStyle;
    if (flags & kSelectSignalMode) {
        SetWindowText(LoadResourceText(IDS_TITLE_SIGNAL).c_str());
    } else if (flags & kSelectFixedSignal) {
        SetWindowText(LoadResourceText(IDS_TITLE_FIXED_SIGNAL).c_str());
    }
    tree.Create(kTreeStyle, exStyle, CRect(8, 8, 100, 100), this, IDC_TREE);
    if (FixedSignalMode()) tree.SetBkColor(::GetSysColor(COLOR_BTNFACE));
    toolTip.Create(this);
    toolTip.Activate(TRUE);
    toolTip.SetDelayTime(TTDT_AUTOMATIC, static_cast<int>(kTooltipDelayMs));
    toolTip.SetDelayTime(TTDT_RESHOW, static_cast<int>(kTooltipReshowMs));
    toolTip.AddTool(&tree, "ToolTip");
    state->showIds = process.showIds;
    state->showTooltips = process.showTooltips;

    if (SignalModes() || (AddressMode() && detailsAllowed)) {
        inputFormat = std::make_unique<HexAndWildcardFormat>();
        instanceEdit.SetFormat(inputFormat.get());
        instanceEdit.LimitText(2);
        char text[16] = "*";
        if (state->instance != 255) std::snprintf(text, sizeof text, "%X", state->instance);
        instanceEdit.SetWindowText(text);
        if (AddressMode()) {
            instanceCheck.SetCheck(state->instanceChecked ? BST_CHECKED : BST_UNCHECKED);
            instanceEdit.EnableWindow(state->instanceChecked);
        }
    }
    if (SignalModes()) {
        FillBoxes();
        if (FixedSignalMode()) {
            parameterPath = state->parameterText;
            nameEdit.SetWindowText(state->valueText.empty() ? parameterPath : state->valueText);
        }
    }
    ShowToggleText(); // the template cannot know whether the details start open
    tree.SetDisabledColor(::GetSysColor(COLOR_GRAYTEXT));
    catalogTree = std::make_unique<KMXSCatalogTree>(tree, managerHandle, flags, *state);
    catalogTree->predefinedObjects = predefinedObjects;
    catalogTree->onPreSelected = [this](HTREEITEM row) { UpdateDetails(row, true); };
    catalogTree->onNothingPreSelected = [this] { UpdateDetails(nullptr, false); };
    catalogTree->RebuildTree();
    layoutReady = true;

    if (state->left == -1)
        SetWindowPos(nullptr, 0, 0, state->width, state->height, SWP_NOMOVE | SWP_NOZORDER);
    else
        SetWindowPos(nullptr, state->left, state->top, state->width, state->height, SWP_NOZORDER);
    showIdsCheck.SetCheck(state->showIds ? BST_CHECKED : BST_UNCHECKED);
    showTooltipsCheck.SetCheck(state->showTooltips ? BST_CHECKED : BST_UNCHECKED);
    SelectionChanged();
    Register(managerHandle);
    if (FixedSignalMode()) selectionUnlocked = false;
    PostMessage(KMXS_FOCUS_TREE, 0, 0);
    return TRUE;
}

LRESULT KMXSDialog::OnFocusTree(WPARAM, LPARAM) {
    tree.SetFocus();
    return 0;
}

void KMXSDialog::OnTreeItemExpanding(NMHDR* pNMHDR, LRESULT* pResult) {
    auto* nm = reinterpret_cast<NMTREEVIEWA*>(pNMHDR);
    if (catalogTree) catalogTree->OnItemExpanding(nm->itemNew.hItem, nm->action);
    *pResult = 0;
}

void KMXSDialog::OnTreeSelChanged(NMHDR*, LRESULT* pResult) {
    *pResult = 0;
    SelectionChanged();
}

void KMXSDialog::SelectionChanged() {
    if (!selectionUnlocked) {
        // fixed-signal mode: the selection always goes back to the locked row
        selectionUnlocked = true;
        if (catalogTree && catalogTree->lockedRow) tree.SelectItem(catalogTree->lockedRow);
        selectionUnlocked = false;
        return;
    }
    const bool acceptable = IsSelectionAcceptable();
    applyButton.EnableWindow(acceptable);
    okButton.EnableWindow(acceptable);
    HTREEITEM row = tree.GetFirstSelectedItem();
    if (!(flags & kSelectDetails) || !row) return;
    if (SignalModes())
        UpdateDetails(row, acceptable);
    else if (AddressMode())
        RefreshAddressName(row);
}

void KMXSDialog::OnTreeClick(NMHDR*, LRESULT* pResult) {
    *pResult = 0;
    if (FixedSignalMode()) {
        selectionUnlocked = false;
        if (catalogTree && catalogTree->lockedRow) tree.SelectItem(catalogTree->lockedRow);
        return;
    }
    if (skipNextClick) {
        skipNextClick = false;
        return;
    }
    if (!tree.GetFirstSelectedItem())
        if (HTREEITEM focused = tree.GetFocusedItem()) tree.SelectItem(focused);
}

BOOL KMXSDialog::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->hwnd == tree.m_hWnd && tree.m_hWnd) {
        if (pMsg->message == WM_MOUSEMOVE && showTooltipsCheck.GetCheck() == BST_CHECKED) {
            CPoint at(static_cast<SHORT>(LOWORD(pMsg->lParam)), static_cast<SHORT>(HIWORD(pMsg->lParam)));
            HTREEITEM row = tree.HitTest(at);
            if (row && row != lastTooltipRow) {
                lastTooltipRow = row;
                if (KMXSTreeItem* item = catalogTree ? catalogTree->ItemOf(row) : nullptr) {
                    std::string text;
                    if (item->predefined) {
                        for (const auto& cfg : predefinedObjects)
                            if (cfg.id == item->predefinedId) text = cfg.description;
                    } else {
                        text = BuildInfoText(*item, managerHandle);
                    }
                    toolTip.SetMaxTipWidth(kTooltipWidth);
                    toolTip.UpdateTipText(text, &tree);
                }
            }
            toolTip.RelayEvent(pMsg);
        }
        if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN) {
            OnOK();
            return TRUE;
        }
    }
    return CDialog::PreTranslateMessage(pMsg);
}

void KMXSDialog::OnShowIds() {
    CWaitCursor wait;
    state->showIds = showIdsCheck.GetCheck() == BST_CHECKED;
    if (catalogTree) catalogTree->Relabel();
}

void KMXSDialog::OnFCatChanged() {
    if (!catalogTree || !m_hWnd) return;
    catalogTree->RebuildTree();
    SelectionChanged(); // the buttons and details follow what the rebuild left selected
}

BOOL KMXSDialog::OnHelpInfo(HELPINFO*) {
    OnHelpButton();
    return TRUE;
}

void KMXSDialog::OnHelpButton() {
    if (listener) listener->OnHelp(1);
}

void KMXSDialog::CloseDialog(bool ok) {
    if (!modeless) {
        if (ok)
            CDialog::OnOK();
        else
            CDialog::OnCancel();
        return;
    }
    // modeless: OK or Cancel posts a close, which comes back as a Cancel that destroys the window
    if (closing) {
        DestroyWindow();
        return;
    }
    closing = true;
    PostMessage(WM_CLOSE, 0, 0);
}

void KMXSDialog::OnCancel() {
    SaveSessionState();
    CloseDialog(false);
}

void KMXSDialog::OnClose() { Default(); }

BOOL KMXSDialog::DestroyWindow() {
    if (modeless) {
        KProcessState& process = ProcessState();
        if (holdsHook && --process.selectionHookUsers == 0 && process.selectionHook) {
            ::UnhookWindowsHookEx(process.selectionHook);
            process.selectionHook = nullptr;
        }
        holdsHook = false;
        if (owner) owner->ModelessDialogClosed();
    }
    return CDialog::DestroyWindow();
}

void KMXSDialog::PostNcDestroy() {
    Unregister();
    catalogTree.reset(); // its records and containers with it
    inputFormat.reset();
    CDialog::PostNcDestroy();
    if (modeless) delete this;
}

LRESULT CALLBACK KMXSDialog::HookProc(int code, WPARAM wParam, LPARAM lParam) {
    HHOOK hook = ProcessState().selectionHook;
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg &&
        ((msg->message >= WM_KEYDOWN && msg->message <= kLastKeyMessage) || msg->message == WM_MOUSEMOVE)) {
        AFX_MANAGE_STATE(AfxGetStaticModuleState());
        // the dialog's keys must not reach the host's own handling a second time
        if (AfxPreTranslateMessage(msg) && msg->message != WM_MOUSEMOVE) {
            msg->message = WM_NULL;
            msg->wParam = 0;
            msg->lParam = 0;
        }
    }
    return ::CallNextHookEx(hook, code, wParam, lParam);
}
