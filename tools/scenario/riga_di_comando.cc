#include "riga_di_comando.h"

#include "platform/testo_percorso.h"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <shellapi.h>
#endif

argomenti_utf8::argomenti_utf8(int argc, char** argv) {
#ifdef _WIN32
  int n = 0;
  if (LPWSTR* w = CommandLineToArgvW(GetCommandLineW(), &n)) {
    for (int i = 0; i < n; ++i) {
      const int byte = WideCharToMultiByte(CP_UTF8, 0, w[i], -1, nullptr, 0, nullptr, nullptr);
      std::string s(byte > 0 ? static_cast<size_t>(byte - 1) : 0, '\0');
      if (byte > 1) WideCharToMultiByte(CP_UTF8, 0, w[i], -1, s.data(), byte, nullptr, nullptr);
      testi_.push_back(std::move(s));
    }
    LocalFree(w);
  } else {
    testi_.assign(argv, argv + argc);
  }
#else
  testi_.assign(argv, argv + argc);
#endif
  for (std::string& s : testi_) puntatori_.push_back(s.data());
  puntatori_.push_back(nullptr);
}

CLI::Option* opzione_percorso(CLI::App* comando, const std::string& nome, std::filesystem::path& percorso,
                              const std::string& descrizione) {
  return comando->add_option_function<std::string>(
      nome, [&percorso](const std::string& testo) { percorso = percorso_da_testo(testo); }, descrizione);
}
