#include "reader/chiavi_note.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "diagnosi/distanza.h"
#include "model/windows1252.h"

namespace {

constexpr std::string_view chiavi_generale[] = {
    "lunghezza percorso",           "progressiva chilometrica uno", "progressiva chilometrica due",
    "progressiva chilometrica tre", "sfondo uno",                   "sfondo due",
    "sfondo tre",                   "ripetizione segnali 4 codici", "ripetizione segnali 9 codici",
};
constexpr std::string_view chiavi_profilo[] = {
    "pendenza", "curvas1", "curvas2",  "curvas3",          "curvas4",            "curvas5", "curvas6", "curvad1",
    "curvad2",  "curvad3", "curvad4",  "curvad5",          "curvad6",            "montagna", "indicatori_v_max",
    "cartello indicatore",
};
constexpr std::string_view chiavi_treno[] = {
    "numero vetture", "percentuale massa frenata", "velocita", "aderenza", "orologio", "sabbia",
    "segnale",        "rallentamento",             "abbattimento", "stazione",
};
constexpr std::string_view sezioni_linea[] = {"[generale]", "[curve]",       "[pendenze]", "[montagne]",
                                              "[cartelli]", "[indicazioni]", "[fine]"};
constexpr std::string_view sezioni_treno[] = {"[generale]", "[aderenze]", "[vel_limite]", "[stazioni]",
                                              "[rallentamenti]", "[segnali]", "[codici]", "[fine]"};

// The words by which the reader recognises each key, as its phases test
// them (sezione_generale.cc, profilo_linea.cc, sorgente_treno.cc); the exact
// keys are matched as written, the others in lower case.
struct parole_chiave {
  std::string_view nome;
  std::string_view prima, seconda;  // `seconda` may be empty
  bool esatta = false;
};
constexpr parole_chiave parole_generale[] = {
    {"lunghezza percorso", "lunghezza", "percorso"},
    {"progressiva chilometrica", "progressiva", "tre", true},
    {"progressiva chilometrica", "progressiva", "due", true},
    {"progressiva chilometrica", "progressiva", "uno", true},
    {"sfondo", "sfondo", "uno", true},
    {"sfondo", "sfondo", "due", true},
    {"sfondo", "sfondo", "tre", true},
    {"ripetizione segnali", "segnali", "ripetizione", true},
};
constexpr parole_chiave parole_profilo[] = {
    {"pendenza", "pendenza", ""},         {"curva", "curva", ""},
    {"montagna", "montagna", ""},         {"indicatori_v_max", "indicatori_v", ""},
    {"cartello indicatore", "indicat", "cartello"},
};
constexpr parole_chiave parole_treno[] = {
    {"percentuale massa frenata", "frenata", "massa"},
    {"numero vetture", "vetture", ""},
    {"velocita", "velocit", ""},
    {"aderenza", "aderenza", ""},
    {"orologio", "orologio", ""},
    {"sabbia", "sabbia", ""},
    {"segnale", "segnale", ""},
    {"rallentamento", "rallentamento", ""},
    {"abbattimento", "abbattimento", ""},
    {"stazione", "stazione", ""},
};

// How far a misspelling may be from a known spelling to be taken for it.
size_t limite(std::string_view nota) { return std::min<size_t>(3, std::max<size_t>(1, nota.size() / 3)); }

std::string_view senza_spazi(std::string_view t) {
  const size_t i = t.find_first_not_of(" \t");
  if (i == t.npos) return {};
  return t.substr(i, t.find_last_not_of(" \t") - i + 1);
}

std::string citata(std::string_view nota) { return "\"" + da_cp1252_a_utf8(nota) + "\""; }

// The spellings of `note` nearest to `campo` (lower case), within each one's
// limit; none when more than two are equally near (a hint that names a few of
// many would mislead).
std::vector<std::string_view> vicine(std::string_view campo, std::span<const std::string_view> note) {
  size_t migliore = 4;
  std::vector<std::string_view> trovate;
  for (std::string_view n : note) {
    const size_t d = distanza(campo, n, limite(n));
    if (d > limite(n) || d > migliore) continue;
    if (d < migliore) trovate.clear();
    migliore = d;
    trovate.push_back(n);
  }
  if (trovate.size() > 2) trovate.clear();
  return trovate;
}

// "forse \"a\"?" or "forse \"a\" o \"b\"?" for the spellings of `note`
// nearest to `campo`; empty when there are none.
std::string forse(std::string_view campo, std::span<const std::string_view> note) {
  const std::vector<std::string_view> v = vicine(campo, note);
  if (v.empty()) return {};
  std::string t = "forse " + citata(v[0]);
  if (v.size() == 2) t += " o " + citata(v[1]);
  return t + "?";
}

bool tra(std::string_view campo, std::span<const std::string_view> note) {
  return std::find(note.begin(), note.end(), campo) != note.end();
}

}  // namespace

