// The build proper: reset, read, finish, stamp, write the binary files.
#include "driver/form1.h"

void Form1::memorizza_percorso(int32_t& j) {
  crea_linea = j;
  codice_errore = 0;
  cancella_testata();
  memorizza_dati();
}

void Form1::cancella_testata() {
  for (voce& v : testata) v = voce{};
}
