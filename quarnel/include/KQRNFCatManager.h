#pragma once
// One set of loaded catalogs and every question about them.
//
// Common arguments:
//   f        QRN_FLAG_WITH_HIDDEN (1) also finds FBlocks, functions and OpTypes the catalog
//            marks as hidden; 0 does not.
//   instance FBlock instance; 0xFFFFFFFF (-1), 0 and 0xFF match any FBlock, other values
//            only FBlocks that list that instance or list none.
//   catalog  catalog name; where a catalog is searched, the first loaded catalog that holds
//            the address answers.
// Names are compared exactly as the catalog spells them. Lists are cleared, then filled in
// catalog order. Objects returned by pointer are new and deleted by the caller.

#include "KQRNMessage.h"
#include "KQRNMessageContainer.h"
#include "QuarnelDefs.h"

#include <cstdint>
#include <string>
#include <vector>

class QUARNEL_API KQRNFCatManager {
public:
    // (file, mode QRN_LOAD_..., catalog name out, log mode QRN_LOG_..., log file name)
    // Reads a catalog file and adds it, replacing what it replaces (see mode). Returns
    // QRN_OK or a QRN_ERR_... code; on failure the loaded catalogs are unchanged and the
    // log says what went wrong and where (line, column).
    virtual int LoadFCat(const std::string& file, int mode, std::string& catalogName, int logMode,
                         const std::string& logFile) = 0;
    // (option bits QRN_OPT_...) Replaces the option bits; returns the previous ones.
    virtual int SetOption(int options) = 0;
    // (catalog) Description of the catalog; empty if unknown.
    virtual std::string GetFCatDescription(const std::string& catalog) const = 0;
    // (out, f) Names of the loaded catalogs in load order.
    virtual void ListCatalogs(std::vector<std::string>& out, int f) const = 0;
    // (out, f, catalog, FBlock name, instance) Function names of an FBlock.
    virtual void ListFunctionNames(std::vector<std::string>& out, int f, const std::string& catalog,
                                   const std::string& fblock, std::uint32_t instance) const = 0;
    // (out, f, catalog, FBlock name, instance, function name) OpType names of a function.
    virtual void ListOpTypeNames(std::vector<std::string>& out, int f, const std::string& catalog,
                                 const std::string& fblock, std::uint32_t instance,
                                 const std::string& function) const = 0;
    // (out, f, catalog) FBlocks of a catalog.
    virtual void ListFBlocks(std::vector<IdName>& out, int f, const std::string& catalog) const = 0;
    // (out, f, catalog, FBlock id, instance) Functions of an FBlock.
    virtual void ListFunctions(std::vector<IdName>& out, int f, const std::string& catalog,
                               std::int32_t fblock, std::uint32_t instance) const = 0;
    // (out, f, catalog, FBlock id, instance, function id) OpTypes of a function.
    virtual void ListOpTypes(std::vector<IdName>& out, int f, const std::string& catalog, std::int32_t fblock,
                             std::uint32_t instance, std::int32_t function) const = 0;
    // (f, FBlock id, instance, function id, OpType id) New message of the first catalog that
    // defines the address, or null.
    virtual KQRNMessage* CreateMessage(int f, std::int32_t fblock, std::uint32_t instance,
                                       std::int32_t function, std::int32_t opType) const = 0;
    // (f, FBlock id) Name of the FBlock in the first catalog that has it; empty if none.
    // The reference stays valid until the next LookupFBlockName of this manager.
    virtual const std::string& LookupFBlockName(int f, std::int32_t fblock) = 0;
    // (f, FBlock id, instance, function id, catalog or null for every catalog) Function name;
    // empty if none. Valid until the next LookupFunctionName of this manager.
    virtual const std::string& LookupFunctionName(int f, std::int32_t fblock, std::uint32_t instance,
                                                  std::int32_t function, const std::string* catalog) = 0;
    // (f, FBlock id, instance, function id, OpType id, catalog or null) OpType name; empty if
    // none. Valid until the next LookupOpTypeName of this manager.
    virtual const std::string& LookupOpTypeName(int f, std::int32_t fblock, std::uint32_t instance,
                                                std::int32_t function, std::int32_t opType,
                                                const std::string* catalog) = 0;
    // (f, catalog or empty for every catalog, FBlock name, instance, function name, OpType
    // name, catalog out, FBlock id out, function id out, OpType id out, ignoreCase)
    // Prefers the first catalog in which all three names resolve, then the first with FBlock
    // and function, then the first with the FBlock. Writes every out argument; ids of parts
    // not found are -1, the catalog is empty when no FBlock matched. ignoreCase 0 compares
    // exactly, 1 without regard to ASCII case. Returns the number of ids found (0 to 3).
    virtual int LookupIds(int f, const std::string& catalog, const std::string& fblock,
                          std::uint32_t instance, const std::string& function, const std::string& opType,
                          std::string& catalogOut, std::int32_t& fblockId, std::int32_t& functionId,
                          std::int32_t& opTypeId, int ignoreCase) const = 0;
    // (f, catalog, FBlock id, instance, function id or -1, OpType id or -1, loadNodes)
    // New container for an FBlock, function or OpType (never null; an address not found gives
    // empty names and ids -1). loadNodes non-zero builds the nodes at once.
    virtual KQRNMessageContainer* GetMessageContainer(int f, const std::string& catalog, std::int32_t fblock,
                                                      std::uint32_t instance, std::int32_t function,
                                                      std::int32_t opType, int loadNodes) const = 0;
    // (result, f, catalog, FBlock id, instance, function id, OpType id, parameter path)
    // result := name of the parameter that the path (as GetPath writes it, any index from 1
    // to the array's maximum) designates, else empty. Returns !result.empty().
    virtual bool GetParameterName(std::string& result, int f, const std::string& catalog, std::int32_t fblock,
                                  std::uint32_t instance, std::int32_t function, std::int32_t opType,
                                  const std::string& path) const = 0;
    // (result, f, catalog, FBlock id, instance, function id, OpType id, parameter text)
    // result := the path the text designates. Parts of the text are names or 1-based
    // positions; a missing or non-numeric array index counts as 1. Empty if none.
    virtual bool LookupParameterPath(std::string& result, int f, const std::string& catalog,
                                     std::int32_t fblock, std::uint32_t instance, std::int32_t function,
                                     std::int32_t opType, const std::string& text) const = 0;

protected:
    // Managers are destroyed only through gQRNDestroyFCatManager.
    virtual ~KQRNFCatManager() {}

public:
    // Added after the original interface, so earlier entries keep their places.
    // (f, catalog, FBlock id, instance, function id, OpType id) New message of the address in
    // that catalog, or null when that catalog does not define it (another catalog may use the
    // same FBlock id for something else).
    virtual KQRNMessage* CreateCatalogMessage(int f, const std::string& catalog, std::int32_t fblock,
                                              std::uint32_t instance, std::int32_t function,
                                              std::int32_t opType) const = 0;
};
