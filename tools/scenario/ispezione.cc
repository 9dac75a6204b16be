// The inspect command: reading the file, choosing its decoder by name, and
// the text and JSON forms of each decoded structure.
#include "ispezione.h"

#include <charconv>
#include <span>
#include <sstream>
#include <cstdio>
#include <string>
#include <type_traits>
#include <utility>

#include "costruzione.h"
#include "ispeziona/decodifica.h"
#include "model/windows1252.h"
#include "platform/testo_percorso.h"

namespace {

using json = nlohmann::json;

std::string riga_formattata(const char* formato, auto... valori) {
  char b[256];
  std::snprintf(b, sizeof b, formato, valori...);
  return b;
}

// --- the route grid ------------------------------------------------------------

// Cells without a feature that are the same in every byte fold into one row.
bool si_piegano(const cella& a, const cella& b) { return a.tipo == libero && a == b; }

// The table's columns after the kind: every other field of a cell, as wide
// as its type's values need, titled by its name or a short form of it.
std::string_view titolo_colonna(std::string_view campo) {
  static constexpr std::pair<std::string_view, std::string_view> brevi[] = {
      {"avvicinamento", "avvic"}, {"montagna", "mont"}, {"velocita", "vel"}, {"pendenza", "pend"}, {"aderenza", "ader"}};
  for (const auto& [nome, breve] : brevi)
    if (nome == campo) return breve;
  return campo;
}

template <class F>
void colonne_cella(F&& f) {
  campi_cella([&](std::string_view campo, auto membro) {
    if (campo == "tipo") return;
    f(campo, membro, sizeof(cella{}.*membro) == 1 ? 5 : 6);
  });
}

// Rows [da, a] of the grid, in order.
std::vector<std::pair<size_t, size_t>> righe_percorso(const std::vector<cella>& p) {
  std::vector<std::pair<size_t, size_t>> righe;
  for (size_t i = 0; i < p.size();) {
    size_t k = i;
    while (k + 1 < p.size() && si_piegano(p[i], p[k + 1])) ++k;
    righe.emplace_back(i, k);
    i = k + 1;
  }
  return righe;
}

// --- the header records ----------------------------------------------------------

// The numeric fields of a record in file order: all but `nome`.
std::vector<std::pair<std::string_view, int64_t>> campi_numerici(const voce& v) {
  std::vector<std::pair<std::string_view, int64_t>> campi;
  campi_voce([&](std::string_view campo, auto membro) {
    if constexpr (!std::is_same_v<decltype(membro), std::string voce::*>) campi.emplace_back(campo, v.*membro);
  });
  return campi;
}

// What a field means in a record of the given role; empty when the role
// gives it no meaning.
std::string_view significato(ruolo_voce ruolo, std::string_view campo) {
  static const std::pair<std::string_view, std::string_view> stazione[] = {
      {"tipo", "tipo di stazione"}, {"primo", "inizio dell'area, m"}, {"secondo", "fine dell'area, m"},
      {"terzo", "posizione, m"},    {"orario", "orario, s"}};
  static const std::pair<std::string_view, std::string_view> riferimento[] = {
      {"primo", "metro del percorso"}, {"secondo", "progressiva"}, {"terzo", "terzo valore"}};
  static const std::pair<std::string_view, std::string_view> treno_percorso[] = {
      {"primo", "massa frenata, %"}, {"secondo", "lunghezza del percorso, m"}, {"terzo", "vetture"}};
  static const std::pair<std::string_view, std::string_view> scenario[] = {
      {"primo", "sfondo uno"}, {"secondo", "sfondo tre"}, {"terzo", "sfondo due"},
      {"intero1", "timbro"},   {"orario", "codice di gara pesato"}};
  static const std::pair<std::string_view, std::string_view> treno[] = {
      {"primo", "ripetizione segnali uno"}, {"secondo", "ripetizione segnali due"}, {"terzo", "numero di codici"},
      {"intero1", "sabbia"}, {"intero3", "orologio, ore"}, {"intero4", "orologio, minuti"},
      {"intero5", "orologio, secondi"}};
  std::span<const std::pair<std::string_view, std::string_view>> tabella;
  switch (ruolo) {
    case ruolo_voce::stazione: tabella = stazione; break;
    case ruolo_voce::riferimento_progressiva: tabella = riferimento; break;
    case ruolo_voce::treno_e_percorso: tabella = treno_percorso; break;
    case ruolo_voce::scenario: tabella = scenario; break;
    case ruolo_voce::treno: tabella = treno; break;
    case ruolo_voce::nessuno:
    case ruolo_voce::cartello:
    case ruolo_voce::vuota: break;
  }
  for (const auto& [c, s] : tabella)
    if (c == campo) return s;
  return {};
}

std::string ora(int64_t secondi) {
  if (secondi < 0) return {};
  return riga_formattata("%02lld:%02lld:%02lld", static_cast<long long>(secondi / 3600),
                         static_cast<long long>(secondi / 60 % 60), static_cast<long long>(secondi % 60));
}

// --- the line file ---------------------------------------------------------------

bool mostrato(int32_t m, int32_t ultimo, bool tutti, int32_t passo) {
  return tutti || m < 3 || m > ultimo - 3 || m % passo == 0;
}

std::string testo_elemento(const tabella_tracciato& t, int32_t m, int k) {
  switch (t.tipo(m, k)) {
    case tipo_elemento::vuoto:
      return "-";
    case tipo_elemento::intero:
      return std::to_string(static_cast<int>(t.valore(m, k)));
    case tipo_elemento::doppio: {
      // The shortest text that reads back as the same double.
      char b[64];
      auto fine = std::to_chars(b, b + sizeof b, t.valore(m, k)).ptr;
      std::string s(b, fine);
      // A whole double still reads as a double, unlike a 16-bit integer.
      if (s.find_first_of(".eni") == std::string::npos) s += ".0";
      return s;
    }
  }
  return {};
}

json json_elemento(const tabella_tracciato& t, int32_t m, int k) {
  switch (t.tipo(m, k)) {
    case tipo_elemento::vuoto:
      return nullptr;
    case tipo_elemento::intero:
      return static_cast<int>(t.valore(m, k));
    case tipo_elemento::doppio:
      return t.valore(m, k);
  }
  return nullptr;
}

}  // namespace

