#include "host/Words.h"

#include <cstring>

bool SplitWords(const std::string& line, std::vector<std::string>& words, std::string& error) {
    words.clear();
    std::string word;
    bool inWord = false; // a quoted empty string is a word too
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == ' ' || c == '\t') {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == '\\') {
            if (i + 1 >= line.size()) {
                error = "a backslash at the end of the line";
                return false;
            }
            word += line[++i];
        } else if (c == '\'') {
            size_t close = line.find('\'', i + 1);
            if (close == std::string::npos) {
                error = "unclosed ' at column " + std::to_string(i + 1);
                return false;
            }
            word.append(line, i + 1, close - i - 1);
            i = close;
        } else if (c == '"') {
            size_t k = i + 1;
            for (; k < line.size() && line[k] != '"'; ++k) {
                if (line[k] == '\\' && k + 1 < line.size() && std::strchr("$`\"\\", line[k + 1])) ++k;
                word += line[k];
            }
            if (k >= line.size()) {
                error = "unclosed \" at column " + std::to_string(i + 1);
                return false;
            }
            i = k;
        } else {
            word += c;
        }
    }
    if (inWord) words.push_back(word);
    return true;
}
