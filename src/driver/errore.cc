#include "driver/form1.h"

void Form1::errore(const std::string& a) { messaggio_e_fine(" Errore n. " + a); }

void Form1::messaggio_e_fine(const std::string& testo) {
  sistema.messaggio(testo);
  throw fine_programma{1};
}