void testo_percorso(const std::vector<cella>& p, std::ostream& o) {
  o << "velocita = km/h diviso 5; pendenza = pendenza + 100; righe \"a-b\": celle uguali senza elemento\n";
  std::string titoli = riga_formattata("%-11s %-24s", "cella", "tipo");
  colonne_cella([&](std::string_view campo, auto, int larghezza) {
    titoli += riga_formattata(" %*s", larghezza, std::string(titolo_colonna(campo)).c_str());
  });
  o << titoli << '\n';
  for (const auto& [da, a] : righe_percorso(p)) {
    const cella& c = p[da];
    std::string celle = da == a ? std::to_string(da) : std::to_string(da) + "-" + std::to_string(a);
    std::string tipo = std::to_string(c.tipo) + " " + std::string(nome_tipo_cella(c.tipo));
    std::string riga = riga_formattata("%-11s %-24s", celle.c_str(), tipo.c_str());
    colonne_cella([&](std::string_view, auto membro, int larghezza) {
      riga += riga_formattata(" %*d", larghezza, static_cast<int>(c.*membro));
    });
    o << riga << '\n';
  }
}

json json_percorso(const std::vector<cella>& p) {
  json righe = json::array();
  for (const auto& [da, a] : righe_percorso(p)) {
    const cella& c = p[da];
    json riga = {{"da", da}, {"a", a}, {"nome_tipo", nome_tipo_cella(c.tipo)}};
    campi_cella([&](std::string_view campo, auto membro) { riga[std::string(campo)] = c.*membro; });
    righe.push_back(std::move(riga));
  }
  return {{"celle", p.size()}, {"righe", righe}};
}

void testo_testata(const tabella_testata& t, std::ostream& o) {
  for (int r = 0; r < numero_voci;) {
    const voce& v = t[static_cast<size_t>(r)];
    const ruolo_voce ruolo = ruolo_di(r, v);
    if (ruolo == ruolo_voce::vuota) {
      int k = r;
      while (k + 1 < numero_voci && ruolo_di(k + 1, t[static_cast<size_t>(k + 1)]) == ruolo_voce::vuota) ++k;
      o << (k == r ? "voce " + std::to_string(r) + ": vuota\n"
                   : "voci " + std::to_string(r) + "-" + std::to_string(k) + ": vuote\n");
      r = k + 1;
      continue;
    }
    std::string riga = "voce " + std::to_string(r) + " (" + std::string(nome_ruolo(ruolo)) + "):";
    if (v == voce{}) riga += " vuota";
    // The scenario's and the train's records always show their names.
    if (!v.nome.empty() || ruolo == ruolo_voce::scenario || ruolo == ruolo_voce::treno)
      riga += " nome \"" + da_cp1252_a_utf8(v.nome) + "\"";
    // Every field the role names, and any other that is not 0; a station
    // shows all of its fields.
    for (const auto& [campo, valore] : campi_numerici(v)) {
      std::string_view s = significato(ruolo, campo);
      if (valore == 0 && s.empty() && ruolo != ruolo_voce::stazione) continue;
      riga += " " + std::string(campo) + " " + std::to_string(valore);
      if (!s.empty()) riga += " (" + std::string(s) + ")";
      if (campo == "orario" && ruolo == ruolo_voce::stazione) riga += " " + ora(valore);
    }
    o << riga << '\n';
    ++r;
  }
}

