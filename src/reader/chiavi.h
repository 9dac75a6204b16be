// Keys of the source texts are recognised by the words they contain, anywhere
// in the field. Most keys ignore letter case (Windows-1252 rules); a few are
// matched exactly.
#pragma once

#include <string_view>

#include "model/windows1252.h"

inline bool contiene(std::string_view riga, std::string_view parola) { return riga.find(parola) != riga.npos; }

// REQUIRES: `parola` is in lower case.
inline bool contiene_minuscolo(std::string_view riga, std::string_view parola) {
  return contiene(minuscole_cp1252(riga), parola);
}
