// The selection dialog's details area: the channel and filter boxes, the selected parameter's
// name and type, the address name with its instance part, and the array index.
#include "selection/MXSDialog.h"

#include "base/LanguageResources.h"
#include "base/ProcessState.h"
#include "base/Strings.h"
#include "resources/resource.h"
#include "selection/ArrayIndexDialog.h"
#include "selection/ParameterTypeText.h"
#include "selection/SelectFlags.h"

#include <cstdio>

namespace {

const DWORD_PTR kAllChannels = 0xFFFF;

std::string windowText(const CWnd& w) {
    std::string text;
    w.GetWindowText(text);
    return text;
}

void selectByData(CComboBox& box, DWORD_PTR data) {
    for (int i = 0; i < box.GetCount(); ++i)
        if (box.GetItemData(i) == data) {
            box.SetCurSel(i);
            return;
        }
}

bool isWildcard(const std::string& instance) {
    return instance.find('*') != std::string::npos || EqualsNoCase(instance, "ff");
}

} // namespace

void KMXSDialog::FillBoxes() {
    for (unsigned n = 1; n <= channelCount; ++n) {
        char text[32];
        std::snprintf(text, sizeof text, "MOST %u", n);
        channelCombo.SetItemData(channelCombo.AddString(text), n);
        predefChannelCombo.SetItemData(predefChannelCombo.AddString(text), n);
    }
    channelCombo.SetCurSel(channelCombo.AddString("MOST all"));
    channelCombo.SetItemData(channelCombo.GetCurSel(), kAllChannels);
    detailsExpanded = state->detailsExpanded;
    selectByData(channelCombo, state->channel);
    unsigned predef = state->predefChannel;
    if (predef < 1 || predef > channelCount) predef = 1;
    selectByData(predefChannelCombo, predef);

    KProcessState& process = ProcessState();
    const bool attributeVariant = (flags & kSelectNoInstanceRow) != 0;
    filterCombo.AddString(LoadResourceText(IDS_FILTER_ALL).c_str());
    filterCombo.AddString(LoadResourceText(attributeVariant ? IDS_FILTER_ATTRIBUTE : IDS_FILTER_KIND).c_str());
    const bool on = attributeVariant ? state->filterChoiceAlt : state->filterChoice;
    filterCombo.SetCurSel(on ? 1 : 0);
    (attributeVariant ? process.attributeFilter : process.kindFilter) = on;
}

void KMXSDialog::OnFilterChange() {
    KProcessState& process = ProcessState();
    const bool on = filterCombo.GetCurSel() != 0;
    ((flags & kSelectNoInstanceRow) ? process.attributeFilter : process.kindFilter) = on;
    CWaitCursor wait;
    SaveSessionState();
    if (catalogTree) catalogTree->RebuildTree();
    SelectionChanged(); // the buttons and details follow what the rebuild left selected
    tree.SetFocus();
}

void KMXSDialog::UpdateDetails(HTREEITEM row, bool acceptable) {
    KMXSTreeItem* item = row && catalogTree ? catalogTree->ItemOf(row) : nullptr;
    if (!item) {
        nameEdit.SetWindowText("");
        typeEdit.SetWindowText("");
        SetNameEditable(false);
        instanceEdit.SetReadOnly(TRUE);
        arrayButton.EnableWindow(FALSE);
        instanceCheck.EnableWindow(FALSE);
        return;
    }
    if (item->predefined) {
        std::string name;
        for (const auto& cfg : catalogTree->predefinedObjects)
            if (cfg.id == item->predefinedId && cfg.isSelectable) name = cfg.name;
        nameEdit.SetWindowText(name);
        typeEdit.SetWindowText("");
        SetNameEditable(false);
        instanceEdit.SetReadOnly(TRUE);
        arrayButton.EnableWindow(FALSE);
        ShowChannelBoxFor(true);
        return;
    }
    ShowChannelBoxFor(false);
    instanceEdit.SetReadOnly(FALSE);
    if (!item->node) {
        arrayButton.EnableWindow(FALSE);
        nameEdit.SetWindowText("");
        typeEdit.SetWindowText("");
        return;
    }
    typeEdit.SetWindowText(BuildParameterTypeText(item->node));
    const std::string path = item->node->GetPath();
    if (acceptable) {
        if (!FixedSignalMode()) {
            nameEdit.SetWindowText(path);
            parameterPath = path;
        }
        SetNameEditable(state->textEditable && !(flags & kSelectNoInstanceRow));
        const std::string name = windowText(nameEdit);
        size_t open = name.find('['), close = name.find(']');
        arrayButton.EnableWindow(!FixedSignalMode() && open != std::string::npos && close != std::string::npos &&
                                 open < close);
    } else {
        nameEdit.SetWindowText(path);
        SetNameEditable(false);
        arrayButton.EnableWindow(FALSE);
    }
}

