// The three decoders: for each file the walk of its records' field lists
// (or of its elements) through the little-endian cursor, the room each
// group of fields needs checked before it is read.
#include "ispeziona/decodifica.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <optional>
#include <type_traits>

#include "model/nomi_file.h"
#include "model/cursore.h"
#include "model/file_binari.h"

namespace {

std::string byte_s(size_t n) { return std::to_string(n) + " byte"; }

// REQUIRES: `fine` is in lower case.
bool finisce_con(std::string_view s, std::string_view fine) {
  if (s.size() < fine.size()) return false;
  return std::equal(fine.begin(), fine.end(), s.end() - static_cast<std::ptrdiff_t>(fine.size()),
                    [](char f, char c) { return std::tolower(static_cast<unsigned char>(c)) == f; });
}

}  // namespace

errore_formato::errore_formato(size_t offset, const std::string& motivo)
    : std::runtime_error("offset " + std::to_string(offset) + ": " + motivo), offset(offset), motivo(motivo) {}

tipo_file tipo_da_nome(std::string_view nome) {
  if (finisce_con(nome, fine_file_linea)) return tipo_file::linea;
  if (finisce_con(nome, fine_file_sim)) return tipo_file::sim;
  if (finisce_con(nome, fine_file_dat)) return tipo_file::dat;
  return tipo_file::sconosciuto;
}

std::vector<cella> decodifica_percorso(std::string_view dati) {
  if (dati.empty()) throw errore_formato(0, "file vuoto: una griglia ha almeno una cella di 15 byte");
  if (size_t resto = dati.size() % byte_per_cella; resto != 0)
    throw errore_formato(dati.size() - resto, "dimensione di " + byte_s(dati.size()) +
                                                  ", non multipla di 15: l'ultima cella ha solo " + byte_s(resto));
  cursore_lettura c(dati);
  std::vector<cella> percorso(dati.size() / byte_per_cella);
  for (size_t i = 0; i < percorso.size(); ++i) {
    cella& x = percorso[i];
    const size_t inizio = c.posizione();
    campi_cella([&](std::string_view, auto membro) {
      x.*membro = c.numero<std::remove_reference_t<decltype(x.*membro)>>();
    });
    if (nome_tipo_cella(x.tipo).empty())
      throw errore_formato(inizio, "cella " + std::to_string(i) + " di tipo sconosciuto " + std::to_string(x.tipo));
  }
  return percorso;
}

tabella_testata decodifica_testata(std::string_view dati) {
  cursore_lettura c(dati);
  tabella_testata testata;
  for (int r = 0; r < numero_voci; ++r) {
    voce& v = testata[static_cast<size_t>(r)];
    const std::string quale = "voce " + std::to_string(r);
    if (!c.bastano(byte_prima_del_nome))
      throw errore_formato(c.posizione(), quale + " troncata: servono almeno " + byte_s(byte_prima_del_nome) +
                                              ", ne restano " + std::to_string(c.restanti()));
    campi_voce([&](std::string_view, auto membro) {
      using tipo = std::remove_reference_t<decltype(v.*membro)>;
      if constexpr (std::is_same_v<tipo, std::string>) {
        // The text's length, the text, then the room for the fields after it.
        const size_t posizione_lunghezza = c.posizione();
        const size_t n = c.parola();
        if (!c.bastano(n))
          throw errore_formato(posizione_lunghezza, quale + ": testo troncato, lunghezza " + std::to_string(n) +
                                                        " ma restano " + byte_s(c.restanti()));
        v.*membro = c.testo(n);
        if (!c.bastano(byte_dopo_il_nome))
          throw errore_formato(c.posizione(), quale + " troncata dopo il testo: servono " + byte_s(byte_dopo_il_nome) +
                                                  ", ne restano " + std::to_string(c.restanti()));
      } else {
        v.*membro = c.numero<tipo>();
      }
    });
  }
  if (!c.finito())
    throw errore_formato(c.posizione(), byte_s(c.restanti()) + " dopo la voce " + std::to_string(numero_voci - 1) + ", l'ultima");
  return testata;
}

