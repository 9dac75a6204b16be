// Forwarding of the write operations with the record of their first failure.
#include "piattaforma_strumento.h"

namespace {

// A file being written whose failures are recorded by the platform.
class file_registrato : public file_in_scrittura {
 public:
  file_registrato(std::unique_ptr<file_in_scrittura> interno, piattaforma_strumento& sistema,
                  std::filesystem::path percorso)
      : interno_(std::move(interno)), sistema_(sistema), percorso_(std::move(percorso)) {}
  esito scrivi(std::string_view dati) override {
    return sistema_.registra(interno_->scrivi(dati), "scrivere", percorso_);
  }
  esito chiudi() override { return sistema_.registra(interno_->chiudi(), "chiudere", percorso_); }

 private:
  std::unique_ptr<file_in_scrittura> interno_;
  piattaforma_strumento& sistema_;
  std::filesystem::path percorso_;
};

}  // namespace

esito piattaforma_strumento::registra(esito e, const char* azione, const std::filesystem::path& p) {
  if (!e && !e.nome_occupato && !primo_guasto) primo_guasto = guasto_scrittura{azione, p, e.motivo};
  return e;
}

esito piattaforma_strumento::apri_e_chiudi(const std::filesystem::path& p) {
  return registra(sistema_.apri_e_chiudi(p), "aprire", p);
}

esito piattaforma_strumento::crea(const std::filesystem::path& p, std::unique_ptr<file_in_scrittura>& f) {
  std::unique_ptr<file_in_scrittura> interno;
  esito e = registra(sistema_.crea(p, interno), "creare", p);
  if (e) f = std::make_unique<file_registrato>(std::move(interno), *this, p);
  return e;
}

esito piattaforma_strumento::rinomina(const std::filesystem::path& da, const std::filesystem::path& a) {
  return registra(sistema_.rinomina(da, a), "sostituire", a);
}
