// The reader's warnings, taken beside the reading from what it has just done
// (reader/lettura.h): dropped key fields and what they were, fields left over
// on a key's line, keys whose values ran onto the next line, list lines out of
// order, a station's stop over a feature read before it, features past the
// route's end.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <optional>
#include <utility>

#include "model/area_stazione.h"
#include "model/arrotonda.h"
#include "model/cella.h"
#include "model/dimensioni.h"
#include "reader/avvisi.h"
#include "reader/chiavi_note.h"
#include "reader/lettura.h"
#include "model/windows1252.h"

namespace {

bool vuoto(std::string_view campo) { return campo.find_first_not_of(" \t") == std::string_view::npos; }

bool cifra(char c) { return c >= '0' && c <= '9'; }
bool spazio(char c) { return c == ' ' || c == '\t'; }
bool fine_riga(std::string_view t, size_t i) { return i >= t.size() || t[i] == '\r' || t[i] == '\n'; }

// A number written with a decimal comma ("30,5") among the values of a line
// of `t` from `da` (the key) to `a` (the field left over): its first byte and
// length. Only where the line spaces its values (", 30,5, 300"), so a run
// written tight on purpose ("1,1,0", "13,31") is not taken for one.
std::optional<std::pair<size_t, size_t>> numero_con_virgola(std::string_view t, size_t da, size_t a) {
  for (size_t i = t.find(',', da); i < a; i = t.find(',', i + 1)) {
    size_t p = i + 1;
    while (p < a && spazio(t[p])) ++p;
    if (p == i + 1) continue;  // no blank after the comma before it
    size_t q = p;
    while (q < a && cifra(t[q])) ++q;
    if (q == p || q >= a || t[q] != ',') continue;
    size_t r = q + 1;
    while (r < a && cifra(t[r])) ++r;
    if (r == q + 1) continue;
    size_t dopo = r;
    while (dopo < a && spazio(t[dopo])) ++dopo;
    // The next comma spaced too; the field left over is further on.
    if (dopo >= a || t[dopo] != ',' || !(fine_riga(t, dopo + 1) || spazio(t[dopo + 1]))) continue;
    return std::pair{p, r - p};
  }
  return std::nullopt;
}

// Optional sign and digits only.
bool numerico(std::string_view t) {
  if (!t.empty() && (t.front() == '-' || t.front() == '+')) t.remove_prefix(1);
  return !t.empty() && std::all_of(t.begin(), t.end(), cifra);
}

}  // namespace

diagnostica& lettura::avvisa(luogo dove, codice_avviso c, std::string testo, luogo fine) {
  diagnostica& d = f.avvisi.emplace_back(avviso(sorgente, dove.riga, dove.colonna, c, std::move(testo)));
  d.dove.riga_fine = fine.riga;
  d.dove.colonna_fine = fine.colonna;
  return d;
}

void lettura::proponi(diagnostica& d, std::optional<std::string> sostituto) {
  if (!sostituto) return;
  const std::string scritto = da_cp1252_a_utf8(*sostituto);
  d.rimedio = correzione{d.dove, scritto, "scrivi \"" + scritto + "\""};
}

std::string_view lettura::chiave_a(size_t byte) const {
  std::string_view t = std::string_view(contenuto).substr(std::min(byte, contenuto.size()));
  t = t.substr(0, t.find_first_of(",\r\n"));
  return t.substr(0, t.find_last_not_of(" \t") + 1);
}

void lettura::dopo_chiave(parte_testo parte) {
  // Every key reads at least one value, so a field read since the key's
  // means it was recognised.
  if (campi->inizio_campo() != luogo_chiave) {
    riga_valori = luogo_chiave.riga;
    byte_chiave_valori = byte_chiave;
    return;
  }
  scartata(parte);
}