int32_t controlla_tracciato(std::string_view dati) {
  size_t elementi = 0;
  for (cursore_lettura c(dati); !c.finito(); ++elementi) {
    const size_t inizio = c.posizione();
    auto quale = [elementi] { return "elemento " + std::to_string(elementi); };
    if (!c.bastano(2)) throw errore_formato(inizio, quale() + " troncato: codice di tipo incompleto");
    const uint16_t codice = c.parola();
    const std::optional<tipo_elemento> tipo = tipo_da_codice(codice);
    if (!tipo)
      throw errore_formato(inizio, quale() + " con codice di tipo sconosciuto " + std::to_string(codice) +
                                       " (attesi 0, 2 o 5)");
    const size_t valore = tabella_tracciato::byte_di(*tipo) - 2;
    if (!c.bastano(valore))
      throw errore_formato(inizio, quale() + " troncato: " +
                                       (*tipo == tipo_elemento::intero ? "intero a 16 bit" : "double") + " incompleto");
    c.salta(valore);
  }
  if (elementi < 2 || elementi % 2 != 0)
    throw errore_formato(dati.size(), std::to_string(elementi) +
                                          " elementi: servono le x e le y di ogni metro, un numero pari e almeno 2");
  const size_t metri = elementi / 2;
  if (metri - 1 > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
    throw errore_formato(dati.size(), "troppi elementi");
  return static_cast<int32_t>(metri - 1);
}

tabella_tracciato decodifica_tracciato(std::string_view dati) {
  // The types are checked and counted first, so the table is made at its
  // size and filled straight from the bytes (the largest line has two
  // million elements).
  const int32_t ultimo = controlla_tracciato(dati);
  const size_t metri = static_cast<size_t>(ultimo) + 1, elementi = 2 * metri;
  tabella_tracciato t;
  t.crea(ultimo);
  cursore_lettura c(dati);
  for (size_t i = 0; i < elementi; ++i) {
    const auto m = static_cast<int32_t>(i % metri);
    const int k = static_cast<int>(i / metri);
    const std::optional<tipo_elemento> tipo = tipo_da_codice(c.parola());
    if (tipo == tipo_elemento::intero) t.metti_intero(m, k, c.integer());
    if (tipo == tipo_elemento::doppio) t.metti_doppio(m, k, c.doppio());
  }
  return t;
}

ruolo_voce ruolo_di(int r, const voce& v) {
  if (r < voce_prima_stazione) return ruolo_voce::nessuno;
  if (r >= voce_primo_riferimento && r <= voce_ultimo_riferimento) return ruolo_voce::riferimento_progressiva;
  if (r == voce_treno_e_percorso) return ruolo_voce::treno_e_percorso;
  if (r == voce_scenario) return ruolo_voce::scenario;
  if (r == voce_treno) return ruolo_voce::treno;
  if (v == voce{}) return ruolo_voce::vuota;
  // Not cleared, so a record whose numbers are all 0 has a text: a sign.
  voce senza_testo = v;
  senza_testo.nome.clear();
  return senza_testo == voce{} ? ruolo_voce::cartello : ruolo_voce::stazione;
}

std::string_view nome_ruolo(ruolo_voce ruolo) {
  switch (ruolo) {
    case ruolo_voce::nessuno: return "nessun ruolo";
    case ruolo_voce::stazione: return "stazione";
    case ruolo_voce::cartello: return "cartello";
    case ruolo_voce::vuota: return "vuota";
    case ruolo_voce::riferimento_progressiva: return "riferimento progressiva";
    case ruolo_voce::treno_e_percorso: return "treno e percorso";
    case ruolo_voce::scenario: return "scenario";
    case ruolo_voce::treno: return "treno";
  }
  return {};
}
