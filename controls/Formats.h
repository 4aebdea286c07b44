// Character formats for filtered edit fields: which single characters may stand in the text.
#pragma once
#include <vector>

class IFormat {
public:
    virtual ~IFormat() = default;
    virtual bool IsValidChar(char c) = 0;
};

// A format given by its list of allowed characters; an empty list accepts nothing.
class BaseFormat : public IFormat {
public:
    ~BaseFormat() override = default;
    bool IsValidChar(char c) override;

protected:
    std::vector<char> allowed;
};

// Hexadecimal digits in either case and the wildcard "*".
class HexAndWildcardFormat : public BaseFormat {
public:
    HexAndWildcardFormat();
    ~HexAndWildcardFormat() override = default;
};