void lettura::scartata(parte_testo parte) {
  if (!chiave_a_inizio_riga) return in_piu();
  riga_valori = 0;
  const std::string& campo = f.riga;
  if (vuoto(campo)) return;  // an empty line
  if (intestazione(campo)) {
    if (!sezione_nota(campo, sorgente))
      proponi(avvisa(luogo_chiave, codice_avviso::sezione_sconosciuta,
                     testo_sezione_sconosciuta(campo, sorgente, suggerimento_sezione(campo, sorgente)), fine_chiave),
              sezione_proposta(campo, sorgente));
    return;
  }
  proponi(avvisa(luogo_chiave, codice_avviso::chiave_sconosciuta,
                 testo_chiave_sconosciuta(campo, suggerimento_chiave(campo, parte)), fine_chiave),
          chiave_proposta(campo, parte));
}

void lettura::trattino() {
  // At the start of a line the rule switches the line off, as authors use it.
  if (chiave_a_inizio_riga)
    riga_valori = 0;
  else
    in_piu();
}

void lettura::in_piu() {
  if (riga_valori != luogo_chiave.riga || vuoto(f.riga)) return;
  riga_valori = 0;  // once a line
  // A number with a blank in it earlier on the line, read as two ("3 700"),
  // pushed every value after it one place on: that number is the place to
  // fix. When the field left over is its own second half ("12 000"), the
  // field says it.
  const luogo spezzato = campi->numero_spezzato();
  const size_t da = campi->numero_spezzato_byte();
  if (spezzato.riga == luogo_chiave.riga && da < byte_chiave &&
      contenuto.find(',', da) < std::min(byte_chiave, contenuto.size())) {
    std::string_view numero = std::string_view(contenuto).substr(da);
    numero = numero.substr(0, numero.find_first_of(",\r\n"));
    numero = numero.substr(0, numero.find_last_not_of(" \t") + 1);
    avvisa(spezzato, codice_avviso::valori_in_piu,
           testo_numero_spezzato(numero, f.riga, chiave_a(byte_chiave_valori)));
    return;
  }
  // Likewise a number with a decimal comma ("30,5"), when what is left over
  // is a number.
  if (numerico(f.riga)) {
    if (auto v = numero_con_virgola(contenuto, byte_chiave_valori, byte_chiave)) {
      const size_t inizio_riga = contenuto.find_last_of("\r\n", v->first) + 1;  // npos + 1 is 0
      const auto colonna = static_cast<int32_t>(std::min<size_t>(v->first - inizio_riga + 1, INT32_MAX));
      const auto fine = static_cast<int32_t>(std::min<size_t>(colonna + v->second, INT32_MAX));
      avvisa({luogo_chiave.riga, colonna}, codice_avviso::valori_in_piu,
             testo_numero_con_virgola(std::string_view(contenuto).substr(v->first, v->second), f.riga,
                                      chiave_a(byte_chiave_valori)),
             {luogo_chiave.riga, fine});
      return;
    }
  }
  avvisa(luogo_chiave, codice_avviso::valori_in_piu, testo_valori_in_piu(f.riga, chiave_a(byte_chiave_valori)));
}

void lettura::controlla_valori_mancanti() {
  const luogo ultimo = campi->inizio_campo();
  if (luogo_chiave.riga == 0 || ultimo.riga <= luogo_chiave.riga) return;
  // At the end of the key's line, where the values are missing.
  const size_t fine = std::min(contenuto.find_first_of("\r\n", byte_chiave), contenuto.size());
  const int64_t colonna = int64_t{luogo_chiave.colonna} + static_cast<int64_t>(fine - byte_chiave);
  const luogo dove{luogo_chiave.riga, static_cast<int32_t>(std::min<int64_t>(colonna, INT32_MAX))};
  avvisa(dove, codice_avviso::valori_mancanti, testo_valori_mancanti(chiave_a(byte_chiave), ultimo.riga));
}

