// Text of the system is held as Windows-1252 bytes, from the embedded texts and
// the sources to the binary files. These helpers are the only places where it
// meets other encodings: UTF-8 on the way out to this platform's file names and
// messages, the character table an author's UTF-8 texts are converted by, and
// the case folding of key comparisons.
#pragma once

#include <string>
#include <string_view>

// Each byte becomes its Unicode character in UTF-8; the five bytes that
// Windows-1252 leaves undefined map to the C1 controls of the same value.
std::string da_cp1252_a_utf8(std::string_view testo);

// Each character of valid UTF-8 becomes its Windows-1252 byte; a character
// that Windows-1252 cannot hold, or a byte that is not valid UTF-8, becomes "?".
// For names given on a command line; an author's texts are converted by
// model/testo_autore.h, which refuses what this replaces.
std::string da_utf8_a_cp1252(std::string_view testo);

// The Windows-1252 byte of a Unicode character (the five undefined bytes
// stand for the C1 controls of the same value); -1 when the page has none.
int byte_cp1252(char32_t c);

// Lower case by Windows-1252 rules (A-Z, the accented capitals, Š Œ Ž Ÿ).
char minuscola_cp1252(char c);
std::string minuscole_cp1252(std::string_view testo);

// A field shown in a message: in quotes, in UTF-8, cut after 60 characters.
std::string campo_citato(std::string_view campo);
