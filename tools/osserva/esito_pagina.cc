// The page's JSON and the console's line, from the build's report.
#include "osserva/esito_pagina.h"

#include <cmath>
#include <cstdio>

#include "avvisi_autore.h"
#include "driver/errori_build.h"
#include "driver/stati_uscita.h"

namespace {

using json = nlohmann::json;

json o_nullo(int32_t v) { return v > 0 ? json(v) : json(nullptr); }

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
  const rapporto_build& r = o.rapporto;
  const esito_build& e = r.esito;
  json j;
  j["numero"] = o.numero;
  j["stato"] = r.stato;

  // The numbered error of the build, and where it was met.
  j["errore"] = nullptr;
  if (e.codice_errore != 0) {
    const descrizione_errore* d = cerca_errore(e.codice_errore);
    j["errore"] = {{"codice", e.codice_errore},
                   {"significato", d ? std::string(d->significato) : "errore sconosciuto"},
                   {"metri", e.posizione ? json(*e.posizione) : json(nullptr)},
                   {"dettaglio", e.dettaglio}};
  }
  j["timbro"] = e.timbro_fallito != 0 ? json(e.timbro_fallito) : json(nullptr);
  j["luogo"] = nullptr;
  if (r.citata)
    j["luogo"] = {{"file", r.citata->file}, {"riga", r.citata->riga}, {"colonna", r.citata->colonna}};
  else if (r.sorgente && e.codice_errore != 0)
    j["luogo"] = {{"file", *r.sorgente}, {"riga", o_nullo(e.riga)}, {"colonna", o_nullo(e.riga > 0 ? e.colonna : 0)}};
  j["citazione"] = r.citata ? json{{"testo", r.citata->testo}, {"colonna", r.citata->colonna}} : json(nullptr);
  j["messaggi"] = r.righe;
  for (const std::string& riga : o.righe_disegno) j["messaggi"].push_back(riga);

  // The warnings, as `scenario build` reports them and in their parts.
  j["avvisi"] = json::array();
  for (size_t i = 0; i < e.avvisi.size() && i < r.avvisi.size(); ++i) {
    const avviso_build& a = e.avvisi[i];
    const std::optional<citazione>& c = r.avvisi[i].citata;
    j["avvisi"].push_back({{"messaggio", r.avvisi[i].riga},
                           {"codice", nome_avviso(a.codice)},
                           {"testo", a.testo},
                           {"luogo",
                            {{"file", file_dell_avviso(a, r.file_linea, r.file_treno)},
                             {"riga", o_nullo(a.riga)},
                             {"colonna", o_nullo(a.riga > 0 ? a.colonna : 0)}}},
                           {"citazione", c ? json{{"testo", c->testo}, {"colonna", c->colonna}} : json(nullptr)}});
  }

  j["disegno"] = nullptr;
  if (o.numero_disegno != 0) j["disegno"] = {{"numero", o.numero_disegno}, {"attuale", o.disegnato}};
  j["riassunto"] = nullptr;
  if (o.conteggi)
    j["riassunto"] = {{"lunghezza", o.conteggi->lunghezza},       {"stazioni", o.conteggi->stazioni},
                      {"segnali", o.conteggi->segnali},           {"cartelli", o.conteggi->cartelli},
                      {"rallentamenti", o.conteggi->rallentamenti}, {"indicatori", o.conteggi->indicatori},
                      {"montagne", o.conteggi->montagne}};
  j["tempi"] = {{"costruzione_ms", o.ms_costruzione}, {"disegno_ms", o.ms_disegno}};
  j["file"] = r.file;
  return j;
}

std::string riga_console(const osservazione& o) {
  const rapporto_build& r = o.rapporto;
  std::string riga = "-- costruzione " + std::to_string(o.numero) + " in " + millisecondi(o.ms_costruzione);
  if (o.disegnato) riga += ", disegno in " + millisecondi(o.ms_disegno);
  riga += ": ";
  if (r.stato == uscita_riuscita) {
    riga += "nessun errore";
    if (!r.avvisi.empty()) riga += ", " + quanti(r.avvisi.size(), "avviso", "avvisi");
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
