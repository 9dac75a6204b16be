#include "terminale.h"

#ifdef _WIN32
#include <io.h>

#include <cstdio>

bool errori_su_terminale() { return ::_isatty(::_fileno(stderr)) != 0; }
#else
#include <unistd.h>

bool errori_su_terminale() { return ::isatty(STDERR_FILENO) != 0; }
#endif
