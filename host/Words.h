// A command line split into its words as a POSIX shell splits it, without expansions: blanks
// separate words; '...' keeps everything up to the next quote; "..." keeps everything but a
// backslash before $, `, " or \, which quotes that character; outside quotes a backslash quotes
// the character after it.
#pragma once
#include <string>
#include <vector>

// False with a message for an unclosed quote or a backslash at the end of the line.
bool SplitWords(const std::string& line, std::vector<std::string>& words, std::string& error);
