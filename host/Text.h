// The system speaks Windows-1252; the terminal and JSON speak UTF-8.
#pragma once
#include <string>

std::string Utf8FromCp1252(const std::string& text);
std::string Cp1252FromUtf8(const std::string& text);
