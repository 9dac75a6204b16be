#include "terminale.h"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <io.h>
#include <windows.h>

#include <cstdio>

bool errori_su_terminale() { return ::_isatty(::_fileno(stderr)) != 0; }

void prepara_terminale() { SetConsoleOutputCP(CP_UTF8); }
#else
#include <unistd.h>

bool errori_su_terminale() { return ::isatty(STDERR_FILENO) != 0; }

void prepara_terminale() {}
#endif
