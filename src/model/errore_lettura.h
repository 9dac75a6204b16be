// A failure while the sources are read that no numbered error covers: a field
// that is not a number, a value that does not fit its type, arithmetic that
// would overflow 32 bits, a file that cannot be read or deleted. The reader
// turns it into error 25 in one place.
#pragma once

#include <cstdint>
#include <limits>
#include <string>

struct errore_lettura {
  std::string motivo;
};

// Checked narrowing of a whole number computed in 64 bits.
inline int32_t in_long(int64_t v) {
  if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
    throw errore_lettura{"il valore " + std::to_string(v) + " è fuori da quelli che il suo campo tiene, da -2147483648 a 2147483647"};
  return static_cast<int32_t>(v);
}
inline int16_t in_integer(int64_t v) {
  if (v < std::numeric_limits<int16_t>::min() || v > std::numeric_limits<int16_t>::max())
    throw errore_lettura{"il valore " + std::to_string(v) + " è fuori da quelli che il suo campo tiene, da -32768 a 32767"};
  return static_cast<int16_t>(v);
}
inline uint8_t in_byte(int64_t v) {
  if (v < 0 || v > 255)
    throw errore_lettura{"il valore " + std::to_string(v) + " è fuori da quelli che il suo campo tiene, da 0 a 255"};
  return static_cast<uint8_t>(v);
}
