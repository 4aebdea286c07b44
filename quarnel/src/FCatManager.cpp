#include "FCatManager.h"

#include "CatalogReader.h"
#include "CodePage.h"
#include "Excerpt.h"
#include "LoadCache.h"
#include "LoadLog.h"
#include "Message.h"
#include "MessageContainer.h"
#include "PathResolver.h"
#include "SinkAccess.h"

#include <algorithm>
#include <chrono>
#include <new>

namespace quarnel {

namespace {
bool withHidden(int f) {
    return (f & QRN_FLAG_WITH_HIDDEN) != 0;
}

std::string describe(const Catalog& c) {
    const std::string release =
        c.version.empty() ? std::string() : " (release " + quoted(c.view(c.version)) + ")";
    return "catalog " + quoted(c.view(c.name)) + release + ": " + std::to_string(c.fblocks.size()) +
           " FBlocks, " + std::to_string(c.functions.size()) + " functions, " +
           std::to_string(c.opTypes.size()) + " OpTypes, " + std::to_string(c.params.size()) +
           " parameter definitions";
}

// Loading goes on with '?' for characters code page 1252 lacks, but the log says so.
std::string replacedWarning(const ReplacedCharacters& r) {
    if (r.count == 0) return std::string();
    return "warning at line " + std::to_string(r.line) + ", column " + std::to_string(r.column) +
           ": character " + codePointText(r.first) + " is not in code page 1252 and reads as '?'; " +
           std::to_string(r.count) + (r.count == 1 ? " character" : " characters") + " replaced in all\n";
}
} // namespace

FCatManager::FCatManager(std::string clientName) : client_(std::move(clientName)) {}

FCatManager::~FCatManager() {
    for (KQRNFCatChangedSink* s : sinks_)
        QRNSinkAccess::detach(*s);
}

void FCatManager::addSink(KQRNFCatChangedSink* sink) {
    if (std::find(sinks_.begin(), sinks_.end(), sink) == sinks_.end()) sinks_.push_back(sink);
}

void FCatManager::removeSink(KQRNFCatChangedSink* sink) {
    sinks_.erase(std::remove(sinks_.begin(), sinks_.end(), sink), sinks_.end());
}

void FCatManager::notify() {
    // A sink may (un)register sinks while it is told; tell only those still registered.
    const std::vector<KQRNFCatChangedSink*> snapshot = sinks_;
    for (KQRNFCatChangedSink* s : snapshot) {
        if (std::find(sinks_.begin(), sinks_.end(), s) != sinks_.end()) s->OnFCatChanged();
    }
}

int FCatManager::LoadFCat(const std::string& file, int mode, std::string& catalogName, int logMode,
                          const std::string& logFile) {
    const auto start = std::chrono::steady_clock::now();
    std::string report;
    int result;
    try {
        result = load(file, mode, catalogName, report);
    } catch (const std::bad_alloc&) {
        result = QRN_ERR_LIMIT;
        report = "error: out of memory\n";
    }
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (logMode == QRN_LOG_REWRITE || logMode == QRN_LOG_APPEND) {
        std::string text = "Quarnel catalog load (client " + client_ + ")\nfile: " + file + "\n" + report +
                           "result: " + std::to_string(result) + " after " + std::to_string(ms) + " ms\n";
        writeLoadLog(logFile, logMode, text);
    }
    return result;
}

int FCatManager::load(const std::string& file, int mode, std::string& catalogName, std::string& report) {
    if (file.empty() || mode < QRN_LOAD_KEEP_NAME || mode > QRN_LOAD_UNLOAD) {
        report = "error: no file name or an unknown mode\n";
        return QRN_ERR_ARGUMENT;
    }
    const std::string key = fileKey(file);
    if (mode == QRN_LOAD_UNLOAD) {
        auto it =
            std::find_if(catalogs_.begin(), catalogs_.end(), [&](const Loaded& l) { return l.key == key; });
        if (it == catalogs_.end()) {
            report = "error: no catalog of this file is loaded\n";
            return QRN_ERR_NOT_LOADED;
        }
        catalogName = it->catalog->str(it->catalog->name);
        catalogs_.erase(it);
        report = "unloaded catalog " + quoted(catalogName) + "\n";
        notify();
        return QRN_OK;
    }

    FileStamp stamp;
    const bool stamped = stampOf(file, stamp);
    const bool useCache = (options_ & QRN_OPT_LOAD_CACHE) != 0 && stamped;
    std::shared_ptr<const Catalog> catalog = useCache ? cacheFind(key, stamp) : nullptr;
    const bool cached = catalog != nullptr;
    if (!catalog) {
        LoadError err;
        catalog = readCatalogFile(file, err);
        if (!catalog) {
            report = "error " + std::to_string(err.code);
            if (err.line)
                report += " at line " + std::to_string(err.line) + ", column " + std::to_string(err.column);
            report += ": " + err.what + "\n";
            return err.code;
        }
        if (useCache) cacheStore(key, stamp, catalog);
    }

    const std::string name = catalog->str(catalog->name);
    if (mode == QRN_LOAD_KEEP_NAME) {
        for (const Loaded& l : catalogs_) {
            if (l.key != key && l.catalog->view(l.catalog->name) == name) {
                report = "error: a catalog named " + quoted(name) + " is already loaded from " + l.key + "\n";
                return QRN_ERR_NAME_TAKEN;
            }
        }
    }
    // The new catalog takes the place of the first one it replaces, so reloads keep the order.
    std::size_t place = catalogs_.size();
    std::size_t replaced = 0;
    bool same = false;
    for (std::size_t i = 0; i < catalogs_.size();) {
        const Loaded& l = catalogs_[i];
        if (l.key == key || l.catalog->view(l.catalog->name) == name) {
            if (replaced++ == 0) place = i;
            same = l.catalog == catalog && l.key == key;
            catalogs_.erase(catalogs_.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
    place = std::min(place, catalogs_.size());
    catalogs_.insert(catalogs_.begin() + static_cast<std::ptrdiff_t>(place), Loaded{key, catalog});
    catalogName = name;
    report = replacedWarning(catalog->replaced) + "loaded " + describe(*catalog) +
             (cached ? " (unchanged, from the cache)" : "") + "\n";
    if (!(same && replaced == 1)) notify();
    return QRN_OK;
}

int FCatManager::SetOption(int options) {
    const int previous = options_;
    options_ = options;
    return previous;
}

const FCatManager::Loaded* FCatManager::findCatalog(const std::string& name) const {
    for (const Loaded& l : catalogs_)
        if (l.catalog->view(l.catalog->name) == name) return &l;
    return nullptr;
}

FCatManager::Address FCatManager::resolve(int f, const std::string* catalog, std::int32_t fblock,
                                          std::uint32_t instance, std::int32_t function,
                                          std::int32_t opType) const {
    for (const Loaded& l : catalogs_) {
        const Catalog& c = *l.catalog;
        if (catalog && c.view(c.name) != *catalog) continue;
        Address a;
        a.loaded = &l;
        a.fblock = c.findFBlock(fblock, withHidden(f), instance);
        if (!a.fblock) continue;
        if (function != -1) {
            a.function = c.findFunction(*a.fblock, function, withHidden(f));
            if (!a.function) continue;
            if (opType != -1) {
                a.opType = c.findOpType(*a.function, opType, withHidden(f));
                if (!a.opType) continue;
            }
        }
        return a;
    }
    return Address();
}

std::string FCatManager::GetFCatDescription(const std::string& catalog) const {
    const Loaded* l = findCatalog(catalog);
    return l ? l->catalog->str(l->catalog->description) : std::string();
}

void FCatManager::ListCatalogs(std::vector<std::string>& out, int) const {
    out.clear();
    for (const Loaded& l : catalogs_)
        out.push_back(l.catalog->str(l.catalog->name));
}

void FCatManager::ListFunctionNames(std::vector<std::string>& out, int f, const std::string& catalog,
                                    const std::string& fblock, std::uint32_t instance) const {
    out.clear();
    const Loaded* l = findCatalog(catalog);
    if (!l) return;
    const Catalog& c = *l->catalog;
    const FBlockDef* fb = c.findFBlock(fblock, withHidden(f), instance, false);
    if (!fb) return;
    for (std::uint32_t i = fb->functions.first; i < fb->functions.end(); ++i)
        if (withHidden(f) || !c.functions[i].hidden) out.push_back(c.str(c.functions[i].name));
}

void FCatManager::ListOpTypeNames(std::vector<std::string>& out, int f, const std::string& catalog,
                                  const std::string& fblock, std::uint32_t instance,
                                  const std::string& function) const {
    out.clear();
    const Loaded* l = findCatalog(catalog);
    if (!l) return;
    const Catalog& c = *l->catalog;
    const FBlockDef* fb = c.findFBlock(fblock, withHidden(f), instance, false);
    const FunctionDef* fn = fb ? c.findFunction(*fb, function, withHidden(f), false) : nullptr;
    if (!fn) return;
    for (std::uint32_t i = fn->opTypes.first; i < fn->opTypes.end(); ++i)
        if (withHidden(f) || !c.opTypes[i].hidden) out.push_back(c.str(c.opTypes[i].name));
}

void FCatManager::ListFBlocks(std::vector<IdName>& out, int f, const std::string& catalog) const {
    out.clear();
    const Loaded* l = findCatalog(catalog);
    if (!l) return;
    const Catalog& c = *l->catalog;
    for (const FBlockDef& fb : c.fblocks)
        if (withHidden(f) || !fb.hidden) out.push_back({c.str(fb.name), fb.id});
}

void FCatManager::ListFunctions(std::vector<IdName>& out, int f, const std::string& catalog,
                                std::int32_t fblock, std::uint32_t instance) const {
    out.clear();
    const Address a = resolve(f, &catalog, fblock, instance, -1, -1);
    if (!a.fblock) return;
    const Catalog& c = *a.loaded->catalog;
    for (std::uint32_t i = a.fblock->functions.first; i < a.fblock->functions.end(); ++i)
        if (withHidden(f) || !c.functions[i].hidden)
            out.push_back({c.str(c.functions[i].name), c.functions[i].id});
}

void FCatManager::ListOpTypes(std::vector<IdName>& out, int f, const std::string& catalog,
                              std::int32_t fblock, std::uint32_t instance, std::int32_t function) const {
    out.clear();
    const Address a = resolve(f, &catalog, fblock, instance, function, -1);
    if (!a.function) return;
    const Catalog& c = *a.loaded->catalog;
    for (std::uint32_t i = a.function->opTypes.first; i < a.function->opTypes.end(); ++i)
        if (withHidden(f) || !c.opTypes[i].hidden) out.push_back({c.str(c.opTypes[i].name), c.opTypes[i].id});
}

KQRNMessage* FCatManager::CreateMessage(int f, std::int32_t fblock, std::uint32_t instance,
                                        std::int32_t function, std::int32_t opType) const {
    return message(f, nullptr, fblock, instance, function, opType);
}

KQRNMessage* FCatManager::CreateCatalogMessage(int f, const std::string& catalog, std::int32_t fblock,
                                               std::uint32_t instance, std::int32_t function,
                                               std::int32_t opType) const {
    return message(f, &catalog, fblock, instance, function, opType);
}

KQRNMessage* FCatManager::message(int f, const std::string* catalog, std::int32_t fblock, std::uint32_t instance,
                                  std::int32_t function, std::int32_t opType) const {
    const Address a = resolve(f, catalog, fblock, instance, function, opType);
    if (!a.opType) return nullptr;
    return new (std::nothrow) Message(a.loaded->catalog, *a.opType);
}

const std::string& FCatManager::LookupFBlockName(int f, std::int32_t fblock) {
    const Address a = resolve(f, nullptr, fblock, QRN_ANY_INSTANCE, -1, -1);
    lastFBlockName_ = a.fblock ? a.loaded->catalog->str(a.fblock->name) : std::string();
    return lastFBlockName_;
}

const std::string& FCatManager::LookupFunctionName(int f, std::int32_t fblock, std::uint32_t instance,
                                                   std::int32_t function, const std::string* catalog) {
    const Address a = resolve(f, catalog, fblock, instance, function, -1);
    lastFunctionName_ = a.function ? a.loaded->catalog->str(a.function->name) : std::string();
    return lastFunctionName_;
}

const std::string& FCatManager::LookupOpTypeName(int f, std::int32_t fblock, std::uint32_t instance,
                                                 std::int32_t function, std::int32_t opType,
                                                 const std::string* catalog) {
    const Address a = resolve(f, catalog, fblock, instance, function, opType);
    lastOpTypeName_ = a.opType ? a.loaded->catalog->str(a.opType->name) : std::string();
    return lastOpTypeName_;
}

int FCatManager::LookupIds(int f, const std::string& catalog, const std::string& fblock,
                           std::uint32_t instance, const std::string& function, const std::string& opType,
                           std::string& catalogOut, std::int32_t& fblockId, std::int32_t& functionId,
                           std::int32_t& opTypeId, int ignoreCase) const {
    const bool noCase = ignoreCase != 0;
    int bestScore = 0;
    catalogOut.clear();
    fblockId = functionId = opTypeId = -1;
    for (const Loaded& l : catalogs_) {
        const Catalog& c = *l.catalog;
        if (!catalog.empty() && c.view(c.name) != catalog) continue;
        const FBlockDef* fb = c.findFBlock(fblock, withHidden(f), instance, noCase);
        if (!fb) continue;
        const FunctionDef* fn = c.findFunction(*fb, function, withHidden(f), noCase);
        const OpTypeDef* op = fn ? c.findOpType(*fn, opType, withHidden(f), noCase) : nullptr;
        const int score = 1 + (fn ? 1 : 0) + (op ? 1 : 0);
        if (score <= bestScore) continue;
        bestScore = score;
        catalogOut = c.str(c.name);
        fblockId = fb->id;
        functionId = fn ? fn->id : -1;
        opTypeId = op ? op->id : -1;
        if (score == 3) break;
    }
    return bestScore;
}

KQRNMessageContainer* FCatManager::GetMessageContainer(int f, const std::string& catalog, std::int32_t fblock,
                                                       std::uint32_t instance, std::int32_t function,
                                                       std::int32_t opType, int loadNodes) const {
    const Address a = resolve(f, &catalog, fblock, instance, function, opType);
    MessageContainer* container =
        a.fblock ? new (std::nothrow) MessageContainer(a.loaded->catalog, a.fblock, a.function, a.opType)
                 : new (std::nothrow) MessageContainer(nullptr, nullptr, nullptr, nullptr);
    if (container && loadNodes) container->LoadNodes();
    return container;
}

bool FCatManager::GetParameterName(std::string& result, int f, const std::string& catalog,
                                   std::int32_t fblock, std::uint32_t instance, std::int32_t function,
                                   std::int32_t opType, const std::string& path) const {
    result.clear();
    const Address a = resolve(f, &catalog, fblock, instance, function, opType);
    ResolvedPath r;
    if (a.opType && resolvePath(*a.loaded->catalog, a.opType->params, path, false, r)) result = r.name;
    return !result.empty();
}

bool FCatManager::LookupParameterPath(std::string& result, int f, const std::string& catalog,
                                      std::int32_t fblock, std::uint32_t instance, std::int32_t function,
                                      std::int32_t opType, const std::string& text) const {
    result.clear();
    const Address a = resolve(f, &catalog, fblock, instance, function, opType);
    ResolvedPath r;
    if (a.opType && resolvePath(*a.loaded->catalog, a.opType->params, text, true, r)) result = r.path;
    return !result.empty();
}

} // namespace quarnel
