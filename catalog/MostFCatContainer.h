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
    // The parameters of the OpType in the catalog the FBlock entry came from; records in
    // refusedToken whether the catalog library refused a token of the text.
    std::vector<ListEntry>& BuildParameterList(const std::string& parameterText, const ListEntry& fblock,
                                               const ListEntry& function, const ListEntry& opType);

    int GetFBlockFormat() const { return fblockFormat; }
    int GetFunctionFormat() const { return functionFormat; }
    int GetOpTypeFormat() const { return opTypeFormat; }
    // The value texts of the parameter at that position, or null when there is none; an enum's
    // values carry their codes as keys.
    const std::vector<ListEntry>* GetParameterValues(int position) const;
    // Hex digits that show a code of the parameter at that position: 2, or 4 for an enum of two bytes.
    int GetParameterCodeDigits(int position) const;

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
    std::vector<int> parameterCodeDigits;
    // Index of the first token of the last parameter text that the catalog library refused
    // (and that was taken as 0), or -1.
    int refusedToken = -1;
    int nextFCatIndex = 0;
    unsigned long managerHandle = 0;

protected:
    // The catalog manager of managerHandle; a seam for tests.
    virtual KQRNFCatManager* Manager() const;

private:
    const std::string* CatalogOf(std::int32_t key) const;
    // The codes of an enum's value texts (their positions for any other node).
    static std::vector<std::int32_t> ValueCodes(KQRNNode* node, size_t count);
};