json json_testata(const tabella_testata& t) {
  json voci = json::array();
  for (int r = 0; r < numero_voci; ++r) {
    const voce& v = t[static_cast<size_t>(r)];
    json j = {{"indice", r}, {"ruolo", nome_ruolo(ruolo_di(r, v))}, {"nome", da_cp1252_a_utf8(v.nome)}};
    for (const auto& [campo, valore] : campi_numerici(v)) j[std::string(campo)] = valore;
    voci.push_back(std::move(j));
  }
  return {{"voci", voci}};
}

void testo_tracciato(const tabella_tracciato& t, bool tutti, int32_t passo, std::ostream& o) {
  const int32_t ultimo = t.ultimo_metro();
  if (!tutti) o << "un metro ogni " << passo << ", con i primi e gli ultimi tre (--all: tutti)\n";
  o << riga_formattata("%-8s %-24s %s\n", "metro", "x", "y");
  for (int32_t m = 0; m <= ultimo; ++m) {
    if (!mostrato(m, ultimo, tutti, passo)) continue;
    o << riga_formattata("%-8d %-24s %s\n", m, testo_elemento(t, m, 0).c_str(), testo_elemento(t, m, 1).c_str());
  }
}

json json_tracciato(const tabella_tracciato& t, bool tutti, int32_t passo) {
  const int32_t ultimo = t.ultimo_metro();
  json punti = json::array();
  for (int32_t m = 0; m <= ultimo; ++m) {
    if (!mostrato(m, ultimo, tutti, passo)) continue;
    punti.push_back({{"metro", m}, {"x", json_elemento(t, m, 0)}, {"y", json_elemento(t, m, 1)}});
  }
  json j = {{"metri", static_cast<int64_t>(ultimo) + 1}, {"tutti", tutti}, {"punti", punti}};
  if (!tutti) j["passo"] = passo;
  return j;
}

int comando_inspect(piattaforma& sistema, const richiesta_ispezione& q, std::ostream& stampa, std::ostream& errori) {
  const std::string nome = testo_percorso(q.file);
  const tipo_file tipo = tipo_da_nome(testo_percorso(q.file.filename()));
  if (tipo == tipo_file::sconosciuto) {
    errori << "\"" << nome << "\": il nome non finisce con \"_linea.dat\", \".sim\" o \".dat\"\n";
    return uscita_uso_errato;
  }
  if (q.passo < 1) {
    errori << "--step deve essere almeno 1\n";
    return uscita_uso_errato;
  }
  std::string dati;
  if (esito e = sistema.leggi(q.file, dati); !e) {
    errori << "impossibile leggere \"" << nome << "\": " << e.motivo << '\n';
    return uscita_uso_errato;
  }

  static constexpr const char* descrizioni[] = {"file della linea (tracciato)", "voci di testata",
                                                "griglia del percorso"};
  static constexpr const char* chiavi[] = {"tracciato", "testata", "percorso"};
  const auto indice = static_cast<size_t>(tipo);
  json j;
  std::ostringstream testo;
  try {
    switch (tipo) {
      case tipo_file::linea: {
        tabella_tracciato t = decodifica_tracciato(dati);
        if (q.json) j = json_tracciato(t, q.tutti, q.passo);
        else testo_tracciato(t, q.tutti, q.passo, testo);
        break;
      }
      case tipo_file::sim: {
        tabella_testata t = decodifica_testata(dati);
        if (q.json) j = json_testata(t);
        else testo_testata(t, testo);
        break;
      }
      case tipo_file::dat: {
        std::vector<cella> p = decodifica_percorso(dati);
        if (q.json) j = json_percorso(p);
        else testo_percorso(p, testo);
        break;
      }
      case tipo_file::sconosciuto:
        break;
    }
  } catch (const errore_formato& e) {
    errori << "\"" << nome << "\" non è un file valido (" << descrizioni[indice] << "): offset " << e.offset << ": "
           << e.motivo << '\n';
    return uscita_errore;
  }
  if (q.json) {
    j["file"] = nome;
    j["tipo_file"] = chiavi[indice];
    j["byte"] = dati.size();
    stampa << j.dump(2, ' ', false, json::error_handler_t::replace) << '\n';
  } else {
    stampa << "\"" << nome << "\": " << descrizioni[indice] << ", " << dati.size() << " byte\n" << testo.str();
  }
  return uscita_riuscita;
}
