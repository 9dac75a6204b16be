// One record of the header table `testata`, the numbers of the records that
// have a fixed role, and the roles a record can have. The list of its
// fields, in the order of the file, is what the encoder, the decoders,
// inspect and equality walk.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

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

// Calls f(name, member pointer) for each field of a record, in file order; a
// number takes the bytes of its type, `nome` a 2-byte length and its bytes.
template <class F>
constexpr void campi_voce(F&& f) {
  f(std::string_view("tipo"), &voce::tipo);
  f(std::string_view("primo"), &voce::primo);
  f(std::string_view("secondo"), &voce::secondo);
  f(std::string_view("terzo"), &voce::terzo);
  f(std::string_view("marca"), &voce::marca);
  f(std::string_view("nome"), &voce::nome);
  f(std::string_view("intero1"), &voce::intero1);
  f(std::string_view("intero2"), &voce::intero2);
  f(std::string_view("intero3"), &voce::intero3);
  f(std::string_view("intero4"), &voce::intero4);
  f(std::string_view("intero5"), &voce::intero5);
  f(std::string_view("opzione1"), &voce::opzione1);
  f(std::string_view("opzione2"), &voce::opzione2);
  f(std::string_view("opzione3"), &voce::opzione3);
  f(std::string_view("opzione4"), &voce::opzione4);
  f(std::string_view("orario"), &voce::orario);
}
// The list names every member: the binding stops compiling when voce
// gains or loses one, the count when the list misses one.
inline void voce_ha_sedici_membri(const voce& x) {
  [[maybe_unused]] const auto& [a, b, c, d, e, f, g, h, i, j, k, l, m, n, o, p] = x;
}
static_assert([] {
  size_t n = 0;
  campi_voce([&](std::string_view, auto) { ++n; });
  return n == 16;
}());

// Equal in every field of the list; a record equal to voce{} is cleared.
inline bool operator==(const voce& a, const voce& b) {
  bool uguali = true;
  campi_voce([&](std::string_view, auto membro) { uguali = uguali && a.*membro == b.*membro; });
  return uguali;
}

inline constexpr int numero_voci = 87;
using tabella_testata = std::array<voce, numero_voci>;

// Record 0 has no role. Stations fill records from 1 upward and sign texts
// from 80 downward, so the two share 1..80 until they meet.
inline constexpr int voce_prima_stazione = 1;
inline constexpr int voce_primo_cartello = 80;
// The three chainage references: as read, "progressiva ... tre" goes to 81,
// "due" to 82, "uno" to 83; progressive_ordina then orders the three.
inline constexpr int voce_primo_riferimento = 81;
inline constexpr int voce_ultimo_riferimento = 83;
// Train and route figures (braked mass, route length, coaches).
inline constexpr int voce_treno_e_percorso = 84;
// The scenario: its name, backgrounds, the stamp and the weighted code.
inline constexpr int voce_scenario = 85;
// The train: its number, signal-code repetition, sand, clock.
inline constexpr int voce_treno = 86;

// What a record is, by its number and, among 1..80, by what it holds.
enum class ruolo_voce {
  nessuno,                  // record 0
  stazione,                 // 1..80, with numbers
  cartello,                 // 1..80, a text alone
  vuota,                    // 1..80, nothing at all
  riferimento_progressiva,  // 81..83
  treno_e_percorso,         // 84
  scenario,                 // 85
  treno,                    // 86
};
