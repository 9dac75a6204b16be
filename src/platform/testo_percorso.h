// Paths and the program's own text, which is UTF-8 throughout (options,
// messages, JSON). A path's narrow form is that on POSIX but not on Windows,
// where the C++ library reads and writes it byte by byte, so text becomes a
// path and a path becomes text only through these two.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "model/testo_mostrabile.h"

inline std::filesystem::path percorso_da_testo(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string testo_percorso(const std::filesystem::path& p) {
  const std::u8string u = p.u8string();
  return std::string(u.begin(), u.end());
}

// A path quoted in a message, a control character in its name shown
// escaped (model/testo_mostrabile.h).
inline std::string tra_virgolette(const std::filesystem::path& p) {
  return "\"" + testo_mostrabile(testo_percorso(p)) + "\"";
}
