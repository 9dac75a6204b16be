// The platform seam on Windows: the running program and its folder from
// GetModuleFileNameW,
// wide-character paths, files through the Windows API, the wait window with
// its "Attendere" label, and the modal message box.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <functional>

#include "platform/piattaforma.h"

// The wait window's measures in twips (15 twips a pixel at 96 dots an inch).
struct misure_attesa {
  static constexpr int larghezza_client = 4200;
  static constexpr int altezza_client = 2688;
  static constexpr int sinistra_etichetta = 960;
  static constexpr int alto_etichetta = 960;
  static constexpr int larghezza_etichetta = 2652;
  static constexpr int altezza_etichetta = 792;
  static constexpr int punti_carattere = 24;
  static constexpr int peso_carattere = FW_BOLD;
};

class piattaforma_win32 : public piattaforma {
 public:
  // How a message box is shown, with MessageBoxW's parameters. Tests put
  // their own in its place, so that no real box ever waits for a user.
  using mostra_box = std::function<int(HWND, const wchar_t*, const wchar_t*, UINT)>;

  // `cartella` empty: the folder of the running executable. `box` empty: the
  // real MessageBoxW.
  explicit piattaforma_win32(std::filesystem::path cartella = {}, mostra_box box = {});
  ~piattaforma_win32() override;
  piattaforma_win32(const piattaforma_win32&) = delete;
  piattaforma_win32& operator=(const piattaforma_win32&) = delete;

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
  esito rendi_eseguibile(const std::filesystem::path&) override { return esito::riuscito(); }
  bool e_cartella(const std::filesystem::path& p) override;
  bool stesso_file(const std::filesystem::path& a, const std::filesystem::path& b) override;
  esito crea_cartella(const std::filesystem::path& p) override;
  esito crea_cartella_temporanea(const std::filesystem::path& dentro, std::string_view prefisso,
                                 std::filesystem::path& creata) override;
  esito rimuovi_cartella(const std::filesystem::path& p) override;
  void mostra_attesa() override;
  void messaggio(const std::string& testo) override;
  std::filesystem::path nome_file(std::string_view nome_cp1252) override;

  // The wait window and its label once shown; null before, or when there was
  // no way to create them.
  HWND finestra_attesa() const { return finestra_; }
  HWND etichetta_attesa() const { return etichetta_; }

 private:
  std::filesystem::path cartella_;
  mostra_box box_;
  HWND finestra_ = nullptr;
  HWND etichetta_ = nullptr;
  HFONT carattere_ = nullptr;
};

// Text between UTF-8 and UTF-16, for the system's wide-character calls.
// Bytes that are not valid UTF-8 become U+FFFD.
std::wstring da_utf8_a_wide(std::string_view testo);
std::string da_wide_a_utf8(std::wstring_view testo);

// The system's words for an error number (GetLastError), in UTF-8, without
// the line end the system appends.
std::string testo_errore_win32(DWORD numero);
