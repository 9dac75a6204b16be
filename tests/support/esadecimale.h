// Bytes as hex pairs ("01 1E 00"), so that a mismatch in a byte image shows
// where it is.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

inline std::string esadecimale(std::string_view b) {
  std::string s;
  char coppia[4];
  for (unsigned char c : b) {
    std::snprintf(coppia, sizeof coppia, "%02X ", c);
    s += coppia;
  }
  if (!s.empty()) s.pop_back();
  return s;
}
