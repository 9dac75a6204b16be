// The page's JSON and the console's line, from the build's report.
#include "osserva/esito_pagina.h"

#include <cmath>
#include <cstdio>

#include "driver/stati_uscita.h"

namespace {

using json = nlohmann::json;

std::string millisecondi(double ms) {
  char b[32];
  std::snprintf(b, sizeof b, "%.0f ms", std::round(ms));
  return b;
}

std::string quanti(size_t n, const char* uno, const char* molti) {
  return std::to_string(n) + " " + (n == 1 ? uno : molti);
}

}  // namespace

json json_osservazione(const osservazione& o) {
  // The build's object as `build --json` gives it, and the watch's own keys.
  json j = json_rapporto(o.rapporto);
  j["number"] = o.numero;
  for (const std::string& riga : o.righe_disegno) j["messages"].push_back(riga);
  j["drawing"] = nullptr;
  if (o.numero_disegno != 0) j["drawing"] = {{"number", o.numero_disegno}, {"current", o.disegnato}};
  j["summary"] = nullptr;
  if (o.conteggi)
    j["summary"] = {{"length", o.conteggi->lunghezza},           {"stations", o.conteggi->stazioni},
                    {"signals", o.conteggi->segnali},            {"signs", o.conteggi->cartelli},
                    {"slowdowns", o.conteggi->rallentamenti},    {"indicators", o.conteggi->indicatori},
                    {"mountains", o.conteggi->montagne}};
  j["times"] = {{"build_ms", o.ms_costruzione}, {"drawing_ms", o.ms_disegno}};
  return j;
}

std::string riga_console(const osservazione& o) {
  const rapporto_build& r = o.rapporto;
  std::string riga = "-- costruzione " + std::to_string(o.numero) + " in " + millisecondi(o.ms_costruzione);
  if (o.disegnato) riga += ", disegno in " + millisecondi(o.ms_disegno);
  riga += ": ";
  if (r.stato == uscita_riuscita) {
    riga += "nessun errore";
    if (const size_t n = r.esito.quanti_avvisi() + r.esito.avvisi_omessi) riga += ", " + quanti(n, "avviso", "avvisi");
  } else if (r.esito.codice_errore != 0) {
    riga += "errore n. " + std::to_string(r.esito.codice_errore);
  } else if (r.esito.timbro_fallito != 0) {
    riga += "errore n. " + std::to_string(r.esito.timbro_fallito);
  } else if (r.stato == uscita_errore_file) {
    riga += "un'operazione sui file è fallita";
  } else {
    riga += "nulla costruito";
  }
  if (o.disegnato && o.conteggi) {
    const conteggi_scena& c = *o.conteggi;
    riga += "; percorso " + std::to_string(c.lunghezza) + " m, " + quanti(c.stazioni, "stazione", "stazioni") + ", " +
            quanti(c.segnali, "segnale", "segnali") + ", " + quanti(c.cartelli, "cartello", "cartelli") + ", " +
            quanti(c.rallentamenti, "rallentamento", "rallentamenti");
  } else if (o.numero_disegno != 0) {
    riga += "; la pagina mostra il disegno della costruzione " + std::to_string(o.numero_disegno);
  }
  return riga;
}
