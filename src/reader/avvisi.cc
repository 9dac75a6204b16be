#include "reader/avvisi.h"

#include <algorithm>
#include <tuple>

#include "model/windows1252.h"
#include "reader/chiavi_note.h"

namespace {

std::string metri(int64_t m) { return std::to_string(m) + " m"; }

std::string con_suggerimento(std::string testo, std::string_view suggerimento) {
  if (!suggerimento.empty()) testo += "; " + std::string(suggerimento);
  return testo;
}

// An optional sign and digits only.
bool solo_cifre(std::string_view t) {
  if (!t.empty() && (t.front() == '+' || t.front() == '-')) t.remove_prefix(1);
  if (t.empty()) return false;
  for (char c : t)
    if (c < '0' || c > '9') return false;
  return true;
}

// A key field with a tab between two words ("pendenza<TAB>600"): most
// likely a tab typed where a comma belongs. The hint that says so, or empty.
std::string tabulazione(std::string_view campo) {
  const size_t t = campo.find('\t');
  if (t == std::string_view::npos || t == 0) return {};
  const size_t dopo = campo.find_first_not_of(" \t", t);
  if (dopo == std::string_view::npos) return {};
  const std::string_view prima = campo.substr(0, campo.find_last_not_of(" \t", t) + 1);
  std::string_view poi = campo.substr(dopo);
  poi = poi.substr(0, poi.find_first_of(" \t"));
  return "; tra " + campo_citato(prima) + " e " + campo_citato(poi) +
         " c'è una tabulazione, che non separa i campi: al suo posto va una virgola";
}

}  // namespace

diagnostica avviso(sorgente_build s, int32_t riga, int32_t colonna, codice_avviso c, std::string testo) {
  diagnostica d;
  d.livello = gravita::avviso;
  d.dove.sorgente = s;
  d.dove.riga = riga;
  d.dove.colonna = colonna;
  d.codice = c;
  d.testo = std::move(testo);
  return d;
}



std::string testo_chiave_sconosciuta(std::string_view campo, std::string_view suggerimento) {
  return con_suggerimento(campo_citato(campo) + " non è una chiave: la riga è scartata", suggerimento) +
         tabulazione(campo);
}

std::string testo_sezione_sconosciuta(std::string_view campo, sorgente_build s, std::string_view suggerimento) {
  const char* dove = s == sorgente_build::linea ? "della linea" : "del treno";
  return con_suggerimento("la sezione " + campo_citato(campo) + " non è una sezione del sorgente " + dove,
                          suggerimento);
}

std::string testo_valori_in_piu(std::string_view campo, std::string_view chiave) {
  std::string t = campo_citato(campo) + " è in più sulla riga di " + campo_citato(chiave) +
                  ", dopo i valori che la chiave legge: è scartato";
  if (solo_cifre(campo)) t += "; un numero si scrive senza spazi né virgole tra le cifre";
  return t;
}

std::string testo_numero_spezzato(std::string_view numero, std::string_view campo, std::string_view chiave) {
  return "il numero " + campo_citato(numero) +
         " ha uno spazio tra le cifre ed è letto come due valori: quelli dopo scorrono di un posto, e " +
         campo_citato(campo) + " è in più sulla riga di " + campo_citato(chiave) +
         " ed è scartato; un numero si scrive senza spazi tra le cifre";
}

std::string testo_valori_mancanti(std::string_view chiave, int32_t riga_seguente) {
  const std::string dalla_riga = "sono presi dalla riga " + std::to_string(riga_seguente);
  // A header is read as a key when it holds a key's words ("[montagna]").
  if (intestazione(chiave))
    return "l'intestazione " + campo_citato(chiave) +
           " contiene le parole di una chiave ed è letta come quella chiave: i suoi valori " + dalla_riga;
  return "la riga di " + campo_citato(chiave) + " finisce prima dei valori che la chiave legge: quelli che mancano " +
         dalla_riga + tabulazione(chiave);
}

std::string testo_numero_arrotondato(std::string_view numero, int64_t valore) {
  return "il numero " + campo_citato(numero) + " ha una parte decimale: è arrotondato a " + std::to_string(valore);
}

