// The records that pass between the selection dialog and the host: one chosen object, one
// predefined object, the listener interface, and the remembered state of a dialog. The host
// constructs, copies and reads them itself, so member order and types are fixed.
#pragma once
#include "base/PelorinApi.h"

#include <set>
#include <string>
#include <vector>

class PELORIN_API KMXSObject {
public:
    KMXSObject() = default;
    KMXSObject(const KMXSObject&) = default;
    KMXSObject& operator=(const KMXSObject&) = default;
    ~KMXSObject() = default;

    bool IsFCat() const;
    bool IsFBlock() const;
    bool IsFunction() const;
    bool IsOpType() const;
    bool IsParameter() const;

    bool predefined = false;
    // Meaningful only for predefined objects and parameters; zero rather than indeterminate so
    // that copying a fresh object reads defined values.
    unsigned int predefinedId = 0;
    std::string fcat;
    std::string fblock;
    std::string function;
    std::string opType;
    std::string parameterName;
    std::string parameterPath;
    std::string extraText;
    unsigned int typeCode = 0;
    std::string signalText;
    unsigned int channel = 0;
    unsigned int instance = 0;
    bool instanceChecked = true;
};

class PELORIN_API KMXSPredefObjectCfg {
public:
    KMXSPredefObjectCfg() = default;
    KMXSPredefObjectCfg(unsigned int id, const std::string& name, const std::string& description, bool isGroup,
                        bool isSelectable);
    KMXSPredefObjectCfg(const KMXSPredefObjectCfg&) = default;
    KMXSPredefObjectCfg& operator=(const KMXSPredefObjectCfg&) = default;

    unsigned int id = 0;
    std::string name;
    std::string description;
    bool isGroup = false;
    bool isSelectable = false;
};

// Implemented by the host; the library never deletes a listener.
class PELORIN_API KMXSListener {
public:
    virtual void OnObjectsSelected(const std::vector<KMXSObject>& objects, bool final) = 0;
    virtual void OnHelp(int code) = 0;

protected:
    ~KMXSListener() = default;
};

class PELORIN_API KMXSSessionState {
public:
    KMXSSessionState() = default;
    KMXSSessionState(const KMXSSessionState&) = default;
    // Copies everything but valueText, which keeps its own value.
    KMXSSessionState& operator=(const KMXSSessionState& other);
    ~KMXSSessionState() = default;

    std::string topRowPath;
    std::string parameterText;
    std::set<std::string> visibleRowPaths;
    bool firstOpen = true;
    int width = 378;
    int height = 500;
    int left = -1;
    int top = -1;
    bool showIds = true;
    bool showTooltips = true;
    bool detailsExpanded = true;
    unsigned int instance = 255;
    unsigned int channel = 0;
    unsigned int predefChannel = 1;
    bool selectPending = false;
    std::string valueText;
    bool textEditable = true;
    bool filterChoice = false;
    bool filterChoiceAlt = false;
    bool instanceChecked = false;
};

// The process-wide last dialog state: each report of a dialog copies its state here.
PELORIN_API KMXSSessionState& LastDialogState();
