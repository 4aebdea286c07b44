// The selection dialog's reports: what may be reported, the objects made of the selected rows,
// OK, Apply and double-click, and the session state the next dialog starts from.
#include "selection/MXSDialog.h"

#include "base/ProcessState.h"
#include "resources/resource.h"
#include "selection/SelectFlags.h"

#include <cstdio>
#include <cstring>

namespace {

const unsigned kAllInstances = 255;
const size_t kMaxSignalText = 511;

std::string windowText(const CWnd& w) {
    std::string text;
    w.GetWindowText(text);
    return text;
}

// The item data of a combo box's selected entry; 0 without one.
unsigned selectedData(const CComboBox& box) {
    int at = box.GetCurSel();
    return at < 0 ? 0 : static_cast<unsigned>(box.GetItemData(at));
}

} // namespace

bool KMXSDialog::IsSelectionAcceptable() {
    HTREEITEM row = tree.GetFirstSelectedItem();
    if (!row) return false;
    if (AddressMode()) return true;
    if (!SignalModes()) return false;
    KMXSTreeItem* item = catalogTree ? catalogTree->ItemOf(row) : nullptr;
    if (!item) return false;
    if (item->predefined) {
        if (!(flags & kSelectPredefined)) return false;
        for (const auto& cfg : catalogTree->predefinedObjects)
            if (cfg.id == item->predefinedId) return cfg.isSelectable;
        return false;
    }
    if (!item->node || item->node->IsAbstract()) return false;
    switch (item->node->GetType()) {
    case QRN_TYPE_BOOLEAN:
    case QRN_TYPE_BOOLFIELD:
    case QRN_TYPE_NUMBER:
    case QRN_TYPE_ENUM:
    case QRN_TYPE_BITFIELD: return true;
    case QRN_TYPE_STRING:
    case QRN_TYPE_RAWSTREAM: return (flags & kSelectStringsAndStreams) != 0;
    default: return false;
    }
}

void KMXSDialog::CollectSelection() {
    selectedObjects.clear();
    KQRNFCatManager* m = gQRNFCatManager(static_cast<QRNHandle>(managerHandle));
    if (AddressMode()) {
        for (HTREEITEM row = tree.GetFirstSelectedItem(); row; row = tree.GetNextSelectedItem(row)) {
            KMXSTreeItem* item = catalogTree->ItemOf(row);
            if (!item) continue;
            // a predefined row names no catalog object: it reports as itself, when selectable
            if (item->predefined) {
                if (KMXSObject o; PredefinedObject(*item, o)) selectedObjects.push_back(o);
                continue;
            }
            KMXSObject o;
            o.fcat = item->catalog;
            o.fblock = item->fblock;
            o.function = item->function;
            o.opType = item->opType;
            // with 0x08 FBlocks and functions stand for their OpTypes, catalogs for nothing
            if (!(flags & kSelectReportOpTypes) || item->level == KMXSTreeItem::kOpType) {
                selectedObjects.push_back(o);
                continue;
            }
            if (!m || item->level == KMXSTreeItem::kCatalog) continue;
            std::vector<std::string> functions;
            if (item->level == KMXSTreeItem::kFBlock)
                m->ListFunctionNames(functions, 0, item->catalog, item->fblock, static_cast<std::uint32_t>(item->instanceId));
            else
                functions.push_back(item->function);
            for (const auto& function : functions) {
                std::vector<std::string> opTypes;
                m->ListOpTypeNames(opTypes, 0, item->catalog, item->fblock, static_cast<std::uint32_t>(item->instanceId),
                                   function);
                for (const auto& opType : opTypes) {
                    KMXSObject each = o;
                    each.function = function;
                    each.opType = opType;
                    selectedObjects.push_back(each);
                }
            }
        }
    } else if (SignalModes()) {
        HTREEITEM row = tree.GetFirstSelectedItem();
        KMXSTreeItem* item = row && catalogTree ? catalogTree->ItemOf(row) : nullptr;
        if (item && item->predefined) {
            if (KMXSObject o; PredefinedObject(*item, o)) selectedObjects.push_back(o);
        } else if (item && item->container && item->node) {
            KMXSObject o;
            // the name field follows the selected row only where the details are refreshed; elsewhere
            // it may still hold an earlier row's name
            const bool nameFollowsRow = (flags & kSelectDetails) || FixedSignalMode();
            std::string name = nameFollowsRow ? windowText(nameEdit).substr(0, kMaxSignalText) : std::string();
            if (name.empty()) {
                name = item->node->GetPath();
                nameEdit.SetWindowText(name);
            }
            o.signalText = name;
            KQRNMessageContainer* c = item->container;
            o.fcat = c->GetCatalogName();
            o.fblock = c->GetFBlockName();
            o.function = c->GetFunctionName();
            o.opType = c->GetOpTypeName();
            o.parameterPath = item->node->GetPath();
            if (m)
                m->GetParameterName(o.parameterName, 0, o.fcat, c->GetFBlockId(), QRN_ANY_INSTANCE, c->GetFunctionId(),
                                    c->GetOpTypeId(), o.parameterPath);
            o.extraText = item->node->GetExtraText();
            o.typeCode = static_cast<unsigned>(item->node->GetType());
            selectedObjects.push_back(o);
        }
    }
    LastDialogState() = *state;
}

