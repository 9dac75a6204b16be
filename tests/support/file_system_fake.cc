#include "support/file_system_fake.h"

#include "model/windows1252.h"

namespace {

const esito simulato = esito::fallito("errore simulato");

class file_finto : public file_in_scrittura {
 public:
  file_finto(sistema_finto& s, std::string nome) : s_(s), nome_(std::move(nome)) {}
  esito scrivi(std::string_view dati) override {
    if (!s_.conta("scrivi " + nome_)) return simulato;
    s_.file[nome_].append(dati);
    return esito::riuscito();
  }
  esito chiudi() override { return s_.conta("chiudi " + nome_) ? esito::riuscito() : simulato; }

 private:
  sistema_finto& s_;
  std::string nome_;
};

}  // namespace

std::string sistema_finto::nome(const std::filesystem::path& p) {
  if (p.parent_path() != cartella_programma()) fuori_cartella.push_back(p.string());
  return p.filename().string();
}

bool sistema_finto::conta(const std::string& voce_registro) {
  registro.push_back(voce_registro);
  return ++operazioni != operazione_che_fallisce;
}

bool sistema_finto::esiste(const std::filesystem::path& p) { return file.count(nome(p)) != 0; }

esito sistema_finto::apri_e_chiudi(const std::filesystem::path& p) {
  if (!conta("apri " + nome(p))) return simulato;
  return esiste(p) ? esito::riuscito() : esito::fallito("No such file or directory");
}

esito sistema_finto::crea(const std::filesystem::path& p, std::unique_ptr<file_in_scrittura>& f) {
  if (!conta("crea " + nome(p))) return simulato;
  file[nome(p)].clear();
  f = std::make_unique<file_finto>(*this, nome(p));
  return esito::riuscito();
}

esito sistema_finto::rinomina(const std::filesystem::path& da, const std::filesystem::path& a) {
  if (!conta("rinomina " + nome(da) + " " + nome(a))) return simulato;
  auto it = file.find(nome(da));
  if (it == file.end()) return esito::fallito("No such file or directory");
  file[nome(a)] = std::move(it->second);
  file.erase(nome(da));
  return esito::riuscito();
}

esito sistema_finto::rimuovi(const std::filesystem::path& p) {
  if (!conta("rimuovi " + nome(p))) return simulato;
  if (file.erase(nome(p)) == 0) return esito::fallito("No such file or directory");
  return esito::riuscito();
}

esito sistema_finto::leggi(const std::filesystem::path& p, std::string& contenuto) {
  if (!conta("leggi " + nome(p))) return simulato;
  auto it = file.find(nome(p));
  if (it == file.end()) return esito::fallito("No such file or directory");
  contenuto = it->second;
  return esito::riuscito();
}

std::filesystem::path sistema_finto::nome_file(std::string_view nome_cp1252) {
  return std::filesystem::path(da_cp1252_a_utf8(nome_cp1252));
}
