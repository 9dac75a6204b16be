// The platform seam on a POSIX system without a window system: the running
// program and its folder from /proc/self/exe, files through open/write/rename/unlink, and the
// wait window and the message box stood in for by lines on standard error,
// large buffers in huge pages where the kernel has them. Making one ignores
// SIGXFSZ for the whole process, so that a write past the file-size limit
// fails as any other.
#pragma once

#include "platform/piattaforma.h"

class piattaforma_posix : public piattaforma {
 public:
  // `cartella` empty: the folder of the running executable.
  explicit piattaforma_posix(std::filesystem::path cartella = {});

  std::filesystem::path cartella_programma() override;
  std::filesystem::path programma_in_esecuzione() override;
  bool esiste(const std::filesystem::path& p) override;
  bool e_collegamento(const std::filesystem::path& p) override;
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
  void mostra_attesa() override;
  void messaggio(const std::string& testo) override;
  std::filesystem::path nome_file(std::string_view nome_cp1252) override;
  std::pmr::memory_resource& memoria_grande() override;

 private:
  std::filesystem::path cartella_;
};