void lettura::oltre_fine(std::string_view elemento, int32_t posizione) {
  const int32_t lunghezza = f.testata[voce_treno_e_percorso].secondo;
  if (posizione > lunghezza)
    avvisa(luogo_posizione, codice_avviso::oltre_fine_percorso, testo_oltre_fine(elemento, posizione, lunghezza));
}

void lettura::in_ordine(std::string_view elemento, std::optional<int32_t>& raggiunta, int32_t posizione) {
  if (raggiunta && posizione < *raggiunta)
    avvisa(luogo_posizione, codice_avviso::fuori_ordine, testo_fuori_ordine(elemento, posizione, *raggiunta));
  raggiunta = std::max(raggiunta.value_or(posizione), posizione);
}

void lettura::fermata_sopra(const cella& c, int64_t i, std::string_view nome) {
  if (cella_libera(c)) return;
  const std::string di_coperto = di_elemento(elemento_della_cella(c, f.testata));
  // A point feature in cell i stands at metre 50 (i - 1).
  const auto metro = static_cast<int32_t>(std::clamp<int64_t>((i - 1) * metri_per_cella, INT32_MIN, INT32_MAX));
  avvisa(luogo_posizione, codice_avviso::elemento_coperto, testo_elemento_coperto(nome, di_coperto, metro));
}

void lettura::aree_oltre_fine() {
  // The last station read, the terminus, may stand with its area across the
  // end, as a stop at the end of the line does; a station after it may not.
  const int32_t lunghezza = f.testata[voce_treno_e_percorso].secondo;
  for (int32_t n = voce_prima_stazione; n < contatore_stazioni - 1; ++n) {
    const voce& v = f.testata[static_cast<size_t>(n)];
    if (area_oltre_fine(v, lunghezza))
      avvisa(luogo_stazioni[static_cast<size_t>(n)], codice_avviso::area_oltre_fine,
             testo_area_oltre_fine(v.nome, v.primo, v.secondo, lunghezza));
  }
}

void lettura::negativo(const campo_letto& campo, std::string_view di_cosa, int32_t valore, const std::string& effetto) {
  if (valore < 0)
    avvisa(campo.inizio, codice_avviso::valore_negativo, testo_valore_negativo(di_cosa, valore, effetto), campo.fine);
}

void lettura::commento(parte_testo parte) {
  const std::string& campo = f.riga;
  if (campo.empty() || std::string_view(";#/'").find(campo.front()) == std::string_view::npos) return;
  const std::string chiavi = chiavi_lette(campo, parte, f.crea_linea != 0);
  if (chiavi.empty()) return;
  diagnostica& d = avvisa(luogo_chiave, codice_avviso::commento_letto, testo_commento_letto(campo, chiavi), fine_chiave);
  luogo_testo inizio = d.dove;
  inizio.riga_fine = inizio.riga;
  inizio.colonna_fine = inizio.colonna;
  d.rimedio = correzione{inizio, "-", "metti un trattino all'inizio della riga"};
}

void lettura::indicatore(const std::array<int32_t, 3>& sinistri, const std::array<int32_t, 3>& destri,
                         const std::array<campo_letto, 3>& campi_destri) {
  for (size_t i = 0; i < 3; ++i) {
    // What the build writes, as the simulator reads it: hundreds in
    // twenties, the rest in fives.
    const double scritto = arrotonda(destri[i] / 5.0 + sinistri[i] * 20.0);
    const int64_t letta = scritto < 0 ? -1 : static_cast<int64_t>(scritto) / 20 * 100 + static_cast<int64_t>(scritto) % 20 * 5;
    if (letta == int64_t{sinistri[i]} * 100 + destri[i]) continue;
    avvisa(campi_destri[i].inizio, codice_avviso::indicatore_illeggibile,
           testo_indicatore_illeggibile(static_cast<char>('a' + i), sinistri[i], destri[i], letta),
           campi_destri[i].fine);
  }
}
