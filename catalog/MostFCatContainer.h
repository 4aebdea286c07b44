// The catalog container of the input assistance: the registered catalog files, their loading
// through the catalog library, and the display lists of catalogs, FBlocks, functions, OpTypes and
// parameters with their value texts.
#pragma once
#include "catalog/CatalogTexts.h"

#include <Quarnel.h>

#include <string>
#include <vector>

class KMostFCatContainer : public KQRNFCatChangedSink {
public:
    KMostFCatContainer() = default;
    ~KMostFCatContainer() override;
    KMostFCatContainer(const KMostFCatContainer&) = delete;
    KMostFCatContainer& operator=(const KMostFCatContainer&) = delete;

    // Registered but never registered with a manager: it hears no notifications.
    void OnFCatChanged() override {}

    void AddFCat(const std::string& file);
    void LoadFCats();
    bool IsDataAvailable() const;
    unsigned long GetManagerHandle() const { return managerHandle; }

    void SetFBlockFormat(int format);
    std::vector<ListEntry>& BuildFunctionList(const ListEntry& fblock, int format);
    std::vector<ListEntry>& BuildOpTypeList(const ListEntry& fblock, const ListEntry& function, int format);
    std::vector<ListEntry>& BuildParameterList(const std::string& parameterText, const ListEntry& function,
                                               const ListEntry& opType);

    int GetFBlockFormat() const { return fblockFormat; }
    int GetFunctionFormat() const { return functionFormat; }
    int GetOpTypeFormat() const { return opTypeFormat; }
    // The value texts of the parameter at that position, or null when there is none.
    const std::vector<ListEntry>* GetParameterValues(int position) const;

    // The catalog file's log file: the name up to its last "." with ".log" appended.
    static std::string LogFileName(const std::string& file);
    // The tokens of a parameter text, followed by twenty tokens "0".
    static std::vector<std::string> SplitParameterText(const std::string& text);

    std::vector<std::string> files;
    std::vector<ListEntry> fcats;
    std::vector<ListEntry> fblocks;
    std::vector<ListEntry> functions;
    std::vector<ListEntry> opTypes;
    int fblockFormat = 0;
    int functionFormat = 0;
    int opTypeFormat = 0;
    std::vector<ListEntry> parameters;
    std::vector<std::vector<ListEntry>> parameterValues;
    int nextFCatIndex = 0;
    unsigned long managerHandle = 0;

protected:
    // The catalog manager of managerHandle; a seam for tests.
    virtual KQRNFCatManager* Manager() const;

private:
    const std::string* CatalogOf(std::int32_t key) const;
};
