// The lines of a text, for quoting the line a diagnostic is about: lines end
// at CR LF, LF or CR, as for the field reader. A text is indexed once, so
// that any number of quotes costs one pass over it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class indice_righe {
 public:
  explicit indice_righe(std::string_view testo);
  // Line `riga` (1-based) without its line end; empty when there is none.
  std::string_view riga(int32_t riga) const;
  size_t righe() const { return inizi_.size(); }

 private:
  std::string_view testo_;
  std::vector<size_t> inizi_;  // the offset of each line's first byte
};

// Line `riga` of `testo`, for a single quote (indice_righe for many).
std::string_view riga_del_testo(std::string_view testo, int32_t riga);

// `riga` (UTF-8) as it can be shown: each byte that is not valid UTF-8
// becomes "?", so characters keep their count.
std::string riga_mostrabile(std::string_view riga);
