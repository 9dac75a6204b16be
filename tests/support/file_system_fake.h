// An in-memory platform for tests: files in a map, every file operation
// counted and logged, any one of them made to fail on request, the wait
// window and messages recorded instead of shown, large buffers counted.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/piattaforma.h"
#include "support/memoria_contata.h"

class sistema_finto : public piattaforma {
 public:
  // Files of the program folder by name (Windows-1252 names as UTF-8).
  std::map<std::string, std::string> file;
  // One line per file operation: "crea NAME", "scrivi NAME", "chiudi NAME",
  // "rinomina FROM TO", "rimuovi NAME", "leggi NAME", "apri NAME".
  std::vector<std::string> registro;
  std::vector<std::string> messaggi;
  int attese = 0;
  // The 1-based number of the file operation that fails; 0: none fails.
  int operazione_che_fallisce = 0;
  int operazioni = 0;
  // Paths the program used outside its folder; always empty in a sound run.
  std::vector<std::string> fuori_cartella;

  std::filesystem::path cartella_programma() override { return "/programma"; }
  bool esiste(const std::filesystem::path& p) override;
  esito apri_e_chiudi(const std::filesystem::path& p) override;
  esito crea(const std::filesystem::path& p, std::unique_ptr<file_in_scrittura>& f) override;
  esito rinomina(const std::filesystem::path& da, const std::filesystem::path& a) override;
  esito rimuovi(const std::filesystem::path& p) override;
  esito leggi(const std::filesystem::path& p, std::string& contenuto) override;
  void mostra_attesa() override { ++attese; }
  void messaggio(const std::string& testo) override { messaggi.push_back(testo); }
  std::filesystem::path nome_file(std::string_view nome_cp1252) override;
  std::pmr::memory_resource& memoria_grande() override { return memoria; }
  memoria_contata memoria;

  // Counts one operation; false when it is the one that must fail.
  bool conta(const std::string& voce_registro);
  // The name of a path of the program folder; a path elsewhere is recorded.
  std::string nome(const std::filesystem::path& p);
};
