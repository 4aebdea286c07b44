// The selection dialog: the catalog tree, a details area, two option check boxes and four
// buttons, in which the user picks catalog objects (address mode), one parameter (signal modes)
// or a predefined object, and which reports the choice to the host's listener. Modeless by
// default (it then deletes itself when its window goes), modal with flag 0x01.
#pragma once
#include "controls/Formats.h"
#include "controls/SpecialEdit.h"
#include "selection/CatalogTree.h"
#include "selection/MXSObject.h"

#include <afxcmn.h>
#include <afxwin.h>

#include <list>
#include <memory>
#include <string>
#include <vector>

class KMXSSelection;

// Posted to the dialog itself: the tree gets the keyboard focus once the dialog shows.
const UINT KMXS_FOCUS_TREE = WM_USER + 10;

class KMXSDialog : public CDialog, public KQRNFCatChangedSink {
public:
    KMXSDialog(unsigned long managerHandle, KMXSListener* listener, KMXSSessionState* state, unsigned flags,
               KMXSSelection* owner, CWnd* parent);
    ~KMXSDialog() override;

    BOOL DestroyWindow() override;
    // The catalog library's notification: the catalogs changed.
    void OnFCatChanged() override;

    // The array index dialog's result: the new parameter path (the name field follows it unless
    // the user edited the field by hand).
    void SetSignalName(const std::string& text);

    // The controls of template 19161.
    CButton okButton, cancelButton, applyButton, helpButton, showIdsCheck, showTooltipsCheck;
    CEdit hiddenEdit;
    CStatic detailsFrame, nameLabel, typeLabel, instanceFrame, instanceLabel, channelLabel;
    CButton detailsToggle;
    CEdit nameEdit, typeEdit;
    CSpecialEdit instanceEdit;
    CButton instanceCheck;
    CComboBox channelCombo, predefChannelCombo;
    CButton arrayButton;
    CComboBox filterCombo;

    unsigned long managerHandle;
    SECTreeCtrl tree;
    CToolTipCtrl toolTip;
    HTREEITEM lastTooltipRow = nullptr;
    bool layoutReady = false;
    bool skipNextClick = false;
    bool selectionUnlocked = true;
    bool detailsAllowed;
    bool detailsExpanded = true;
    int treeAreaHeight = 0;
    int detailsBandHeight = 0;
    int buttonBandHeight = 30;
    unsigned channelCount = 0;
    std::unique_ptr<IFormat> inputFormat;
    unsigned flags;
    KMXSSessionState* state;
    KMXSListener* listener;
    std::vector<KMXSObject> selectedObjects;
    bool modeless;
    KMXSSelection* owner;
    // The tree's rows, with the records and containers made while filling them.
    std::unique_ptr<KMXSCatalogTree> catalogTree;
    std::string parameterPath;
    std::list<KMXSPredefObjectCfg> predefinedObjects;
    bool closing = false;
    bool holdsHook = false; // counted among the users of the process-wide hook
    // What the details last made of the selected row, which a new layout must not undo.
    bool nameEditable = false;
    bool predefinedRowShown = false;

    bool SignalModes() const;
    bool AddressMode() const;
    bool FixedSignalMode() const;

    // Reports and the session state.
    bool IsSelectionAcceptable();
    void CollectSelection();
    void SaveSessionState();

    // Details area.
    void UpdateDetails(HTREEITEM row, bool acceptable);
    void RefreshAddressName(HTREEITEM row);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void PostNcDestroy() override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    virtual void OnClose();

    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnTreeDblClk(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnTreeClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnTreeSelChanged(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnTreeItemExpanding(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnApply();
    afx_msg void OnHelpButton();
    afx_msg void OnShowIds();
    afx_msg void OnDetailsToggle();
    afx_msg void OnArrayIndex();
    afx_msg void OnInstanceCheck();
    afx_msg void OnInstanceChange();
    afx_msg void OnFilterChange();
    afx_msg LRESULT OnFocusTree(WPARAM, LPARAM);
    afx_msg BOOL OnHelpInfo(HELPINFO* pHelpInfo);
    DECLARE_MESSAGE_MAP()

private:
    // The selection-changed handling: buttons, then the details.
    void SelectionChanged();
    // Runs the report steps (collect, complete from the details, tell the listener).
    void Report(bool final);
    void CompleteFromDetails();
    // The report of a predefined row; false when its configuration is not selectable.
    bool PredefinedObject(const KMXSTreeItem& item, KMXSObject& o) const;
    void CloseDialog(bool ok);
    void FillBoxes();
    void SetNameEditable(bool editable);
    void ShowChannelBoxFor(bool predefinedRow);
    void ShowToggleText();
    void PlaceButtons(int W, int H);
    void LayoutSignalModes(int W, int H);
    void LayoutAddressMode(int W, int H);
    // The instance part of an address name: ".0x" and the field's text, or ".*".
    std::string InstancePart() const;
    unsigned ReadInstance(bool* readable) const;
    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
};
