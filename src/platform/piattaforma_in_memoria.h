// A platform whose files and folders live in memory: what a build needs to
// run without a disk (the compile in memory, finish/compilazione.h) and what
// the tests build their fake on. Paths are keyed by their place under the
// program folder ("a.dat" in the folder itself, "out/a.dat" in a folder
// inside it, names in UTF-8). The running program, the names of files and
// where large buffers come from are the base platform's, when one is given;
// the wait window and the message box show nothing.
#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/piattaforma.h"

class piattaforma_in_memoria : public piattaforma {
 public:
  explicit piattaforma_in_memoria(piattaforma* base = nullptr, std::filesystem::path cartella = "/memoria")
      : base_(base), cartella_(std::move(cartella)) {}

  // The files, by key; the folders inside the program folder, by the same
  // key (the program folder itself is always there); the files marked as
  // programs that may be run.
  std::map<std::string, std::string> file;
  std::set<std::string> cartelle;
  std::set<std::string> eseguibili;
  // Symbolic links by the same key, and the key of what each points to,
  // which may be missing: a link is read through, never written through,
  // and replaced itself by a rename.
  std::map<std::string, std::string> collegamenti;
  // Each file's time of change (stato_file), and the clock that stamps a
  // file as it is created, written or renamed: a caller sets either.
  std::map<std::string, int64_t> modificati;
  int64_t ora = 0;
  // Paths used outside the program folder, each keyed by its file name;
  // always empty in a sound run.
  std::vector<std::string> fuori_cartella;

  std::filesystem::path cartella_programma() override { return cartella_; }
  std::filesystem::path programma_in_esecuzione() override;
  bool esiste(const std::filesystem::path& p) override;
  bool e_collegamento(const std::filesystem::path& p) override { return collegamenti.count(nome(p)) != 0; }
  esito apri_e_chiudi(const std::filesystem::path& p) override;
  esito crea(const std::filesystem::path& p, std::unique_ptr<file_in_scrittura>& f) override;
  esito rinomina(const std::filesystem::path& da, const std::filesystem::path& a) override;
  esito rimuovi(const std::filesystem::path& p) override;
  esito leggi(const std::filesystem::path& p, std::string& contenuto) override;
  esito dimensione(const std::filesystem::path& p, uint64_t& byte) override;
  esito leggi_parte(const std::filesystem::path& p, uint64_t inizio, size_t quanti, std::string& dati) override;
  esito stato_file(const std::filesystem::path& p, stato_di_file& stato) override;
  esito rendi_eseguibile(const std::filesystem::path& p) override;
  bool e_cartella(const std::filesystem::path& p) override;
  bool stesso_file(const std::filesystem::path& a, const std::filesystem::path& b) override;
  esito crea_cartella(const std::filesystem::path& p) override;
  esito crea_cartella_temporanea(const std::filesystem::path& dentro, std::string_view prefisso,
                                 std::filesystem::path& creata) override;
  esito rimuovi_cartella(const std::filesystem::path& p) override;
  void mostra_attesa() override {}
  void messaggio(const std::string&) override {}
  std::filesystem::path nome_file(std::string_view nome_cp1252) override;
  std::pmr::memory_resource& memoria_grande() override;

  // The key of a path; a path outside the program folder is recorded in
  // fuori_cartella and keyed by its file name.
  std::string nome(const std::filesystem::path& p);

 protected:
  // The folder crea_cartella_temporanea makes next in `dentro`.
  std::filesystem::path prossima_temporanea(const std::filesystem::path& dentro, std::string_view prefisso) const {
    return dentro / (std::string(prefisso) + std::to_string(temporanee_ + 1));
  }

 private:
  // Whether the folder that holds `chiave` is there.
  bool c_e_la_cartella_di(const std::string& chiave) const;
  // The key of the file `chiave` names, through a link if it is one.
  std::string seguito(const std::string& chiave) const;

  piattaforma* base_;
  std::filesystem::path cartella_;
  int temporanee_ = 0;
};
