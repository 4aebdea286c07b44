#include "catalog/MostFCatContainer.h"

#include "base/LanguageResources.h"
#include "base/ProcessState.h"
#include "base/Strings.h"
#include "resources/resource.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <memory>

namespace {

// Hidden catalog entries are neither offered nor accepted: the selection side does not know them.
const int kVisibleOnly = 0;

// Zeros after what the user typed: tokens for the parameters the text leaves out, and data
// bytes so that every parameter of the message decodes to a value.
const int kSpareTokens = 20;
const int kSpareBytes = 20;

} // namespace

KMostFCatContainer::~KMostFCatContainer() {
    if (managerHandle) gQRNDestroyFCatManager(static_cast<QRNHandle>(managerHandle));
}

KQRNFCatManager* KMostFCatContainer::Manager() const { return gQRNFCatManager(static_cast<QRNHandle>(managerHandle)); }

void KMostFCatContainer::AddFCat(const std::string& file) {
    for (const auto& f : files)
        if (EqualsNoCase(f, file)) return;
    files.push_back(file);
}

std::string KMostFCatContainer::LogFileName(const std::string& file) {
    // Only the name part loses its extension: a dot in a folder name, or the leading dot of a
    // hidden file, must not move the log out of the catalog's folder.
    size_t slash = file.find_last_of("/\\");
    size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    size_t dot = file.rfind('.');
    bool hasExtension = dot != std::string::npos && dot > nameStart;
    std::string log = (hasExtension ? file.substr(0, dot) : file) + ".log";
    // A catalog named like its own log would be overwritten by its first load.
    if (EqualsNoCase(log, file)) log = file + ".log";
    return log;
}

void KMostFCatContainer::LoadFCats() {
    if (files.empty()) return;
    KProcessState& process = ProcessState();
    if (process.catalogInterfaceToCheck) {
        process.catalogInterfaceCompatible = gQRNIsCompatibleInterface(QRN_INTERFACE_MAJOR, QRN_INTERFACE_MINOR) == 1;
        if (!process.catalogInterfaceCompatible)
            MessageBoxA(nullptr, LoadResourceText(IDS_INCOMPATIBLE).c_str(), nullptr, MB_OK | MB_ICONEXCLAMATION);
        process.catalogInterfaceToCheck = false;
    }
    if (!process.catalogInterfaceCompatible) return;
    if (managerHandle == 0) {
        QRNHandle handle = 0;
        if (gQRNCreateFCatManager(&handle, "Pelorin") != 0) return;
        managerHandle = handle;
        if (KQRNFCatManager* m = Manager()) m->SetOption(QRN_OPT_LOAD_CACHE);
    }
    KQRNFCatManager* manager = Manager();
    if (!manager) return;
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    fcats.clear();
    fblocks.clear();
    for (const auto& file : files) {
        std::string catalog;
        if (manager->LoadFCat(file, QRN_LOAD_REPLACE, catalog, QRN_LOG_REWRITE, LogFileName(file)) != 0) {
            std::string text = LoadResourceText(IDS_LOAD_FAILED);
            // the template's single "%s" takes the file name; any other directive is printed as text
            std::string message;
            size_t at = text.find("%s");
            if (at == std::string::npos)
                message = text;
            else
                message = text.substr(0, at) + file + text.substr(at + 2);
            MessageBoxA(nullptr, message.c_str(), nullptr, MB_OK);
            continue;
        }
        int index = nextFCatIndex++;
        fcats.push_back(ListEntry{catalog, index});
        std::vector<IdName> list;
        manager->ListFBlocks(list, kVisibleOnly, catalog);
        for (const auto& fb : list) {
            bool known = std::any_of(fblocks.begin(), fblocks.end(),
                                     [&](const ListEntry& e) { return GetEntryHead(e.text) == fb.name; });
            if (known) continue;
            fblocks.push_back(ListEntry{FormatEntryText(fb.name, fb.id, kNameFirst, kFBlockDigits), index});
        }
        fblockFormat = 0;
    }
    SetCursor(previous);
}

bool KMostFCatContainer::IsDataAvailable() const {
    if (managerHandle != 0) return !fblocks.empty();
    return !files.empty();
}

void KMostFCatContainer::SetFBlockFormat(int format) {
    if (format != kNameFirst && format != kHexFirst) format = kDecimalFirst;
    if (format == fblockFormat) return;
    for (auto& e : fblocks) {
        std::string name;
        std::int32_t id = 0;
        ParseFBlockText(e.text, fblockFormat, name, id);
        e.text = FormatEntryText(name, id, format, kFBlockDigits);
    }
    fblockFormat = format;
}

const std::string* KMostFCatContainer::CatalogOf(std::int32_t key) const {
    for (const auto& c : fcats)
        if (c.key == key) return c.text.empty() ? nullptr : &c.text;
    return nullptr;
}

static int normalisedFormat(int format) { return format == kHexFirst ? kHexFirst : format == kDecimalFirst ? kDecimalFirst : kNameFirst; }

std::vector<ListEntry>& KMostFCatContainer::BuildFunctionList(const ListEntry& fblock, int format) {
    functions.clear();
    if (fblock.text.empty()) return functions;
    std::int32_t fblockId = ParseEntryId(fblock.text, fblockFormat);
    const std::string* catalog = CatalogOf(fblock.key);
    KQRNFCatManager* manager = Manager();
    if (!catalog || !manager) return functions;
    std::vector<IdName> list;
    manager->ListFunctions(list, kVisibleOnly, *catalog, fblockId, QRN_ANY_INSTANCE);
    int f = normalisedFormat(format);
    for (const auto& fn : list) functions.push_back(ListEntry{FormatEntryText(fn.name, fn.id, f, kFunctionDigits), fblockId});
    functionFormat = f;
    return functions;
}