std::span<const std::string_view> chiavi_della_parte(parte_testo p) {
  switch (p) {
    case parte_testo::generale_linea: return chiavi_generale;
    case parte_testo::profilo_linea: return chiavi_profilo;
    case parte_testo::treno: return chiavi_treno;
  }
  return {};
}

std::span<const std::string_view> sezioni_del_sorgente(sorgente_build s) {
  return s == sorgente_build::treno ? std::span<const std::string_view>(sezioni_treno)
                                    : std::span<const std::string_view>(sezioni_linea);
}

std::string suggerimento_chiave(std::string_view campo, parte_testo p) {
  const std::string minuscolo = minuscole_cp1252(senza_spazi(campo));
  // One of this part's keys but for capitals: only the exact keys are not
  // recognised so.
  if (tra(minuscolo, chiavi_della_parte(p))) return "la chiave " + citata(minuscolo) + " si scrive in minuscolo";
  // A key of another part, where it is not read.
  for (parte_testo altra : {parte_testo::generale_linea, parte_testo::profilo_linea, parte_testo::treno}) {
    if (altra == p || !tra(minuscolo, chiavi_della_parte(altra))) continue;
    const std::string chiave = citata(minuscolo);
    if (altra == parte_testo::treno) return chiave + " è una chiave del sorgente del treno";
    if (p == parte_testo::treno) return chiave + " è una chiave del sorgente della linea";
    if (altra == parte_testo::generale_linea) return chiave + " vale solo nella sezione [generale] della linea";
    return chiave + " vale solo dopo la sezione [generale] della linea";
  }
  return forse(minuscolo, chiavi_della_parte(p));
}

std::optional<std::string> chiave_proposta(std::string_view campo, parte_testo p) {
  const std::string minuscolo = minuscole_cp1252(senza_spazi(campo));
  if (tra(minuscolo, chiavi_della_parte(p))) return minuscolo;
  for (parte_testo altra : {parte_testo::generale_linea, parte_testo::profilo_linea, parte_testo::treno})
    if (tra(minuscolo, chiavi_della_parte(altra))) return std::nullopt;
  const std::vector<std::string_view> v = vicine(minuscolo, chiavi_della_parte(p));
  if (v.size() != 1) return std::nullopt;
  return std::string(v[0]);
}

std::optional<std::string> sezione_proposta(std::string_view campo, sorgente_build s) {
  const std::string minuscolo = minuscole_cp1252(senza_spazi(campo));
  const sorgente_build altra = s == sorgente_build::treno ? sorgente_build::linea : sorgente_build::treno;
  if (tra(minuscolo, sezioni_del_sorgente(altra))) return std::nullopt;
  const std::vector<std::string_view> v = vicine(minuscolo, sezioni_del_sorgente(s));
  if (v.size() != 1) return std::nullopt;
  return std::string(v[0]);
}

bool intestazione(std::string_view campo) {
  const std::string_view t = senza_spazi(campo);
  return t.size() >= 2 && t.front() == '[' && t.back() == ']';
}

bool sezione_nota(std::string_view campo, sorgente_build s) {
  return tra(minuscole_cp1252(senza_spazi(campo)), sezioni_del_sorgente(s));
}

std::string suggerimento_sezione(std::string_view campo, sorgente_build s) {
  const std::string minuscolo = minuscole_cp1252(senza_spazi(campo));
  const sorgente_build altra = s == sorgente_build::treno ? sorgente_build::linea : sorgente_build::treno;
  if (tra(minuscolo, sezioni_del_sorgente(altra)))
    return std::string("è una sezione del sorgente ") + (altra == sorgente_build::linea ? "della linea" : "del treno");
  return forse(minuscolo, sezioni_del_sorgente(s));
}

std::string chiavi_lette(std::string_view campo, parte_testo p, bool curve) {
  using elenco = std::span<const parole_chiave>;
  const elenco parole = p == parte_testo::generale_linea ? elenco(parole_generale)
                        : p == parte_testo::profilo_linea ? elenco(parole_profilo)
                                                          : elenco(parole_treno);
  const std::string minuscolo = minuscole_cp1252(campo);
  std::vector<std::string_view> lette;
  for (const parole_chiave& k : parole) {
    const std::string_view in = k.esatta ? campo : std::string_view(minuscolo);
    if (in.find(k.prima) == in.npos || in.find(k.seconda) == in.npos) continue;
    if (k.nome == "curva" && !curve) continue;
    if (std::find(lette.begin(), lette.end(), k.nome) == lette.end()) lette.push_back(k.nome);
  }
  if (lette.empty()) return {};
  if (lette.size() == 1) return "la chiave " + citata(lette[0]);
  std::string t = "le chiavi " + citata(lette[0]);
  for (size_t i = 1; i < lette.size(); ++i) t += (i + 1 == lette.size() ? " e " : ", ") + citata(lette[i]);
  return t;
}

