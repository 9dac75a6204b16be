// The two competition codes, computed from the code key: the train number and
// the scenario name as the header records hold them, lower-cased, padded with
// a fixed filler, of which the first 25 characters count; and the stamps put
// beside them.
#include <string>

#include "finish/timbri.h"
#include "model/windows1252.h"

namespace {

constexpr std::string_view riempitivo = "kkjjhhggppqqrrssttuuvvwwzz";
constexpr size_t caratteri_chiave = 25;

// Characters 1..25 of the key, Windows-1252 bytes. The filler is longer than
// 25, so the key always has them all.
std::string chiave_gara(const tabella_testata& testata) {
  std::string chiave = minuscole_cp1252(testata[voce_treno].nome + testata[voce_scenario].nome);
  chiave.append(riempitivo);
  chiave.resize(caratteri_chiave);
  return chiave;
}

// A character's code is its Windows-1252 byte, 0..255.
int32_t codice_di(char c) { return static_cast<unsigned char>(c); }

}  // namespace

int32_t codice_gara_og(const tabella_testata& testata) {
  int32_t totale = 0;
  for (char c : chiave_gara(testata)) totale += codice_di(c);
  return totale;
}

int32_t codice_gara_st(const tabella_testata& testata) {
  const std::string chiave = chiave_gara(testata);
  int32_t totale = 0;
  for (size_t p = 1; p <= chiave.size(); ++p) totale += codice_di(chiave[p - 1]) * static_cast<int32_t>(p);
  return totale;
}

int32_t metti_timbri(tabella_testata& testata, cella& prima) {
  // Stamps and codes go only into places still unused; a used place means the
  // scenario is not what the simulator expects.
  voce& scenario = testata[voce_scenario];
  if (scenario.intero1 != 0 || prima.dato1 != 0) return 1250;
  scenario.intero1 = timbro_testata;
  prima.dato1 = timbro_griglia;
  if (scenario.orario != 0 || prima.dato2 != 0) return 1251;
  scenario.orario = codice_gara_st(testata);
  prima.dato2 = basso16(codice_gara_og(testata));
  return 0;
}
