// The platform the author tool runs the build over: every file operation goes
// to an inner platform (whose program folder is the tool's private working
// folder), while the wait window is dropped and messages are captured rather
// than shown. The first failed write operation is kept, so the tool can tell
// a failure of the file system from a build error.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/piattaforma.h"

class piattaforma_strumento : public piattaforma {
 public:
  explicit piattaforma_strumento(piattaforma& interna) : interna_(interna) {}

  struct guasto {
    std::string azione;  // "aprire", "creare", "scrivere", "chiudere", "sostituire"
    std::filesystem::path percorso;
    std::string motivo;
  };

  std::vector<std::string> messaggi;
  std::optional<guasto> primo_guasto;

  std::filesystem::path cartella_programma() override { return interna_.cartella_programma(); }
  bool esiste(const std::filesystem::path& p) override { return interna_.esiste(p); }
  esito apri_e_chiudi(const std::filesystem::path& p) override;
  esito crea(const std::filesystem::path& p, std::unique_ptr<file_in_scrittura>& f) override;
  esito rinomina(const std::filesystem::path& da, const std::filesystem::path& a) override;
  esito rimuovi(const std::filesystem::path& p) override { return interna_.rimuovi(p); }
  esito leggi(const std::filesystem::path& p, std::string& contenuto) override { return interna_.leggi(p, contenuto); }
  void mostra_attesa() override {}
  void messaggio(const std::string& testo) override { messaggi.push_back(testo); }
  std::filesystem::path nome_file(std::string_view nome_cp1252) override { return interna_.nome_file(nome_cp1252); }

  // Keeps the first failure of a write operation; passes `e` on.
  esito registra(esito e, const char* azione, const std::filesystem::path& p);

 private:
  piattaforma& interna_;
};
