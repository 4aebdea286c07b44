// The text work around the input assistance: cutting the address out of the host's line, finding
// where the caret stands in it segment by segment against the catalog lists, and composing the
// new line. The input assistance dialog derives from it and passes the edit field's caret in.
#pragma once
#include "catalog/CatalogTexts.h"

#include <optional>
#include <string>

class KMostFCatContainer;

enum CaretPosition {
    kCaretNothing = 0,    // nothing before the caret
    kCaretFBlock = 1,     // in the FBlock segment
    kCaretInstance = 2,   // in the instance segment
    kCaretFunction = 3,   // in the function segment
    kCaretOpType = 4,     // in the OpType segment
    kCaretParameters = 5, // inside the parameter list
    kCaretInvalid = 6,    // the text before the caret is no valid address
    kCaretAfterList = 7   // after the closing ")"
};

class KAddressAnalysis {
public:
    // Cuts the address token out of the line and fixes the range of the line it will replace.
    void SetSourceText(const std::string& line, int caret, int selStart, int selEnd);
    // Analyses addressText up to the caret, resolving the entries of the segments on the way.
    CaretPosition LocateCaret(int caret);
    // Composes the new line; returns the caret displacement.
    int BuildReplacement(std::string& outLine);

    static int WordStart(const std::string& text, int position);
    static int WordEnd(const std::string& text, int position);
    static int ParameterStart(const std::string& text, int position);
    static int ParameterEnd(const std::string& text, int position);
    // 1-based number of the parameter in which the text ends.
    static int CountParameterIndex(const std::string& text);
    static bool IsValidInstanceText(const std::string& text);
    // The display format a typed segment asks for: "0" hexadecimal, "1".."9" decimal, else names.
    static int DisplayFormatOf(const std::string& segment);

    KMostFCatContainer* container = nullptr;
    std::string addressText;
    std::string sourceLine;
    int replaceStart = 0;
    int replaceEnd = 0;
    int caretInToken = -1;
    std::string typedPrefix;
    bool keywordMode = false;
    bool withInstance = false;
    // The catalog entries the typed segments resolved to. Copies, not pointers into the
    // container's lists: those lists are rebuilt while the entries are still in use. LocateCaret
    // resolves them in order: a function entry comes only with its FBlock's, an OpType entry
    // only with both.
    std::optional<ListEntry> fblockEntry;
    std::optional<ListEntry> functionEntry;
    std::optional<ListEntry> opTypeEntry;

private:
    bool TryKeywordSetting(int caret, int selStart, int selEnd);
    void SetReplaceRange(int start, int end, int selStart, int selEnd);
    void ResolveFBlock(const std::string& segment);
    void ResolveFunction(const std::string& segment);
    void ResolveOpType(const std::string& segment);
};
