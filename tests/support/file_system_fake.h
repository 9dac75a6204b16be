// The in-memory platform for tests: the product's (platform/
// piattaforma_in_memoria.h) with every file and folder operation counted and
// logged, any one of them made to fail on request, the wait window and
// messages recorded instead of shown, large buffers counted.
#pragma once

#include <string>
#include <vector>

#include "platform/piattaforma_in_memoria.h"
#include "support/memoria_contata.h"

class sistema_finto : public piattaforma_in_memoria {
 public:
  sistema_finto() : piattaforma_in_memoria(nullptr, "/programma") {}

  // The running program's file: its key in `file` is its name, which holds
  // whatever a test puts there (nothing by default).
  std::filesystem::path programma = "/programma/scenario-package";
  // One line per operation: "crea NAME", "scrivi NAME", "chiudi NAME",
  // "rinomina FROM TO", "rimuovi NAME", "leggi NAME", "apri NAME",
  // "dimensione NAME", "leggi_parte NAME FROM LENGTH", "stato NAME", "eseguibile NAME",
  // "crea_cartella NAME", "crea_temporanea NAME", "rimuovi_cartella NAME".
  std::vector<std::string> registro;
  std::vector<std::string> messaggi;
  int attese = 0;
  // The 1-based number of the operation that fails; 0: none fails.
  int operazione_che_fallisce = 0;
  int operazioni = 0;

  std::filesystem::path programma_in_esecuzione() override { return programma; }
  esito apri_e_chiudi(const std::filesystem::path& p) override;
  esito crea(const std::filesystem::path& p, std::unique_ptr<file_in_scrittura>& f) override;
  esito rinomina(const std::filesystem::path& da, const std::filesystem::path& a) override;
  esito rimuovi(const std::filesystem::path& p) override;
  esito leggi(const std::filesystem::path& p, std::string& contenuto) override;
  esito dimensione(const std::filesystem::path& p, uint64_t& byte) override;
  esito leggi_parte(const std::filesystem::path& p, uint64_t inizio, size_t quanti, std::string& dati) override;
  esito stato_file(const std::filesystem::path& p, stato_di_file& stato) override;
  esito rendi_eseguibile(const std::filesystem::path& p) override;
  esito crea_cartella(const std::filesystem::path& p) override;
  esito crea_cartella_temporanea(const std::filesystem::path& dentro, std::string_view prefisso,
                                 std::filesystem::path& creata) override;
  esito rimuovi_cartella(const std::filesystem::path& p) override;
  void mostra_attesa() override { ++attese; }
  void messaggio(const std::string& testo) override { messaggi.push_back(testo); }
  std::pmr::memory_resource& memoria_grande() override { return memoria; }
  memoria_contata memoria;

  // Counts one operation; false when it is the one that must fail.
  bool conta(const std::string& voce_registro);
};
