// The seam between the build and the operating system.
//
// Everything a program asks of the platform goes through `piattaforma`: the
// running program's own file and the folder that holds it, the file and
// folder operations, the
// wait window, the message box and where large buffers come from. Neither the
// build nor the author tool touches the file system or the screen in any
// other way, so tests can run them against an in-memory file system and make
// any single operation fail.
//
// Errors are values: every file operation returns an `esito` that is empty on
// success and otherwise carries the system's reason in words (UTF-8).
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <memory_resource>
#include <string>
#include <string_view>

struct esito {
  bool ok = true;
  std::string motivo;  // the system's reason, when !ok

  static esito riuscito() { return {}; }
  static esito fallito(std::string motivo) { return {false, std::move(motivo)}; }
  explicit operator bool() const { return ok; }
};

// A file being written. Created by piattaforma::crea; closing it is part of
// the write and can fail too (a full disk may only show itself there).
class file_in_scrittura {
 public:
  virtual ~file_in_scrittura() = default;
  virtual esito scrivi(std::string_view dati) = 0;
  virtual esito chiudi() = 0;
};

class piattaforma {
 public:
  virtual ~piattaforma() = default;

  // The folder that holds the running program; every file lives there.
  virtual std::filesystem::path cartella_programma() = 0;
  // The running program's own file, which may carry a payload
  // (carico/lettura_carico.h), and beside which the author tool finds the
  // stubs it packs.
  virtual std::filesystem::path programma_in_esecuzione() = 0;

  // File operations, each one step that may fail on its own.
  virtual bool esiste(const std::filesystem::path& p) = 0;
  // Opens an existing file for reading and writing and closes it again.
  virtual esito apri_e_chiudi(const std::filesystem::path& p) = 0;
  // Creates the file, or empties an existing one, for writing.
  virtual esito crea(const std::filesystem::path& p, std::unique_ptr<file_in_scrittura>& f) = 0;
  // Moves `da` over `a`, replacing `a` in one step.
  virtual esito rinomina(const std::filesystem::path& da, const std::filesystem::path& a) = 0;
  virtual esito rimuovi(const std::filesystem::path& p) = 0;
  virtual esito leggi(const std::filesystem::path& p, std::string& contenuto) = 0;
  // A file's size in bytes, and a range of it: exactly `quanti` bytes from
  // `inizio` (fewer is a failure), so that a long file is read only where it
  // must be.
  virtual esito dimensione(const std::filesystem::path& p, uint64_t& byte) = 0;
  virtual esito leggi_parte(const std::filesystem::path& p, uint64_t inizio, size_t quanti,
                            std::string& dati) = 0;
  // Marks the file as a program that may be run, where the platform keeps
  // such a mark (POSIX); elsewhere nothing to do.
  virtual esito rendi_eseguibile(const std::filesystem::path& p) = 0;

  // Folders, for a program that makes its own (the author tool's output
  // folder and its private working folder); the build itself uses none.
  virtual bool e_cartella(const std::filesystem::path& p) = 0;
  // Whether `a` and `b` name one file: the same existing file or, when either
  // is missing, the same path once `.`, `..` and links are resolved.
  virtual bool stesso_file(const std::filesystem::path& a, const std::filesystem::path& b) = 0;
  // Creates the folder and every missing folder above it; an existing folder
  // is left as it is.
  virtual esito crea_cartella(const std::filesystem::path& p) = 0;
  // Creates a new folder inside `dentro`, named `prefisso` and a few
  // characters that no other folder there has; its path goes into `creata`.
  virtual esito crea_cartella_temporanea(const std::filesystem::path& dentro, std::string_view prefisso,
                                         std::filesystem::path& creata) = 0;
  // Removes the folder and everything in it.
  virtual esito rimuovi_cartella(const std::filesystem::path& p) = 0;

  // The wait window with "Attendere": shown without an owner, not modal, and
  // painted once at once. A window that cannot be shown does not stop the run.
  virtual void mostra_attesa() = 0;
  // A modal message box with OK only, `testo` in UTF-8; returns when the user
  // has closed it.
  virtual void messaggio(const std::string& testo) = 0;

  // The platform's form of a file name held as Windows-1252 bytes.
  virtual std::filesystem::path nome_file(std::string_view nome_cp1252) = 0;

  // Where the build's large buffers come from: the line file's image, up to
  // some 20 MB. The heap unless a platform has a cheaper way to fill them.
  virtual std::pmr::memory_resource& memoria_grande() { return *std::pmr::new_delete_resource(); }
};
