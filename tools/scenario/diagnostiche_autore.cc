#include "diagnostiche_autore.h"

#include "diagnosi/riga_gnu.h"

namespace {

using json = nlohmann::json;

json o_nullo(int32_t v) { return v > 0 ? json(v) : json(nullptr); }

std::string_view nome_gravita(gravita g) {
  switch (g) {
    case gravita::errore: return "error";
    case gravita::avviso: return "warning";
    case gravita::nota: return "note";
  }
  return "?";
}

// The place's keys into `j`; the file named by `file`.
void luogo(json& j, const luogo_testo& l, const std::string& file) {
  const bool con_riga = l.riga > 0;
  j["file"] = file.empty() ? json(nullptr) : json(file);
  j["line"] = o_nullo(l.riga);
  j["column"] = con_riga ? o_nullo(l.colonna) : json(nullptr);
  j["end_line"] = con_riga ? o_nullo(l.riga_fine) : json(nullptr);
  j["end_column"] = con_riga && l.riga_fine > 0 ? o_nullo(l.colonna_fine) : json(nullptr);
  j["byte"] = l.byte ? json(*l.byte) : json(nullptr);
}

}  // namespace

json json_diagnostica(const diagnostica& d, const nomi_sorgenti& nomi) {
  const std::string& file = nomi.di(d.dove);
  json j;
  j["severity"] = nome_gravita(d.livello);
  j["code"] = codice_di(d);
  luogo(j, d.dove, file);
  j["metres"] = d.metri ? json(*d.metri) : json(nullptr);
  j["text"] = d.testo;
  j["loses_content"] = perde_contenuto(d);
  j["message"] = riga_gnu(d, file);
  j["quote"] = d.citata.empty() && d.dove.riga == 0 ? json(nullptr) : json(d.citata);
  j["fix"] = nullptr;
  if (d.rimedio) {
    json f;
    luogo(f, d.rimedio->dove, file);
    f["text"] = d.rimedio->testo;
    f["title"] = d.rimedio->titolo;
    j["fix"] = f;
  }
  j["related"] = json::array();
  for (const luogo_correlato& c : d.correlati) {
    json r;
    luogo(r, c.dove, nomi.di(c.dove));
    r["text"] = c.testo;
    j["related"].push_back(r);
  }
  return j;
}

json json_avviso(const diagnostica& d, const std::string& file) {
  const bool con_riga = d.dove.riga > 0;
  return {{"source", file},
          {"line", con_riga ? json(d.dove.riga) : json(nullptr)},
          {"column", con_riga && d.dove.colonna > 0 ? json(d.dove.colonna) : json(nullptr)},
          {"code", codice_di(d)},
          {"text", d.testo}};
}
