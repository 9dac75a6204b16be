// One cell of the route grid `percorso`: 50 m of line. `tipo` and dato1..dato4
// hold the one point feature a cell can carry; the last five bytes are layers
// that every cell has whatever its kind.
#pragma once

#include <cstdint>

struct cella {
  uint8_t tipo = 0;
  int16_t dato1 = 0;
  int16_t dato2 = 0;
  int16_t dato3 = 0;
  int16_t dato4 = 0;
  uint8_t tempo = 0;
  uint8_t avvicinamento = 0;
  uint8_t montagna = 0;
  uint8_t velocita = 0;
  uint8_t pendenza = 0;
  uint8_t aderenza = 0;
};

// Kind codes of `tipo`. Values 7, 8 and 9 are never written.
inline constexpr uint8_t libero = 0;
inline constexpr uint8_t segnale = 1;
inline constexpr uint8_t fine_rallentamento = 2;
inline constexpr uint8_t inizio_rallentamento = 3;
inline constexpr uint8_t avviso_rallentamento = 4;
inline constexpr uint8_t preavviso_rallentamento = 5;
inline constexpr uint8_t indicatore_v_max = 6;
inline constexpr uint8_t stazione = 10;
inline constexpr uint8_t segno_montagna = 11;
inline constexpr uint8_t abbattimento = 12;
inline constexpr uint8_t abbattimento_nullo = 13;
inline constexpr uint8_t cartello = 14;

// A cell is free when it holds nothing or only a weak mountain mark, which any
// point feature may replace.
inline bool cella_libera(const cella& c) { return c.tipo == libero || c.tipo == segno_montagna; }

// Stores into a 16-bit or 8-bit field keep the low bits of the result.
inline int16_t basso16(int64_t v) { return static_cast<int16_t>(static_cast<uint16_t>(v)); }
inline uint8_t basso8(int64_t v) { return static_cast<uint8_t>(v); }
