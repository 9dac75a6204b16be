// An in-memory platform for tests: files in a map, every file and folder
// operation counted and logged, any one of them made to fail on request, the
// wait window and messages recorded instead of shown, large buffers counted.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/piattaforma.h"
#include "support/memoria_contata.h"

class sistema_finto : public piattaforma {
 public:
  // Files by their place under the program folder: "a.dat" in the folder
  // itself, "out/a.dat" in a folder inside it (Windows-1252 names as UTF-8).
  std::map<std::string, std::string> file;
  // Folders inside the program folder, by the same key; the program folder
  // itself is always there.
  std::set<std::string> cartelle;
  // Files marked as programs that may be run.
  std::set<std::string> eseguibili;
  // The running program's file: its key in `file` is its name, which holds
  // whatever a test puts there (nothing by default).
  std::filesystem::path programma = "/programma/scenario-package";
  // One line per operation: "crea NAME", "scrivi NAME", "chiudi NAME",
  // "rinomina FROM TO", "rimuovi NAME", "leggi NAME", "apri NAME",
  // "dimensione NAME", "leggi_parte NAME FROM LENGTH", "eseguibile NAME",
  // "crea_cartella NAME", "crea_temporanea NAME", "rimuovi_cartella NAME".
  std::vector<std::string> registro;
  std::vector<std::string> messaggi;
  int attese = 0;
  // The 1-based number of the operation that fails; 0: none fails.
  int operazione_che_fallisce = 0;
  int operazioni = 0;
  // Paths used outside the program folder; always empty in a sound run.
  std::vector<std::string> fuori_cartella;

  // The program folder; a relative path counts from it.
  std::filesystem::path cartella_programma() override { return "/programma"; }
  std::filesystem::path programma_in_esecuzione() override { return programma; }
  bool esiste(const std::filesystem::path& p) override;
  esito apri_e_chiudi(const std::filesystem::path& p) override;
  esito crea(const std::filesystem::path& p, std::unique_ptr<file_in_scrittura>& f) override;
  esito rinomina(const std::filesystem::path& da, const std::filesystem::path& a) override;
  esito rimuovi(const std::filesystem::path& p) override;
  esito leggi(const std::filesystem::path& p, std::string& contenuto) override;
  esito dimensione(const std::filesystem::path& p, uint64_t& byte) override;
  esito leggi_parte(const std::filesystem::path& p, uint64_t inizio, size_t quanti, std::string& dati) override;
  esito rendi_eseguibile(const std::filesystem::path& p) override;
  bool e_cartella(const std::filesystem::path& p) override;
  bool stesso_file(const std::filesystem::path& a, const std::filesystem::path& b) override;
  esito crea_cartella(const std::filesystem::path& p) override;
  esito crea_cartella_temporanea(const std::filesystem::path& dentro, std::string_view prefisso,
                                 std::filesystem::path& creata) override;
  esito rimuovi_cartella(const std::filesystem::path& p) override;
  void mostra_attesa() override { ++attese; }
  void messaggio(const std::string& testo) override { messaggi.push_back(testo); }
  std::filesystem::path nome_file(std::string_view nome_cp1252) override;
  std::pmr::memory_resource& memoria_grande() override { return memoria; }
  memoria_contata memoria;

  // Counts one operation; false when it is the one that must fail.
  bool conta(const std::string& voce_registro);
  // The key of a path; a path outside the program folder is recorded and
  // keyed by its file name.
  std::string nome(const std::filesystem::path& p);

 private:
  // Whether the folder that holds `chiave` is there.
  bool c_e_la_cartella_di(const std::string& chiave) const;
  int temporanee_ = 0;
};
