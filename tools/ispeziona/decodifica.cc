// The three decoders: a bounds-checked little-endian cursor over the bytes,
// and for each file the walk that mirrors its byte image field by field.
#include "ispeziona/decodifica.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <limits>

#include "driver/nomi_file.h"
#include "model/file_binari.h"

namespace {

// Reads little-endian numbers from a byte buffer; every read is checked
// against the end first, so no input can make it read out of bounds.
class cursore {
 public:
  explicit cursore(std::string_view dati) : dati_(dati) {}

  size_t posizione() const { return pos_; }
  size_t restanti() const { return dati_.size() - pos_; }
  bool finito() const { return pos_ == dati_.size(); }

  uint8_t byte() { return static_cast<uint8_t>(dati_[pos_++]); }
  uint16_t parola() {
    uint16_t v = byte();
    return static_cast<uint16_t>(v | (byte() << 8));
  }
  uint32_t parola_lunga() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(byte()) << (8 * i);
    return v;
  }
  uint64_t parola_doppia() {
    uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v |= static_cast<uint64_t>(byte()) << (8 * i);
    return v;
  }
  int16_t integer() { return static_cast<int16_t>(parola()); }
  int32_t long_() { return static_cast<int32_t>(parola_lunga()); }
  void salta(size_t n) { pos_ += n; }
  std::string testo(size_t n) {
    std::string s(dati_.substr(pos_, n));
    pos_ += n;
    return s;
  }

  // REQUIRES before each group of reads: at least `n` bytes remain.
  bool bastano(size_t n) const { return restanti() >= n; }

 private:
  std::string_view dati_;
  size_t pos_ = 0;
};

std::string byte_s(size_t n) { return std::to_string(n) + " byte"; }

// REQUIRES: `fine` is in lower case.
bool finisce_con(std::string_view s, std::string_view fine) {
  if (s.size() < fine.size()) return false;
  return std::equal(fine.begin(), fine.end(), s.end() - static_cast<std::ptrdiff_t>(fine.size()),
                    [](char f, char c) { return std::tolower(static_cast<unsigned char>(c)) == f; });
}

constexpr size_t testa_voce = 16;  // tipo, primo, secondo, terzo, marca, length of nome
constexpr size_t coda_voce = 18;   // intero1..5, opzione1..4, orario

}  // namespace

errore_formato::errore_formato(size_t offset, const std::string& motivo)
    : std::runtime_error("offset " + std::to_string(offset) + ": " + motivo), offset(offset), motivo(motivo) {}

tipo_file tipo_da_nome(std::string_view nome) {
  if (finisce_con(nome, fine_file_linea)) return tipo_file::linea;
  if (finisce_con(nome, fine_file_sim)) return tipo_file::sim;
  if (finisce_con(nome, fine_file_dat)) return tipo_file::dat;
  return tipo_file::sconosciuto;
}

std::string_view nome_tipo_cella(uint8_t tipo) {
  switch (tipo) {
    case libero: return "libero";
    case segnale: return "segnale";
    case fine_rallentamento: return "fine_rallentamento";
    case inizio_rallentamento: return "inizio_rallentamento";
    case avviso_rallentamento: return "avviso_rallentamento";
    case preavviso_rallentamento: return "preavviso_rallentamento";
    case indicatore_v_max: return "indicatore_v_max";
    case stazione: return "stazione";
    case segno_montagna: return "segno_montagna";
    case abbattimento: return "abbattimento";
    case abbattimento_nullo: return "abbattimento_nullo";
    case cartello: return "cartello";
    default: return {};
  }
}

std::vector<cella> decodifica_percorso(std::string_view dati) {
  if (dati.empty()) throw errore_formato(0, "file vuoto: una griglia ha almeno una cella di 15 byte");
  if (size_t resto = dati.size() % byte_per_cella; resto != 0)
    throw errore_formato(dati.size() - resto, "dimensione di " + byte_s(dati.size()) +
                                                  ", non multipla di 15: l'ultima cella ha solo " + byte_s(resto));
  cursore c(dati);
  std::vector<cella> percorso(dati.size() / byte_per_cella);
  for (size_t i = 0; i < percorso.size(); ++i) {
    cella& x = percorso[i];
    size_t inizio = c.posizione();
    x.tipo = c.byte();
    if (nome_tipo_cella(x.tipo).empty())
      throw errore_formato(inizio, "cella " + std::to_string(i) + " di tipo sconosciuto " + std::to_string(x.tipo));
    x.dato1 = c.integer();
    x.dato2 = c.integer();
    x.dato3 = c.integer();
    x.dato4 = c.integer();
    x.tempo = c.byte();
    x.avvicinamento = c.byte();
    x.montagna = c.byte();
    x.velocita = c.byte();
    x.pendenza = c.byte();
    x.aderenza = c.byte();
  }
  return percorso;
}

