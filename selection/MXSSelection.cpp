#include "selection/MXSSelection.h"

#include "selection/SignalNames.h"

#include <Quarnel.h>

KMXSSelection::KMXSSelection() : managerHandle(gQRNFCatMngr()) {}

KMXSSelection::KMXSSelection(unsigned long handle) : managerHandle(handle) {}

bool KMXSSelection::IsSignalSelectableIntern(const std::string* signal, std::string* normalised) {
    if (!signal) return false;
    return CheckSignalName(gQRNFCatManager(static_cast<QRNHandle>(managerHandle)), *signal, normalised, keepFilter);
}

bool KMXSSelection::IsSignalSelectable(const std::string* signal) {
    std::string normalised;
    return IsSignalSelectableIntern(signal, &normalised);
}

bool KMXSSelection::SetPreSelectSignal(std::string* signal, unsigned int instance, unsigned int channel,
                                       std::string* valueText, bool) {
    std::string normalised;
    if (!signal || !IsSignalSelectableIntern(signal, &normalised)) return false;
    preChannel = channel;
    preInstance = instance;
    prePath = normalised;
    size_t dot = 0;
    for (int i = 0; i < 3; ++i) {
        dot = signal->find('.', i == 0 ? 1 : dot + 1);
        if (dot == std::string::npos) return false;
    }
    preParameter = signal->substr(dot + 1);
    if (valueText) preValueText = *valueText;
    preSelected = true;
    return true;
}

void KMXSSelection::SetPredefinedObjects(const std::list<KMXSPredefObjectCfg>& objects) {
    if (&objects == &predefinedObjects) return;
    predefinedObjects.clear();
    for (const auto& o : objects) predefinedObjects.push_back(o);
}

void KMXSSelection::ModelessDialogClosed() {
    modelessOpen = false;
    modelessDialog = nullptr;
}
