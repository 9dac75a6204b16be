#include "reader/lettore_campi.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "model/arrotonda.h"
#include "model/errore_lettura.h"

namespace {

bool spazio(char c) { return c == ' ' || c == '\t'; }
bool fine_riga(char c) { return c == '\r' || c == '\n'; }
bool cifra(char c) { return c >= '0' && c <= '9'; }

// A token's value: optional sign, digits, optionally '.' and digits.
// `arrotondato` tells whether a fraction was rounded away.
int64_t valore_token(std::string_view t, bool& arrotondato) {
  while (!t.empty() && spazio(t.front())) t.remove_prefix(1);
  while (!t.empty() && spazio(t.back())) t.remove_suffix(1);
  if (t.empty()) return 0;
  size_t i = 0;
  if (t[i] == '+' || t[i] == '-') ++i;
  size_t inizio_cifre = i;
  while (i < t.size() && cifra(t[i])) ++i;
  size_t cifre_intere = i - inizio_cifre;
  bool frazione = false;
  if (i < t.size() && t[i] == '.') {
    frazione = true;
    ++i;
    while (i < t.size() && cifra(t[i])) ++i;
  }
  if (cifre_intere == 0 || i != t.size()) throw errore_lettura{"campo numerico non valido: \"" + std::string(t) + "\""};

  std::string_view numero = t;
  if (numero.front() == '+') numero.remove_prefix(1);
  if (!frazione) {
    int64_t v = 0;
    auto [fine, ec] = std::from_chars(numero.data(), numero.data() + numero.size(), v);
    if (ec != std::errc() || fine != numero.data() + numero.size())
      throw errore_lettura{"numero troppo grande: " + std::string(t)};
    return v;
  }
  double d = 0;
  auto [fine, ec] = std::from_chars(numero.data(), numero.data() + numero.size(), d);
  if (ec != std::errc() || fine != numero.data() + numero.size() || !std::isfinite(d))
    throw errore_lettura{"numero non valido: " + std::string(t)};
  const double intero = arrotonda(d);
  arrotondato = intero != d;
  d = intero;
  if (d < -9.0e18 || d > 9.0e18) throw errore_lettura{"numero troppo grande: " + std::string(t)};
  return static_cast<int64_t>(d);
}

// "3.000", "-12.500": one to three digits, the first not 0, a point and
// three digits, as Italian writes thousands. Every value the sources hold is
// whole, so such a number is far likelier thousands than decimals.
bool come_migliaia(std::string_view t) {
  while (!t.empty() && spazio(t.front())) t.remove_prefix(1);
  while (!t.empty() && spazio(t.back())) t.remove_suffix(1);
  if (!t.empty() && (t.front() == '+' || t.front() == '-')) t.remove_prefix(1);
  const size_t punto = t.find('.');
  if (punto < 1 || punto > 3 || t.size() != punto + 4 || t.front() == '0') return false;
  return std::all_of(t.begin(), t.end(), [](char c) { return c == '.' || cifra(c); }) &&
         t.find('.', punto + 1) == std::string_view::npos;
}

}  // namespace

void lettore_campi::richiedi_dati() {
  campo_aperto_ = false;
  if (finito()) throw errore_lettura{"il file finisce prima del campo atteso"};
}

void lettore_campi::apri_campo() {
  inizio_campo_ = {riga_, static_cast<int32_t>(pos_ - inizio_riga_ + 1)};
  byte_campo_ = pos_;
  campo_aperto_ = true;
}

void lettore_campi::chiudi_campo(size_t fine) {
  fine_campo_ = {riga_, static_cast<int32_t>(fine - inizio_riga_ + 1)};
}

void lettore_campi::avvisa_numero(codice_avviso c, std::string testo, std::optional<std::string> sostituto) {
  diagnostica d = avviso(sorgente_, inizio_campo_.riga, inizio_campo_.colonna, c, std::move(testo));
  d.dove.riga_fine = fine_campo_.riga;
  d.dove.colonna_fine = fine_campo_.colonna;
  if (sostituto) {
    luogo_testo dove = d.dove;
    d.rimedio = correzione{std::move(dove), *sostituto, "scrivi " + *sostituto};
  }
  avvisi_->push_back(std::move(d));
}

