#include "terminale.h"

#include <iostream>

#include "flusso_mostrabile.h"

namespace {

// Standard error through the filter, for the rest of the run; given back
// before the filter goes, at the program's end.
void filtra_errori() {
  struct errori_filtrati {
    std::streambuf* originale = std::cerr.rdbuf();
    flusso_mostrabile filtro{originale};
    errori_filtrati() { std::cerr.rdbuf(&filtro); }
    ~errori_filtrati() { std::cerr.rdbuf(originale); }
  };
  static errori_filtrati errori;
}

}  // namespace

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <io.h>
#include <windows.h>

#include <cstdio>

bool errori_su_terminale() { return ::_isatty(::_fileno(stderr)) != 0; }

void prepara_terminale() {
  SetConsoleOutputCP(CP_UTF8);
  filtra_errori();
}
#else
#include <unistd.h>

bool errori_su_terminale() { return ::isatty(STDERR_FILENO) != 0; }

void prepara_terminale() { filtra_errori(); }
#endif
