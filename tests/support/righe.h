// A source text from its lines, each ended by CR LF as the authors' editors
// on Windows write them.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

inline std::string testo(std::initializer_list<std::string_view> righe) {
  std::string t;
  for (std::string_view r : righe) t.append(r).append("\r\n");
  return t;
}
