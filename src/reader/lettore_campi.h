// The sequential comma-separated field reader of the source texts. It works on
// the bytes of one text in memory, so its tests need no files.
//
// Lines end at CR LF, LF or CR; blanks are space and tab.
// - A text field skips leading blanks. "Quoted" text runs to the next quote
//   on the same line, and the rest up to a comma or the line end is dropped;
//   otherwise the text runs to a comma or the line end, trailing blanks
//   removed. The comma or line end is consumed.
// - A numeric field skips leading blanks; its token runs to a comma, a blank
//   or the line end (or is "quoted"); then blanks are skipped and one comma,
//   or else one line end, is consumed. An empty token is 0; a token is an
//   optional sign, digits, and optionally '.' and digits; a fraction is
//   rounded by `arrotonda` (with a warning, when a list is given for them and
//   the fraction is not zero). Anything else, or a value outside the field's
//   type, throws errore_lettura.
// - Reading any field when no data remains throws errore_lettura.
//
// Each read keeps where its field started: the line and column of its first
// character after the leading blanks (the opening quote of a quoted field).
// A column counts bytes, which in a Windows-1252 text are its characters.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "reader/avvisi.h"

// A place in a text: 1-based line and column; 0 and 0 when unknown.
struct luogo {
  int32_t riga = 0;
  int32_t colonna = 0;
  bool operator==(const luogo&) const = default;
};

class lettore_campi {
 public:
  explicit lettore_campi(std::string_view testo) : testo_(testo) {}

  // No data remains: the read position is at the end of the text.
  bool finito() const { return pos_ >= testo_.size(); }
  // 1-based number of the line the read position is on.
  int32_t riga() const { return riga_; }
  // Where the field of the last read started; unknown before the first.
  luogo inizio_campo() const { return inizio_campo_; }
  // Just past the last character of that field as written (its token, or
  // its text without trailing blanks, a closing quote included), on the
  // line it starts on; unknown until a read has passed its field.
  luogo fine_campo() const { return fine_campo_; }
  // The offset in the text of that field's first byte.
  size_t inizio_campo_byte() const { return byte_campo_; }
  // The last read started a field and threw on it: its token is not a
  // number or its value does not fit the type. False when it threw because
  // no data remained, or did not throw.
  bool campo_rifiutato() const { return campo_aperto_; }
  // The last number read that a blank ended with more of its line after it
  // and no comma between ("3 700" read as 3, and then 700 as the next
  // field): where it started and the offset of its first byte; unknown until
  // one is read.
  luogo numero_spezzato() const { return numero_spezzato_; }
  size_t numero_spezzato_byte() const { return byte_spezzato_; }

  // Warnings of the numbers rounded go to `lista`, as met in source `s`.
  void raccogli_avvisi(std::vector<diagnostica>* lista, sorgente_build s) {
    avvisi_ = lista;
    sorgente_ = s;
  }

  std::string testo();
  int32_t numero_long();
  int16_t numero_integer();
  uint8_t numero_byte();

 private:
  int64_t numero();  // the token's value, before the check of its type
  void salta_spazi();
  bool a_fine_riga() const;
  void consuma_fine_riga();
  void richiedi_dati();
  void apri_campo();  // after the leading blanks: the field starts here
  void chiudi_campo(size_t fine);  // the field's last character is before `fine`
  void avvisa_numero(codice_avviso c, std::string testo, std::optional<std::string> sostituto);
  template <typename T>
  T numero_di(T (*tipo)(int64_t));

  std::string_view testo_;
  size_t pos_ = 0;
  int32_t riga_ = 1;
  size_t inizio_riga_ = 0;  // the offset of the current line's first byte
  luogo inizio_campo_;
  luogo fine_campo_;
  size_t byte_campo_ = 0;
  bool campo_aperto_ = false;
  luogo numero_spezzato_;
  size_t byte_spezzato_ = 0;
  std::vector<diagnostica>* avvisi_ = nullptr;
  sorgente_build sorgente_ = sorgente_build::nessuna;
};
