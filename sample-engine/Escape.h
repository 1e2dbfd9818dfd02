// Quoted texts as the call log writes them and the script reads them: UTF-8
// with the escapes \" \\ \n \r \t, and \uXXXX for other control characters
// and for lone surrogates, so that every UTF-16 text survives the round trip.
#pragma once

#include <cstddef>
#include <string>

std::string QuoteText(const wchar_t *text, std::size_t length);
// NULL for a null pointer.
std::string QuoteText(const wchar_t *text);

// Reads the quoted text that starts at line[pos] (the opening quote) and moves
// pos behind its closing quote. False when it is not a well-formed quoted text.
bool ReadQuotedText(const std::string &line, std::size_t &pos, std::wstring &text);
