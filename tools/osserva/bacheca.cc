#include "osserva/bacheca.h"

void bacheca::pubblica(uint64_t numero, std::string esito, std::shared_ptr<const std::string> disegno) {
  {
    std::lock_guard<std::mutex> l(mutex_);
    stato_.numero = numero;
    stato_.esito = std::move(esito);
    if (disegno) {
      stato_.disegno = std::move(disegno);
      stato_.numero_disegno = numero;
    }
  }
  cambio_.notify_all();
}

bacheca::stato bacheca::attuale() const {
  std::lock_guard<std::mutex> l(mutex_);
  return stato_;
}

bacheca::stato bacheca::aspetta(uint64_t dopo, std::chrono::milliseconds entro) const {
  std::unique_lock<std::mutex> l(mutex_);
  cambio_.wait_for(l, entro, [&] { return stato_.numero > dopo || stato_.chiusa; });
  return stato_;
}

void bacheca::chiudi() {
  {
    std::lock_guard<std::mutex> l(mutex_);
    stato_.chiusa = true;
  }
  cambio_.notify_all();
}
