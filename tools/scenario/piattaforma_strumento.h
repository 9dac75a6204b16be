// The platform one build of the author tool runs over: every operation goes
// to the tool's own platform, but the program folder is the build's private
// working folder, the wait window is dropped and messages are not shown. The
// first failed write operation is kept, so that the tool can name the file as
// the author knows it and tell a failure of the file system from a build
// error, from fields rather than from message text.
#pragma once

#include <optional>
#include <string>

#include "driver/scrittura_intera.h"
#include "platform/piattaforma.h"

class piattaforma_strumento : public piattaforma {
 public:
  piattaforma_strumento(piattaforma& sistema, std::filesystem::path cartella)
      : sistema_(sistema), cartella_(std::move(cartella)) {}

  // The first failed write: its step ("aprire", "creare", "scrivere",
  // "chiudere", "sostituire"), the path it was on and the system's reason.
  std::optional<guasto_scrittura> primo_guasto;

  std::filesystem::path cartella_programma() override { return cartella_; }
  std::filesystem::path programma_in_esecuzione() override { return sistema_.programma_in_esecuzione(); }
  bool esiste(const std::filesystem::path& p) override { return sistema_.esiste(p); }
  bool e_collegamento(const std::filesystem::path& p) override { return sistema_.e_collegamento(p); }
  esito apri_e_chiudi(const std::filesystem::path& p) override;
  esito crea(const std::filesystem::path& p, std::unique_ptr<file_in_scrittura>& f) override;
  esito rinomina(const std::filesystem::path& da, const std::filesystem::path& a) override;
  esito rimuovi(const std::filesystem::path& p) override { return sistema_.rimuovi(p); }
  esito leggi(const std::filesystem::path& p, std::string& contenuto) override { return sistema_.leggi(p, contenuto); }
  esito dimensione(const std::filesystem::path& p, uint64_t& byte) override { return sistema_.dimensione(p, byte); }
  esito leggi_parte(const std::filesystem::path& p, uint64_t inizio, size_t quanti, std::string& dati) override {
    return sistema_.leggi_parte(p, inizio, quanti, dati);
  }
  esito stato_file(const std::filesystem::path& p, stato_di_file& stato) override {
    return sistema_.stato_file(p, stato);
  }
  esito rendi_eseguibile(const std::filesystem::path& p) override { return sistema_.rendi_eseguibile(p); }
  bool e_cartella(const std::filesystem::path& p) override { return sistema_.e_cartella(p); }
  bool stesso_file(const std::filesystem::path& a, const std::filesystem::path& b) override {
    return sistema_.stesso_file(a, b);
  }
  esito crea_cartella(const std::filesystem::path& p) override { return sistema_.crea_cartella(p); }
  esito crea_cartella_temporanea(const std::filesystem::path& dentro, std::string_view prefisso,
                                 std::filesystem::path& creata) override {
    return sistema_.crea_cartella_temporanea(dentro, prefisso, creata);
  }
  esito rimuovi_cartella(const std::filesystem::path& p) override { return sistema_.rimuovi_cartella(p); }
  void mostra_attesa() override {}
  void messaggio(const std::string&) override {}
  std::filesystem::path nome_file(std::string_view nome_cp1252) override { return sistema_.nome_file(nome_cp1252); }
  std::pmr::memory_resource& memoria_grande() override { return sistema_.memoria_grande(); }

  // Keeps the first failure of a write operation; passes `e` on. A name
  // found taken when a file is created is no failure of the build's: the
  // write tries another name (driver/scrittura_intera.h).
  esito registra(esito e, const char* azione, const std::filesystem::path& p);

 private:
  piattaforma& sistema_;
  std::filesystem::path cartella_;
};