bool KMXSDialog::PredefinedObject(const KMXSTreeItem& item, KMXSObject& o) const {
    for (const auto& cfg : catalogTree->predefinedObjects)
        if (cfg.id == item.predefinedId && cfg.isSelectable) {
            o.predefined = true;
            o.predefinedId = cfg.id;
            o.signalText = cfg.name;
            return true;
        }
    return false;
}

unsigned KMXSDialog::ReadInstance(bool* readable) const {
    std::string text = windowText(instanceEdit).substr(0, 9);
    if (text.find('*') != std::string::npos) {
        *readable = true;
        return kAllInstances;
    }
    unsigned value = 0;
    *readable = std::sscanf(text.c_str(), "%x", &value) == 1;
    return *readable ? value : 0;
}

void KMXSDialog::CompleteFromDetails() {
    if (selectedObjects.empty()) return;
    if (!SignalModes() && !(AddressMode() && (flags & kSelectDetails))) return;
    KMXSObject& first = selectedObjects.front();
    bool readable = false;
    first.instance = ReadInstance(&readable);
    // an empty field is the wildcard the address name shows for it (".*"), not instance 0
    if (AddressMode() && windowText(instanceEdit).empty()) first.instance = kAllInstances;
    if (instanceCheck.m_hWnd && instanceCheck.IsWindowVisible()) first.instanceChecked = instanceCheck.GetCheck() == BST_CHECKED;
    first.channel = first.predefined ? selectedData(predefChannelCombo) : selectedData(channelCombo);
}

void KMXSDialog::Report(bool final) {
    CollectSelection();
    CompleteFromDetails();
    if (listener) listener->OnObjectsSelected(selectedObjects, final);
}

void KMXSDialog::OnOK() {
    SaveSessionState();
    if (IsSelectionAcceptable()) Report(true);
    CloseDialog(true);
}

void KMXSDialog::OnApply() {
    if (!IsSelectionAcceptable() && !FixedSignalMode()) return;
    Report(false);
    if (AddressMode() && !(flags & kSelectDetails)) tree.DeselectAll();
}

void KMXSDialog::OnTreeDblClk(NMHDR*, LRESULT* pResult) {
    *pResult = 0;
    HTREEITEM row = tree.GetFirstSelectedItem();
    // a double click on a parent row only opens or closes it
    if (!row || tree.ItemHasChildren(row)) return;
    if (FixedSignalMode()) {
        if (catalogTree && catalogTree->lockedRow) tree.SelectItem(catalogTree->lockedRow);
    } else if (IsSelectionAcceptable()) {
        Report(false);
        tree.DeselectAll();
    }
    skipNextClick = true;
}

void KMXSDialog::SaveSessionState() {
    KProcessState& process = ProcessState();
    state->visibleRowPaths.clear();
    HTREEITEM first = tree.GetFirstVisibleItem();
    UINT count = tree.GetVisibleCount();
    HTREEITEM row = first;
    for (UINT i = 0; row && i < count; ++i, row = tree.GetNextVisibleItem(row))
        if (KMXSTreeItem* item = catalogTree ? catalogTree->ItemOf(row) : nullptr)
            state->visibleRowPaths.insert(KMXSCatalogTree::ItemPath(*item));
    KMXSTreeItem* top = first && catalogTree ? catalogTree->ItemOf(first) : nullptr;
    state->topRowPath = top ? KMXSCatalogTree::ItemPath(*top) : std::string();

    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (GetWindowPlacement(&placement)) {
        state->left = placement.rcNormalPosition.left;
        state->top = placement.rcNormalPosition.top;
        state->width = placement.rcNormalPosition.right - placement.rcNormalPosition.left;
        state->height = placement.rcNormalPosition.bottom - placement.rcNormalPosition.top;
    }
    state->showIds = showIdsCheck.GetCheck() == BST_CHECKED;
    state->showTooltips = showTooltipsCheck.GetCheck() == BST_CHECKED;
    process.showIds = state->showIds;
    process.showTooltips = state->showTooltips;
    if (SignalModes()) {
        state->detailsExpanded = detailsExpanded;
        bool readable = false;
        unsigned instance = ReadInstance(&readable);
        if (readable) state->instance = instance;
        state->channel = selectedData(channelCombo);
        state->predefChannel = selectedData(predefChannelCombo);
        state->filterChoiceAlt = process.attributeFilter;
    }
    state->selectPending = false;
    state->filterChoice = process.kindFilter;
    // only a dialog that showed the box from the state has a choice to save; the others would
    // wipe what an address dialog with details left there
    if (AddressMode() && detailsAllowed) state->instanceChecked = instanceCheck.GetCheck() == BST_CHECKED;
}
