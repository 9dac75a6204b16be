// An author's text as the build reads it. The build holds every text as
// Windows-1252 bytes; authors save theirs in Windows-1252 or, as most editors
// outside Windows do, in UTF-8. This unit tells which, one text at a time,
// and turns a UTF-8 text into exactly the bytes the same text saved as
// Windows-1252 would have, refusing a character that Windows-1252 cannot
// hold instead of losing it. The author tool and the embedding of a scenario
// folder both convert through here.
//
// The rule of `automatica`: a text that starts with the UTF-8 byte-order
// mark, or that is valid UTF-8 and holds at least one multi-byte sequence, is
// UTF-8; any other is Windows-1252, taken as it is (plain ASCII reads the
// same either way). The mark is dropped from a UTF-8 text.
//
// Places in a text are 1-based lines and columns; a line ends at CR LF, LF or
// CR, as for the field reader, and a column counts characters as written (a
// UTF-8 "À" is one), so it is also the byte of the converted line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

enum class codifica_testo { automatica, utf8, windows1252 };

// "auto", "utf-8", "windows-1252": the names an author writes and reads.
std::string_view nome_codifica(codifica_testo c);
std::optional<codifica_testo> codifica_di_nome(std::string_view nome);

// Why a text could not be converted, and where.
struct errore_codifica {
  int32_t riga = 0;
  int32_t colonna = 0;
  // The character Windows-1252 cannot hold; 0 when the text is not valid
  // UTF-8 there, `byte` then being the first byte that is not.
  char32_t carattere = 0;
  unsigned char byte = 0;
};

struct testo_convertito {
  std::string testo;  // Windows-1252 bytes; empty when `errore` is set
  // What the text was read as: utf8 or windows1252, never automatica.
  codifica_testo codifica = codifica_testo::windows1252;
  std::optional<errore_codifica> errore;
  // A text that `automatica` read as Windows-1252 since it is not valid UTF-8,
  // but that holds valid UTF-8 sequences too: most likely the two mixed (a
  // UTF-8 line added to a Windows-1252 file), its UTF-8 letters then read as
  // two or three characters each. Where the first such sequence starts and
  // the character it stands for; the text is converted all the same.
  std::optional<errore_codifica> misto;
};

testo_convertito converti_testo_autore(std::string_view testo, codifica_testo richiesta);

// The length of the valid UTF-8 character that starts at `i` (1 for ASCII;
// shortest form only, no surrogates, at most U+10FFFF); 0 when none does.
// REQUIRES: i < testo.size().
size_t lunghezza_utf8(std::string_view testo, size_t i);

// The warning of a text that mixes the two encodings (`misto`), in Italian:
// `carattere` is the first UTF-8 letter.
std::string testo_codifica_mista(char32_t carattere);

// Why character `c` cannot be in a scenario's text, in Italian: it does not
// exist in Windows-1252; for U+FFFD, what it means (an editor put it in place
// of a letter it could not read) and what to do.
std::string testo_carattere_assente(char32_t c);

// "U+2192": how a message names a character.
std::string nome_unicode(char32_t c);
// The character in UTF-8, for a message to show it.
std::string carattere_utf8(char32_t c);