void KMXSDialog::SetNameEditable(bool editable) {
    nameEditable = editable;
    nameEdit.SetReadOnly(!editable);
}

// Catalog objects and predefined objects have channel boxes of their own; either shows only
// while the layout shows the instance and channel row.
void KMXSDialog::ShowChannelBoxFor(bool predefinedRow) {
    predefinedRowShown = predefinedRow;
    const bool rowShown = detailsExpanded && !(flags & kSelectNoInstanceRow);
    channelCombo.ShowWindow(rowShown && !predefinedRow ? SW_SHOW : SW_HIDE);
    predefChannelCombo.ShowWindow(rowShown && predefinedRow ? SW_SHOW : SW_HIDE);
}

std::string KMXSDialog::InstancePart() const {
    std::string instance = windowText(instanceEdit);
    return !instance.empty() && instance.find('*') == std::string::npos ? ".0x" + instance : ".*";
}

void KMXSDialog::RefreshAddressName(HTREEITEM row) {
    KMXSTreeItem* item = row && catalogTree ? catalogTree->ItemOf(row) : nullptr;
    if (!item) {
        nameEdit.SetWindowText("");
        typeEdit.SetWindowText("");
        nameEdit.SetReadOnly(TRUE);
        instanceEdit.SetReadOnly(TRUE);
        arrayButton.EnableWindow(FALSE);
        instanceCheck.EnableWindow(FALSE);
        return;
    }
    if (item->predefined || item->node ||
        (item->level != KMXSTreeItem::kFBlock && item->level != KMXSTreeItem::kFunction &&
         item->level != KMXSTreeItem::kOpType)) {
        nameEdit.SetWindowText("");
        instanceEdit.SetReadOnly(TRUE);
        instanceCheck.EnableWindow(FALSE);
        return;
    }
    instanceCheck.EnableWindow(TRUE);
    instanceEdit.SetReadOnly(FALSE);
    const bool withInstance = instanceCheck.GetCheck() == BST_CHECKED;
    instanceEdit.EnableWindow(withInstance);
    std::string name = item->fblock + (withInstance ? InstancePart() : "");
    if (item->level >= KMXSTreeItem::kFunction) name += "." + item->function;
    if (item->level == KMXSTreeItem::kOpType) name += "." + item->opType;
    nameEdit.SetWindowText(name);
}

void KMXSDialog::OnInstanceCheck() {
    std::string name = windowText(nameEdit);
    if (name.empty()) return;
    const size_t dot = name.find('.');
    // the button has toggled already: its new state says what to do
    if (instanceCheck.GetCheck() == BST_CHECKED) {
        std::string head = dot == std::string::npos ? name : name.substr(0, dot);
        std::string rest = dot == std::string::npos ? std::string() : name.substr(dot);
        name = head + InstancePart() + rest;
        instanceEdit.EnableWindow(TRUE);
    } else {
        if (dot != std::string::npos) {
            size_t second = name.find('.', dot + 1);
            name.erase(dot, second == std::string::npos ? std::string::npos : second - dot);
        }
        instanceEdit.EnableWindow(FALSE);
    }
    nameEdit.SetWindowText(name);
}

void KMXSDialog::OnInstanceChange() {
    if (!AddressMode() || !(flags & kSelectDetails)) return;
    std::string name = windowText(nameEdit);
    const size_t dot = name.find('.');
    if (dot == std::string::npos) return;
    std::string instance = windowText(instanceEdit);
    const bool wildcard = isWildcard(instance);
    if (wildcard && instance.size() > 1) {
        instanceEdit.SetWindowText("*"); // comes back here with "*"
        return;
    }
    const std::string part = wildcard || instance.empty() ? ".*" : ".0x" + instance;
    const size_t second = name.find('.', dot + 1);
    name = name.substr(0, dot) + part + (second == std::string::npos ? std::string() : name.substr(second));
    nameEdit.SetWindowText(name);
}

void KMXSDialog::OnArrayIndex() {
    KArrayIndexDialog dialog(parameterPath, this);
    dialog.DoModal();
}

void KMXSDialog::SetSignalName(const std::string& text) {
    if (windowText(nameEdit).substr(0, 512) == parameterPath) nameEdit.SetWindowText(text);
    parameterPath = text;
}
