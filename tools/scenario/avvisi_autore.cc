#include "avvisi_autore.h"

#include <optional>

#include "luogo_sorgente.h"

namespace {

std::optional<int32_t> nota(int32_t n) { return n > 0 ? std::optional(n) : std::nullopt; }

}  // namespace

const std::string& file_dell_avviso(const avviso_build& a, const std::string& linea, const std::string& treno) {
  return a.sorgente == sorgente_build::treno ? treno : linea;
}

std::string riga_avviso(const avviso_build& a, const std::string& linea, const std::string& treno) {
  const std::optional<int32_t> riga = nota(a.riga);
  return prefisso_luogo(file_dell_avviso(a, linea, treno), riga, riga ? nota(a.colonna) : std::nullopt) +
         "attenzione: " + a.testo + " [" + std::string(nome_avviso(a.codice)) + "]";
}

nlohmann::json json_avviso(const avviso_build& a, const std::string& linea, const std::string& treno) {
  const bool con_riga = a.riga > 0;
  return {{"source", file_dell_avviso(a, linea, treno)},
          {"line", con_riga ? nlohmann::json(a.riga) : nlohmann::json(nullptr)},
          {"column", con_riga && a.colonna > 0 ? nlohmann::json(a.colonna) : nlohmann::json(nullptr)},
          {"code", nome_avviso(a.codice)},
          {"text", a.testo}};
}