std::string testo_separatore_migliaia(std::string_view numero, int64_t valore) {
  std::string senza_punto(numero);
  senza_punto.erase(senza_punto.find('.'), 1);
  return "il numero " + campo_citato(numero) + " è letto come " + std::to_string(valore) +
         ": il punto separa i decimali; se sono migliaia, si scrivono senza punto (" + campo_citato(senza_punto) + ")";
}

std::string testo_fuori_ordine(std::string_view elemento, int32_t posizione, int32_t raggiunta) {
  return std::string(elemento) + " a " + metri(posizione) + " dopo una riga a " + metri(raggiunta) +
         ": le righe vanno in ordine di posizione, e questa non torna indietro (il suo valore comincia dopo i " +
         metri(raggiunta) + ")";
}



std::string testo_elemento_coperto(std::string_view stazione, std::string_view di_coperto, int32_t metro) {
  return "la fermata della stazione " + campo_citato(stazione) + " cade nella cella " + std::string(di_coperto) +
         " a " + metri(metro) + ", che sparisce dalla griglia";
}

std::string testo_oltre_fine(std::string_view elemento, int32_t posizione, int32_t lunghezza) {
  return std::string(elemento) + " a " + metri(posizione) + ", oltre la fine del percorso a " + metri(lunghezza);
}

std::string testo_area_oltre_fine(std::string_view nome, int32_t inizio, int32_t fine, int32_t lunghezza) {
  return "l'area della stazione " + campo_citato(nome) + " (da " + std::to_string(inizio) + " a " + metri(fine) +
         ") va oltre la fine del percorso a " + metri(lunghezza) +
         ", e non è l'ultima stazione: solo il capolinea può uscirne";
}

std::string testo_treno_senza_generale(bool vuoto) {
  if (vuoto) return "il sorgente del treno è vuoto: il file non ha nessuna riga, e velocità e aderenza restano 0";
  return "il sorgente del treno non ha la riga \"[generale]\": nessuna sua riga è letta, e velocità e aderenza "
         "restano 0";
}

std::string testo_numero_con_virgola(std::string_view numero, std::string_view campo, std::string_view chiave) {
  return "il numero " + campo_citato(numero) +
         " ha una virgola tra le cifre ed è letto come due valori: quelli dopo scorrono di un posto, e " +
         campo_citato(campo) + " è in più sulla riga di " + campo_citato(chiave) +
         " ed è scartato; la virgola separa i valori, e ogni valore è un numero intero";
}

std::string testo_valore_negativo(std::string_view di_cosa, int32_t valore, std::string_view effetto) {
  return "la lunghezza " + std::string(di_cosa) + " è negativa (" + metri(valore) + "): " + std::string(effetto) +
         "; una lunghezza si scrive senza segno";
}

std::string testo_fine_prima_inizio(int32_t inizio, int32_t fine) {
  return "il tratto di montagna finisce a " + metri(fine) + ", prima del suo inizio a " + metri(inizio) +
         ": non copre nessuna cella; i valori sono inizio e fine, in quest'ordine";
}

std::string testo_commento_letto(std::string_view campo, std::string_view chiavi) {
  const std::string primo(1, campo.front());
  return "la riga comincia con \"" + primo + "\", ma i sorgenti non hanno commenti: è letta come " +
         std::string(chiavi) + "; per una nota che non sia letta, metti un trattino all'inizio della riga (\"-" +
         primo + "\")";
}

std::string testo_indicatore_illeggibile(char coppia, int32_t sinistro, int32_t destro, int64_t letta) {
  const std::string scritta = std::to_string(int64_t{sinistro} * 100 + destro);
  std::string t = "la coppia " + std::string(1, coppia) + " dell'indicatore (" + std::to_string(sinistro) + ", " +
                  std::to_string(destro) + ", cioè " + scritta + " km/h) ";
  t += letta >= 0 ? "diventa " + std::to_string(letta) + " km/h" : "non si rilegge come velocità";
  return t + ": il valore sinistro sono le centinaia, il destro il resto da 0 a 95 a passi di 5 (160 km/h è "
             "\"1, 60\")";
}

