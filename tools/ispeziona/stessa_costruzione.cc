// The sizes and the stamps of three decoded files against what one build
// gives them, each finding placed at its byte through the records' layouts.
#include "ispeziona/stessa_costruzione.h"

#include <algorithm>

#include "finish/timbri.h"
#include "model/cursore.h"
#include "model/dimensioni.h"
#include "model/file_binari.h"
#include "model/tracciato.h"
#include "model/windows1252.h"

namespace {

std::string citato(std::string_view s) { return "\"" + std::string(s) + "\""; }

luogo_testo byte_del_file(const std::string& file, uint64_t byte) {
  luogo_testo l;
  l.sorgente = sorgente_build::cartella;
  l.file = file;
  l.byte = byte;
  return l;
}

diagnostica errore_in(const std::string& file, uint64_t byte, std::string testo) {
  diagnostica d;
  d.livello = gravita::errore;
  d.dove = byte_del_file(file, byte);
  d.codice = codice_avviso::costruzioni_diverse;
  d.testo = std::move(testo);
  return d;
}

constexpr std::string_view non_una_costruzione = ": i file non vengono dalla stessa costruzione";

// Where element `indice` of a line file starts. REQUIRES: the file is one
// that controlla_tracciato accepted, with more than `indice` elements.
size_t posizione_elemento(std::string_view dati, int64_t indice) {
  cursore_lettura c(dati);
  for (int64_t i = 0; i < indice; ++i) c.salta(tabella_tracciato::byte_di(tipo_da_codice(c.parola()).value()) - 2);
  return c.posizione();
}

}  // namespace

std::vector<diagnostica> controlla_misure(const nomi_costruzione& nomi, const tabella_testata& testata,
                                          const std::vector<cella>& percorso,
                                          const std::optional<linea_controllata>& linea) {
  std::vector<diagnostica> trovati;
  const int64_t lunghezza = testata[voce_treno_e_percorso].secondo;
  const luogo_correlato la_lunghezza{
      byte_del_file(nomi.sim, posizione_in_testata(testata, voce_treno_e_percorso, &voce::secondo)),
      "la lunghezza del percorso, " + std::to_string(lunghezza) + " m"};
  const std::string del_percorso = "il percorso di " + std::to_string(lunghezza) + " m di " + citato(nomi.sim);

  const int64_t celle = ultima_cella_della_griglia(lunghezza) + 1;
  const auto presenti = static_cast<int64_t>(percorso.size());
  if (presenti != celle) {
    // At the first cell too many, or at the end where cells are missing.
    const int64_t fine = celle >= 0 && celle < presenti ? celle : presenti;
    trovati.push_back(errore_in(nomi.dat, static_cast<uint64_t>(fine) * byte_per_cella,
                                "ha " + std::to_string(presenti) + " celle, ma " + del_percorso + " ne vuole " +
                                    std::to_string(celle) + std::string(non_una_costruzione)));
    trovati.back().correlati.push_back(la_lunghezza);
  }

  const int64_t ultimo_metro = ultimo_metro_del_tracciato(lunghezza);
  if (linea && linea->ultimo_metro != ultimo_metro) {
    // At the first x too many, or where the x stop too soon and the y begin.
    const int64_t fine = ultimo_metro >= 0 ? std::min<int64_t>(linea->ultimo_metro, ultimo_metro) + 1 : 0;
    trovati.push_back(errore_in(nomi.linea, posizione_elemento(linea->dati, fine),
                                "ha i punti dei metri 0-" + std::to_string(linea->ultimo_metro) + ", ma " +
                                    del_percorso + " ne vuole 0-" + std::to_string(ultimo_metro) +
                                    std::string(non_una_costruzione)));
    trovati.back().correlati.push_back(la_lunghezza);
  }
  return trovati;
}

std::vector<diagnostica> controlla_timbri(const nomi_costruzione& nomi, const tabella_testata& testata,
                                          const std::vector<cella>& percorso) {
  std::vector<diagnostica> trovati;
  const voce& scenario = testata[voce_scenario];
  auto nel_record = [&](int r, auto membro) { return posizione_in_testata(testata, r, membro); };
  const std::vector<luogo_correlato> i_nomi = {
      {byte_del_file(nomi.sim, nel_record(voce_treno, &voce::nome)),
       "il numero del treno, " + citato(da_cp1252_a_utf8(testata[voce_treno].nome))},
      {byte_del_file(nomi.sim, nel_record(voce_scenario, &voce::nome)),
       "il nome dello scenario, " + citato(da_cp1252_a_utf8(scenario.nome))}};
  auto codice_diverso = [&](const std::string& file, uint64_t byte, std::string chi, int64_t trovato,
                            int64_t atteso, std::string_view dove_i_nomi) {
    trovati.push_back(errore_in(file, byte,
                                chi + " ha il codice di gara " + std::to_string(trovato) +
                                    ", ma il numero del treno e il nome dello scenario " + std::string(dove_i_nomi) +
                                    " danno " + std::to_string(atteso)));
    trovati.back().correlati = i_nomi;
  };
  auto timbro_diverso = [&](const std::string& file, uint64_t byte, std::string chi, int64_t trovato,
                            int64_t timbro) {
    trovati.push_back(errore_in(file, byte,
                                chi + " ha " + std::to_string(trovato) + " dove ogni costruzione mette il timbro " +
                                    std::to_string(timbro)));
  };

  if (scenario.intero1 != timbro_testata)
    timbro_diverso(nomi.sim, nel_record(voce_scenario, &voce::intero1), "la voce 85", scenario.intero1,
                   timbro_testata);
  if (const int32_t st = codice_gara_st(testata); scenario.orario != st)
    codice_diverso(nomi.sim, nel_record(voce_scenario, &voce::orario), "la voce 85", scenario.orario, st,
                   "delle voci 86 e 85");

  constexpr uint64_t cella_1 = byte_per_cella;
  if (percorso.size() < 2) {
    trovati.push_back(errore_in(nomi.dat, percorso.size() * byte_per_cella,
                                "la griglia finisce prima della cella 1, dove ogni costruzione mette il timbro " +
                                    std::to_string(timbro_griglia) + " e il codice di gara"));
    return trovati;
  }
  const cella& prima = percorso[1];
  if (prima.dato1 != timbro_griglia)
    timbro_diverso(nomi.dat, cella_1 + posizione_nella_cella(&cella::dato1), "la cella 1", prima.dato1,
                   timbro_griglia);
  if (const int16_t og = basso16(codice_gara_og(testata)); prima.dato2 != og)
    codice_diverso(nomi.dat, cella_1 + posizione_nella_cella(&cella::dato2), "la cella 1", prima.dato2, og,
                   "di " + citato(nomi.sim));
  return trovati;
}

std::vector<diagnostica> controlla_costruzione(const nomi_costruzione& nomi, const tabella_testata& testata,
                                               const std::vector<cella>& percorso,
                                               const std::optional<linea_controllata>& linea) {
  std::vector<diagnostica> trovati = controlla_misure(nomi, testata, percorso, linea);
  for (diagnostica& d : controlla_timbri(nomi, testata, percorso)) trovati.push_back(std::move(d));
  return trovati;
}
