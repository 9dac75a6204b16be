// One record of the header table `testata`. Records 1 upward are stations,
// 80 downward sign texts, 81..83 the chainage references, 84 train and route
// figures, 85 the scenario record, 86 the train record; 0 has no role.
#pragma once

#include <array>
#include <cstdint>
#include <string>

struct voce {
  uint8_t tipo = 0;
  int32_t primo = 0;
  int32_t secondo = 0;
  int32_t terzo = 0;
  uint8_t marca = 0;
  std::string nome;  // Windows-1252 bytes
  int16_t intero1 = 0;
  int16_t intero2 = 0;
  int16_t intero3 = 0;
  int16_t intero4 = 0;
  int16_t intero5 = 0;
  uint8_t opzione1 = 0;
  uint8_t opzione2 = 0;
  uint8_t opzione3 = 0;
  uint8_t opzione4 = 0;
  int32_t orario = 0;
};

inline constexpr int numero_voci = 87;
using tabella_testata = std::array<voce, numero_voci>;
