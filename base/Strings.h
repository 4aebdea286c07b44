// Text helpers of the system. Texts are narrow strings in code page 1252; letter case follows
// that code page, as the Windows character functions do (so "ä" matches "Ä").
#pragma once
#include <string>

// The character in upper case (code page 1252 letters included).
char UpperChar(char c);
std::string ToUpper(std::string text);
bool EqualsNoCase(const std::string& a, const std::string& b);
bool StartsWithNoCase(const std::string& text, const std::string& prefix);
// The text without the given characters at either end.
std::string Trim(const std::string& text, const char* blanks = " \t\r\n");
