// The system speaks Windows-1252; the terminal, the command line and JSON speak UTF-8. The host
// converts at its boundary only, and refuses what it cannot convert instead of guessing.
#pragma once
#include <cstddef>
#include <string>

std::string Utf8FromCp1252(const std::string& text);

// Why a text has no Windows-1252 form.
enum class TextProblem { None, InvalidUtf8, NotInCp1252 };

// UTF-8 to Windows-1252. On a problem, *at (if given) is the byte offset of the first sequence
// that is malformed or has no Windows-1252 character, and cp1252 holds what came before it.
TextProblem Cp1252FromUtf8(const std::string& utf8, std::string& cp1252, size_t* at = nullptr);

// Well-formed UTF-8: no stray or missing continuation bytes, overlong forms, surrogates or code
// points past U+10FFFF.
bool IsUtf8(const std::string& bytes);

// The length of the well-formed UTF-8 sequence at text[i] and its code point; 0 if malformed.
size_t Utf8Sequence(const std::string& text, size_t i, unsigned& codePoint);

// The bytes as valid UTF-8 for display: each malformed byte becomes U+FFFD.
std::string Utf8Repaired(const std::string& bytes);

// A piece of user input quoted for a one-line message: at most the first 64 bytes, malformed
// bytes and control characters as \xNN, and for a longer text "..." with its whole length.
std::string Excerpt(const std::string& bytes);

// A text argument converted to Windows-1252: an empty result on success, otherwise a one-line
// message that names the argument (what) and where the text goes wrong.
std::string Cp1252Argument(const std::string& what, const std::string& utf8, std::string& cp1252);