void lettore_campi::salta_spazi() {
  while (!finito() && spazio(testo_[pos_])) ++pos_;
}

bool lettore_campi::a_fine_riga() const { return !finito() && fine_riga(testo_[pos_]); }

void lettore_campi::consuma_fine_riga() {
  if (testo_[pos_] == '\r' && pos_ + 1 < testo_.size() && testo_[pos_ + 1] == '\n') ++pos_;
  ++pos_;
  ++riga_;
  inizio_riga_ = pos_;
}

std::string lettore_campi::testo() {
  richiedi_dati();
  salta_spazi();
  apri_campo();
  std::string campo;
  if (!finito() && testo_[pos_] == '"') {
    ++pos_;
    size_t inizio = pos_;
    while (!finito() && testo_[pos_] != '"' && !fine_riga(testo_[pos_])) ++pos_;
    campo.assign(testo_.substr(inizio, pos_ - inizio));
    const bool chiuso = !finito() && testo_[pos_] == '"';
    if (chiuso) ++pos_;
    chiudi_campo(pos_);
    if (chiuso) {
      while (!finito() && testo_[pos_] != ',' && !fine_riga(testo_[pos_])) ++pos_;
    }
  } else {
    size_t inizio = pos_;
    while (!finito() && testo_[pos_] != ',' && !fine_riga(testo_[pos_])) ++pos_;
    std::string_view t = testo_.substr(inizio, pos_ - inizio);
    while (!t.empty() && spazio(t.back())) t.remove_suffix(1);
    campo.assign(t);
    chiudi_campo(inizio + t.size());
  }
  if (!finito()) {
    if (testo_[pos_] == ',')
      ++pos_;
    else
      consuma_fine_riga();
  }
  campo_aperto_ = false;
  return campo;
}

int64_t lettore_campi::numero() {
  richiedi_dati();
  salta_spazi();
  apri_campo();
  std::string_view token;
  if (!finito() && testo_[pos_] == '"') {
    size_t inizio = ++pos_;
    while (!finito() && testo_[pos_] != '"' && !fine_riga(testo_[pos_])) ++pos_;
    token = testo_.substr(inizio, pos_ - inizio);
    if (!finito() && testo_[pos_] == '"') ++pos_;
  } else {
    size_t inizio = pos_;
    while (!finito() && testo_[pos_] != ',' && !spazio(testo_[pos_]) && !fine_riga(testo_[pos_])) ++pos_;
    token = testo_.substr(inizio, pos_ - inizio);
  }
  chiudi_campo(pos_);
  const bool fermato_da_spazio = !finito() && spazio(testo_[pos_]);
  salta_spazi();
  if (fermato_da_spazio && !token.empty() && !finito() && testo_[pos_] != ',' && !a_fine_riga()) {
    numero_spezzato_ = inizio_campo_;
    byte_spezzato_ = byte_campo_;
  }
  if (!finito()) {
    if (testo_[pos_] == ',')
      ++pos_;
    else if (a_fine_riga())
      consuma_fine_riga();
  }
  bool arrotondato = false;
  const int64_t v = valore_token(token, arrotondato);
  if (avvisi_ && come_migliaia(token)) {
    // The fix writes the number as the author most likely meant it.
    std::string senza_punto(token);
    std::erase_if(senza_punto, [](char c) { return c == '.' || spazio(c); });
    avvisa_numero(codice_avviso::separatore_migliaia, testo_separatore_migliaia(token, v), std::move(senza_punto));
  } else if (arrotondato && avvisi_) {
    avvisa_numero(codice_avviso::numero_arrotondato, testo_numero_arrotondato(token, v), std::nullopt);
  }
  return v;
}

// The field stays open until its value has passed its type's check.
template <typename T>
T lettore_campi::numero_di(T (*tipo)(int64_t)) {
  const T v = tipo(numero());
  campo_aperto_ = false;
  return v;
}

int32_t lettore_campi::numero_long() { return numero_di(in_long); }
int16_t lettore_campi::numero_integer() { return numero_di(in_integer); }
uint8_t lettore_campi::numero_byte() { return numero_di(in_byte); }