std::vector<ListEntry>& KMostFCatContainer::BuildOpTypeList(const ListEntry& fblock, const ListEntry& function, int format) {
    opTypes.clear();
    if (function.text.empty()) return opTypes;
    std::int32_t fblockId = function.key;
    std::int32_t functionId = ParseEntryId(function.text, functionFormat);
    const std::string* catalog = CatalogOf(fblock.key);
    KQRNFCatManager* manager = Manager();
    if (!catalog || !manager) return opTypes;
    std::vector<IdName> list;
    manager->ListOpTypes(list, kVisibleOnly, *catalog, fblockId, QRN_ANY_INSTANCE, functionId);
    int f = normalisedFormat(format);
    for (const auto& op : list) opTypes.push_back(ListEntry{FormatEntryText(op.name, op.id, f, kOpTypeDigits), functionId});
    opTypeFormat = f;
    return opTypes;
}

std::vector<std::string> KMostFCatContainer::SplitParameterText(const std::string& text) {
    std::vector<std::string> tokens;
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        std::string raw = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        start = comma == std::string::npos ? text.size() + 1 : comma + 1;
        // runs of commas are one separator, and commas at either end give no token
        if (raw.empty()) continue;
        std::string t = Trim(raw);
        tokens.push_back(t.empty() ? "0" : t);
    }
    for (int i = 0; i < kSpareTokens; ++i) tokens.push_back("0");
    return tokens;
}

std::vector<ListEntry>& KMostFCatContainer::BuildParameterList(const std::string& parameterText, const ListEntry& fblock,
                                                              const ListEntry& function, const ListEntry& opType) {
    parameters.clear();
    parameterValues.clear();
    parameterCodeDigits.clear();
    refusedToken = -1;
    std::int32_t fblockId = function.key;
    std::int32_t functionId = opType.key;
    std::int32_t opTypeId = ParseEntryId(opType.text, opTypeFormat);
    std::vector<std::string> tokens = SplitParameterText(parameterText);
    KQRNFCatManager* manager = Manager();
    // the same FBlock id may mean another FBlock in another catalog
    const std::string* catalog = CatalogOf(fblock.key);
    std::unique_ptr<KQRNMessage> message;
    int lastFailing = -1;
    while (manager && catalog) {
        message.reset(manager->CreateCatalogMessage(kVisibleOnly, *catalog, fblockId, 0, functionId, opTypeId));
        // without a message there is nothing to try again with
        if (!message) break;
        int status = 0, index = -1;
        message->SetParameterTexts(tokens, status, index);
        if (QRNRefusesToken(status)) {
            if (index == lastFailing) break;
            lastFailing = index;
            if (refusedToken < 0) refusedToken = index;
            if (index >= 0 && index < static_cast<int>(tokens.size())) tokens[static_cast<size_t>(index)] = "0";
            continue;
        }
        if (status != QRN_TEXT_TOO_MANY || tokens.empty()) break;
        tokens.pop_back();
        if (tokens.empty()) break;
    }
    if (message) {
        message->SetWord(QRN_NO_ELEMENT_LIMIT);
        message->SetFlags(QRN_MSG_VALUE_CHOICES | QRN_MSG_ALLOW_SURPLUS);
        std::vector<std::uint8_t> bytes;
        message->GetData(bytes);
        bytes.insert(bytes.end(), kSpareBytes, 0);
        message->SetData(bytes);
        message->Decode();
    }
    if (!message || !message->IsDecoded()) {
        parameters.push_back(ListEntry{LoadResourceText(IDS_NOT_DECODED), -1});
        return parameters;
    }
    std::vector<KQRNNode*> nodes;
    message->GetParameters(nodes);
    for (KQRNNode* node : nodes) {
        if (!node) continue;
        parameters.push_back(ListEntry{node->GetName(), node->GetType()});
        std::vector<std::string> texts;
        node->GetValueTexts(texts);
        std::vector<std::int32_t> codes = ValueCodes(node, texts.size());
        std::vector<ListEntry> values;
        for (size_t i = 0; i < texts.size(); ++i) values.push_back(ListEntry{texts[i], codes[i]});
        parameterValues.push_back(std::move(values));
        KQRNEnumNode* e = QRNAsEnum(node);
        parameterCodeDigits.push_back(e && e->GetEnumSizeCode() == QRN_SIZE_2_BYTES ? 4 : 2);
    }
    return parameters;
}

std::vector<std::int32_t> KMostFCatContainer::ValueCodes(KQRNNode* node, size_t count) {
    std::vector<std::int32_t> codes(count);
    for (size_t i = 0; i < count; ++i) codes[i] = static_cast<std::int32_t>(i);
    // Below 256 the library lists every code in order; above, only the named values, in
    // catalog order, as its info lines list them ("code: name").
    KQRNEnumNode* e = QRNAsEnum(node);
    if (!e || e->GetEnumMaximum() < 256) return codes;
    std::vector<std::string> lines;
    e->GetInfoTexts(lines, QRN_INFO_CODE | QRN_INFO_NAME);
    for (size_t i = 0; i < count && i < lines.size(); ++i) codes[i] = std::atoi(lines[i].c_str());
    return codes;
}

int KMostFCatContainer::GetParameterCodeDigits(int position) const {
    if (position < 0 || static_cast<size_t>(position) >= parameterCodeDigits.size()) return 2;
    return parameterCodeDigits[static_cast<size_t>(position)];
}

const std::vector<ListEntry>* KMostFCatContainer::GetParameterValues(int position) const {
    if (position < 0 || static_cast<size_t>(position) >= parameterValues.size()) return nullptr;
    return &parameterValues[static_cast<size_t>(position)];
}
