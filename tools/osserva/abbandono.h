// What lets the watch end at once on Ctrl-C in the middle of a build, which
// runs on a thread of its own, without waiting for it: the platform the
// build writes through and the console it reports on, both of which can be
// shut from the watch's thread. Once shut, the build changes nothing more on
// disk (each operation fails, "interrotto"), the temporary files of writes it
// had begun are gone, and it says nothing more; the process can end.
#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <mutex>
#include <set>
#include <streambuf>

#include "platform/piattaforma.h"

class piattaforma_abbandonabile : public piattaforma {
 public:
  explicit piattaforma_abbandonabile(piattaforma& sotto) : sotto_(sotto) {}
  ~piattaforma_abbandonabile() override;

  // Shuts it: waits up to `entro` for an operation that changes the disk
  // to end, then removes the files created and not yet renamed or removed,
  // the folders made with crea_cartella_temporanea and not removed. False
  // when an operation did not end in time (a file system that hangs): then
  // nothing is removed, and what that operation wrote may stay.
  bool chiudi(std::chrono::milliseconds entro);

  std::filesystem::path cartella_programma() override { return sotto_.cartella_programma(); }
  std::filesystem::path programma_in_esecuzione() override { return sotto_.programma_in_esecuzione(); }
  bool esiste(const std::filesystem::path& p) override { return !chiusa_ && sotto_.esiste(p); }
  bool e_collegamento(const std::filesystem::path& p) override { return !chiusa_ && sotto_.e_collegamento(p); }
  esito apri_e_chiudi(const std::filesystem::path& p) override;
  esito crea(const std::filesystem::path& p, std::unique_ptr<file_in_scrittura>& f) override;
  esito rinomina(const std::filesystem::path& da, const std::filesystem::path& a) override;
  esito rimuovi(const std::filesystem::path& p) override;
  esito leggi(const std::filesystem::path& p, std::string& contenuto) override;
  esito dimensione(const std::filesystem::path& p, uint64_t& byte) override;
  esito leggi_parte(const std::filesystem::path& p, uint64_t inizio, size_t quanti, std::string& dati) override;
  esito stato_file(const std::filesystem::path& p, stato_di_file& stato) override;
  esito rendi_eseguibile(const std::filesystem::path& p) override;
  bool e_cartella(const std::filesystem::path& p) override { return !chiusa_ && sotto_.e_cartella(p); }
  bool stesso_file(const std::filesystem::path& a, const std::filesystem::path& b) override {
    return sotto_.stesso_file(a, b);
  }
  esito crea_cartella(const std::filesystem::path& p) override;
  esito crea_cartella_temporanea(const std::filesystem::path& dentro, std::string_view prefisso,
                                 std::filesystem::path& creata) override;
  esito rimuovi_cartella(const std::filesystem::path& p) override;
  void mostra_attesa() override { sotto_.mostra_attesa(); }
  void messaggio(const std::string& testo) override { sotto_.messaggio(testo); }
  std::filesystem::path nome_file(std::string_view nome_cp1252) override { return sotto_.nome_file(nome_cp1252); }
  std::pmr::memory_resource& memoria_grande() override { return sotto_.memoria_grande(); }

 private:
  class file_abbandonabile;
  // Runs `operazione`, which changes the disk, unless it is shut; one at a
  // time, so that `chiudi` can wait for the one under way.
  template <class F>
  esito cambia(F operazione);

  piattaforma& sotto_;
  std::timed_mutex mutex_;  // held while the disk is being changed
  std::atomic<bool> chiusa_{false};
  std::set<std::filesystem::path> creati_, cartelle_;
  std::set<file_abbandonabile*> aperti_;
};

// A console that can be shut: what is written to it goes on to `sotto`
// until `chiudi`, then nowhere. One thread's writing never mixes with
// another's inside a single call.
class console_abbandonabile : public std::streambuf {
 public:
  explicit console_abbandonabile(std::streambuf* sotto) : sotto_(sotto) {}
  void chiudi();

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* s, std::streamsize n) override;
  int sync() override;

 private:
  std::mutex mutex_;
  std::streambuf* sotto_;
  bool chiusa_ = false;
};