tabella_testata decodifica_testata(std::string_view dati) {
  cursore c(dati);
  tabella_testata testata;
  for (int r = 0; r < numero_voci; ++r) {
    voce& v = testata[static_cast<size_t>(r)];
    const std::string quale = "voce " + std::to_string(r);
    if (!c.bastano(testa_voce))
      throw errore_formato(c.posizione(), quale + " troncata: servono almeno " + byte_s(testa_voce) + ", ne restano " +
                                              std::to_string(c.restanti()));
    v.tipo = c.byte();
    v.primo = c.long_();
    v.secondo = c.long_();
    v.terzo = c.long_();
    v.marca = c.byte();
    size_t posizione_lunghezza = c.posizione();
    size_t n = c.parola();
    if (!c.bastano(n))
      throw errore_formato(posizione_lunghezza, quale + ": testo troncato, lunghezza " + std::to_string(n) +
                                                    " ma restano " + byte_s(c.restanti()));
    v.nome = c.testo(n);
    if (!c.bastano(coda_voce))
      throw errore_formato(c.posizione(), quale + " troncata dopo il testo: servono " + byte_s(coda_voce) +
                                              ", ne restano " + std::to_string(c.restanti()));
    v.intero1 = c.integer();
    v.intero2 = c.integer();
    v.intero3 = c.integer();
    v.intero4 = c.integer();
    v.intero5 = c.integer();
    v.opzione1 = c.byte();
    v.opzione2 = c.byte();
    v.opzione3 = c.byte();
    v.opzione4 = c.byte();
    v.orario = c.long_();
  }
  if (!c.finito())
    throw errore_formato(c.posizione(), byte_s(c.restanti()) + " dopo la voce " + std::to_string(numero_voci - 1) + ", l'ultima");
  return testata;
}

int32_t controlla_tracciato(std::string_view dati) {
  size_t elementi = 0;
  for (cursore c(dati); !c.finito(); ++elementi) {
    const size_t inizio = c.posizione();
    auto quale = [elementi] { return "elemento " + std::to_string(elementi); };
    if (!c.bastano(2)) throw errore_formato(inizio, quale() + " troncato: codice di tipo incompleto");
    const uint16_t codice = c.parola();
    if (codice == static_cast<uint16_t>(tipo_elemento::intero)) {
      if (!c.bastano(2)) throw errore_formato(inizio, quale() + " troncato: intero a 16 bit incompleto");
      c.salta(2);
    } else if (codice == static_cast<uint16_t>(tipo_elemento::doppio)) {
      if (!c.bastano(8)) throw errore_formato(inizio, quale() + " troncato: double incompleto");
      c.salta(8);
    } else if (codice != static_cast<uint16_t>(tipo_elemento::vuoto)) {
      throw errore_formato(inizio, quale() + " con codice di tipo sconosciuto " + std::to_string(codice) +
                                       " (attesi 0, 2 o 5)");
    }
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
  cursore c(dati);
  for (size_t i = 0; i < elementi; ++i) {
    const auto m = static_cast<int32_t>(i % metri);
    const int k = static_cast<int>(i / metri);
    const uint16_t codice = c.parola();
    if (codice == static_cast<uint16_t>(tipo_elemento::intero)) t.metti_intero(m, k, c.integer());
    if (codice == static_cast<uint16_t>(tipo_elemento::doppio))
      t.metti_doppio(m, k, std::bit_cast<double>(c.parola_doppia()));
  }
  return t;
}

bool voce_vuota(const voce& v) {
  return v.tipo == 0 && v.primo == 0 && v.secondo == 0 && v.terzo == 0 && v.marca == 0 && v.nome.empty() &&
         v.intero1 == 0 && v.intero2 == 0 && v.intero3 == 0 && v.intero4 == 0 && v.intero5 == 0 && v.opzione1 == 0 &&
         v.opzione2 == 0 && v.opzione3 == 0 && v.opzione4 == 0 && v.orario == 0;
}

ruolo_voce ruolo_di(int r, const voce& v) {
  if (r < voce_prima_stazione) return ruolo_voce::nessuno;
  if (r >= voce_primo_riferimento && r <= voce_ultimo_riferimento) return ruolo_voce::riferimento_progressiva;
  if (r == voce_treno_e_percorso) return ruolo_voce::treno_e_percorso;
  if (r == voce_scenario) return ruolo_voce::scenario;
  if (r == voce_treno) return ruolo_voce::treno;
  if (voce_vuota(v)) return ruolo_voce::vuota;
  // Not empty, so a record whose numbers are all 0 has a text: a sign.
  voce senza_testo = v;
  senza_testo.nome.clear();
  return voce_vuota(senza_testo) ? ruolo_voce::cartello : ruolo_voce::stazione;
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
