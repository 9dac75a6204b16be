#include "support/file_system_fake.h"

namespace {

const esito simulato = esito::fallito("errore simulato");

// A file being written, each of its operations counted too.
class file_finto : public file_in_scrittura {
 public:
  file_finto(sistema_finto& s, std::string nome, std::unique_ptr<file_in_scrittura> vero)
      : s_(s), nome_(std::move(nome)), vero_(std::move(vero)) {}
  esito scrivi(std::string_view dati) override {
    if (!s_.conta("scrivi " + nome_)) return simulato;
    return vero_->scrivi(dati);
  }
  esito chiudi() override { return s_.conta("chiudi " + nome_) ? vero_->chiudi() : simulato; }

 private:
  sistema_finto& s_;
  std::string nome_;
  std::unique_ptr<file_in_scrittura> vero_;
};

}  // namespace

bool sistema_finto::conta(const std::string& voce_registro) {
  registro.push_back(voce_registro);
  return ++operazioni != operazione_che_fallisce;
}

esito sistema_finto::apri_e_chiudi(const std::filesystem::path& p) {
  if (!conta("apri " + nome(p))) return simulato;
  return piattaforma_in_memoria::apri_e_chiudi(p);
}

esito sistema_finto::crea(const std::filesystem::path& p, std::unique_ptr<file_in_scrittura>& f) {
  const std::string chiave = nome(p);
  if (!conta("crea " + chiave)) return simulato;
  std::unique_ptr<file_in_scrittura> vero;
  esito e = piattaforma_in_memoria::crea(p, vero);
  if (e) f = std::make_unique<file_finto>(*this, chiave, std::move(vero));
  return e;
}

esito sistema_finto::rinomina(const std::filesystem::path& da, const std::filesystem::path& a) {
  if (!conta("rinomina " + nome(da) + " " + nome(a))) return simulato;
  return piattaforma_in_memoria::rinomina(da, a);
}

esito sistema_finto::rimuovi(const std::filesystem::path& p) {
  if (!conta("rimuovi " + nome(p))) return simulato;
  return piattaforma_in_memoria::rimuovi(p);
}

esito sistema_finto::leggi(const std::filesystem::path& p, std::string& contenuto) {
  if (!conta("leggi " + nome(p))) return simulato;
  return piattaforma_in_memoria::leggi(p, contenuto);
}

esito sistema_finto::dimensione(const std::filesystem::path& p, uint64_t& byte) {
  if (!conta("dimensione " + nome(p))) return simulato;
  return piattaforma_in_memoria::dimensione(p, byte);
}

esito sistema_finto::leggi_parte(const std::filesystem::path& p, uint64_t inizio, size_t quanti,
                                 std::string& dati) {
  if (!conta("leggi_parte " + nome(p) + " " + std::to_string(inizio) + " " + std::to_string(quanti)))
    return simulato;
  return piattaforma_in_memoria::leggi_parte(p, inizio, quanti, dati);
}

esito sistema_finto::stato_file(const std::filesystem::path& p, stato_di_file& stato) {
  if (!conta("stato " + nome(p))) return simulato;
  return piattaforma_in_memoria::stato_file(p, stato);
}

esito sistema_finto::rendi_eseguibile(const std::filesystem::path& p) {
  if (!conta("eseguibile " + nome(p))) return simulato;
  return piattaforma_in_memoria::rendi_eseguibile(p);
}

esito sistema_finto::crea_cartella(const std::filesystem::path& p) {
  if (!conta("crea_cartella " + nome(p))) return simulato;
  return piattaforma_in_memoria::crea_cartella(p);
}

esito sistema_finto::crea_cartella_temporanea(const std::filesystem::path& dentro, std::string_view prefisso,
                                              std::filesystem::path& creata) {
  if (!conta("crea_temporanea " + nome(prossima_temporanea(dentro, prefisso)))) return simulato;
  return piattaforma_in_memoria::crea_cartella_temporanea(dentro, prefisso, creata);
}

esito sistema_finto::rimuovi_cartella(const std::filesystem::path& p) {
  if (!conta("rimuovi_cartella " + nome(p))) return simulato;
  return piattaforma_in_memoria::rimuovi_cartella(p);
}
