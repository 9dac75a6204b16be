// The file names of a scenario and the check of its two names.
#include "model/nomi_file.h"

#include <algorithm>

#include "model/testo_autore.h"
#include "model/windows1252.h"

nomi_file nomi_dei_file(std::string_view nome_scenario, std::string_view numero_treno) {
  const std::string nome(nome_scenario);
  const std::string treno = nome + "_" + std::string(numero_treno);
  return {nome + std::string(fine_sorgente_linea), treno + std::string(fine_sorgente_treno),
          treno + std::string(fine_note),          treno + std::string(fine_rallentamenti),
          treno + std::string(fine_scheda),        nome + std::string(fine_file_linea),
          treno + std::string(fine_file_sim),      treno + std::string(fine_file_dat)};
}

namespace {

// The rules on ASCII characters, which read the same in Windows-1252 and in
// UTF-8.
std::optional<std::string> problema_ascii(std::string_view nome) {
  if (nome.empty()) return "è vuoto";
  for (char c : nome) {
    if (c == '/' || c == '\\') return "contiene un separatore di cartelle: i file finirebbero fuori dalla loro cartella";
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return "contiene un carattere di controllo";
    if (std::string_view("\":*?<>|").find(c) != std::string_view::npos)
      return std::string("contiene il carattere ") + c + ", che un nome di file di Windows non può contenere";
  }
  if (nome.find("..") != std::string_view::npos) return "contiene \"..\"";
  return std::nullopt;
}

// The five bytes Windows-1252 leaves undefined, which name the C1 controls
// of the same value once a name is a file name (model/windows1252.h).
std::optional<std::string> problema_non_definiti(std::string_view nome_cp1252) {
  for (char c : nome_cp1252) {
    const auto b = static_cast<unsigned char>(c);
    if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) {
      static constexpr char cifre[] = "0123456789ABCDEF";
      return std::string("contiene un carattere di controllo (0x") + cifre[b >> 4] + cifre[b & 0xF] +
             ", che Windows-1252 non definisce)";
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> problema_nome(std::string_view nome) {
  if (auto p = problema_ascii(nome)) return p;
  return problema_non_definiti(nome);
}

std::optional<std::string> problema_nome_utf8(std::string_view nome) {
  if (auto p = problema_ascii(nome)) return p;
  const testo_convertito t = converti_testo_autore(nome, codifica_testo::utf8);
  if (t.errore && t.errore->carattere == 0) return "non è UTF-8 valido";
  if (t.errore)
    return "contiene il carattere " + nome_unicode(t.errore->carattere) + " \"" + carattere_utf8(t.errore->carattere) +
           "\", che non esiste in Windows-1252, la codifica dei file dello scenario";
  if (da_cp1252_a_utf8(t.testo) != nome) return "contiene un carattere che non esiste in Windows-1252";
  return problema_non_definiti(t.testo);
}

std::optional<std::string> problema_lunghezza(std::string_view nome_scenario, std::string_view numero_treno) {
  const nomi_file n = nomi_dei_file(nome_scenario, numero_treno);
  size_t piu_lungo = 0;
  for (const std::string* s : {&n.sorgente_linea, &n.sorgente_treno, &n.note, &n.rallentamenti, &n.scheda,
                               &n.file_linea, &n.file_sim, &n.file_dat})
    piu_lungo = std::max(piu_lungo, s->size() + fine_temporanea.size());
  if (piu_lungo <= nome_file_massimo) return std::nullopt;
  return "i due nomi danno nomi di file troppo lunghi: " + std::to_string(piu_lungo) + " byte, al massimo " +
         std::to_string(nome_file_massimo);
}
