// The watch: the server started, a first build, then looks at the sources a
// few times a second and a build whenever a change has settled, until an end
// is asked for.
#include "osserva/comando_osserva.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

#include "disegno/comando_disegno.h"
#include "driver/scrittura_intera.h"
#include "driver/stati_uscita.h"
#include "osserva/abbandono.h"
#include "osserva/bacheca.h"
#include "osserva/esito_pagina.h"
#include "osserva/interruzione.h"
#include "osserva/servitore.h"
#include "osserva/sorveglianza.h"
#include "platform/testo_percorso.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// How often the sources are looked at: while nothing changes, and while a
// change settles. From a save to the start of its build: at most one look,
// the settling time and one more look, some 45 ms. A look is two calls for
// the files' size and time, a few microseconds.
constexpr auto tra_sguardi = 20ms, tra_sguardi_in_attesa = 5ms;
constexpr auto quiete = 20ms;
// How long a missing source is waited for before its build reports it.
constexpr auto pazienza = 1000ms;
// How often the contents are read, for a change that keeps size and time,
// and for how long after a change (sorveglianza.h).
constexpr auto tra_letture = 1000ms, finestra_letture = 5000ms;


double millisecondi(orologio::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// The watch's memory from one build to the next.
class osservatore {
 public:
  osservatore(piattaforma& sistema, const richiesta_osserva& q, bacheca& tavola, bool mostra_riga,
              std::ostream& errori)
      : sistema_(sistema), q_(q), sorgenti_(file_letti(q.build)), tavola_(tavola), mostra_riga_(mostra_riga),
        errori_(errori) {}

  std::vector<impronta_file> impronte() const {
    std::vector<impronta_file> i;
    for (const fs::path& p : sorgenti_) i.push_back(impronta(sistema_, p));
    return i;
  }

  // Whether the sources' contents differ from those of the latest build.
  bool contenuti_cambiati() { return contenuti() != costruiti_; }

  // One build, its drawing, its outcome on the board, the drawing's file
  // and the report on the console.
  void costruisci_e_pubblica() {
    costruiti_ = contenuti();
    osservazione o;
    o.numero = ++numero_;
    // The build's files are drawn from the bytes it made, the very bytes it
    // wrote: the same drawing as `scenario draw` makes of the files in the
    // output folder, without reading 20 MB back.
    compilazione c;
    const auto t0 = orologio::now();
    o.rapporto = costruisci(sistema_, q_.build, &c);
    o.ms_costruzione = millisecondi(orologio::now() - t0);
    std::optional<disegno_build> d;
    if (c.esito.file_scritti()) {
      const auto t = orologio::now();
      try {
        d = disegna_immagini({o.rapporto.nome, o.rapporto.numero, q_.build.cartella_destinazione, std::nullopt}, {c.sim, c.dat, c.linea},
                             piani_);
      } catch (const std::exception& e) {
        d = disegno_build{};
        d->stato = uscita_errore;
        d->righe.push_back(std::string("disegno non riuscito: ") + e.what());
      }
      o.ms_disegno = millisecondi(orologio::now() - t);
    }

    // Shown when the build has put all its binary files in the output
    // folder, and written there as `scenario draw` writes it, once the page
    // has it.
    std::shared_ptr<const std::string> svg;
    if (d && o.rapporto.esito.file_scritti() && o.rapporto.file.size() == 3) {
      o.righe_disegno = std::move(d->righe);
      if (d->stato == uscita_riuscita) {
        svg = std::make_shared<const std::string>(std::move(d->svg));
        o.disegnato = true;
        numero_disegno_ = o.numero;
        conteggi_ = d->conteggi;
      }
    }
    o.numero_disegno = numero_disegno_;
    o.conteggi = conteggi_;
    if (svg) {
      if (auto g = scrivi_per_intero(sistema_, d->file_disegno, *svg))
        o.righe_disegno.push_back("impossibile scrivere il file " + tra_virgolette(d->file_disegno) + ": " + g->motivo);
    }
    tavola_.pubblica(o.numero,
                     json_osservazione(o).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace), svg);

    // The report as `scenario build` writes it: the diagnostics, then the
    // tool's lines.
    scrivi_rapporto(o.rapporto, mostra_riga_, errori_);
    for (const std::string& riga : o.righe_disegno) errori_ << riga << '\n';
    errori_ << riga_console(o) << std::endl;
  }

 private:
  // The contents' prints; a file that cannot be read has none.
  std::vector<uint64_t> contenuti() {
    std::vector<uint64_t> c;
    for (const fs::path& p : sorgenti_) {
      std::string s;
      c.push_back(sistema_.leggi(p, s) ? impronta_contenuto(s) : 0);
    }
    return c;
  }

  piattaforma& sistema_;
  const richiesta_osserva& q_;
  const std::vector<fs::path> sorgenti_;  // the files a build reads
  bacheca& tavola_;
  const bool mostra_riga_;
  std::ostream& errori_;
  uint64_t numero_ = 0, numero_disegno_ = 0;
  std::optional<conteggi_scena> conteggi_;
  std::vector<uint64_t> costruiti_;
  punti_piani piani_;  // the line's points, their memory kept from one drawing to the next
};

// Ctrl-C in the middle of a build: the build is left where it is, with
// nothing more of it on disk or on the console and no temporary file of it
// left, the page's server stopped, and the process ends at once, for the
// build's thread still runs.
[[noreturn]] void abbandona_costruzione(piattaforma_abbandonabile& disco, console_abbandonabile& console,
                                        bacheca& tavola, servitore& server, std::ostream& stampa,
                                        std::ostream& errori) {
  const bool pulito = disco.chiudi(2000ms);
  console.chiudi();
  tavola.chiudi();
  server.ferma();
  errori << "scenario watch: fine, a costruzione interrotta";
  if (!pulito) errori << " (un'operazione sui file non è finita in tempo: può restarne un file parziale)";
  errori << std::endl;
  stampa.flush();
  std::fflush(nullptr);
  fine_conclusa();
  std::_Exit(uscita_riuscita);
}

}  // namespace

int comando_watch(piattaforma& sistema, const richiesta_osserva& q, bool mostra_riga, std::ostream& stampa,
                  std::ostream& errori) {
  // What no edit of a source can put right ends the watch before it starts.
  if (auto p = problema_nomi(q.build)) {
    errori << *p << '\n';
    return uscita_uso_errato;
  }
  if (sistema.esiste(q.build.cartella_destinazione) && !sistema.e_cartella(q.build.cartella_destinazione)) {
    errori << "la cartella di uscita " << tra_virgolette(q.build.cartella_destinazione) << " non è una cartella\n";
    return uscita_uso_errato;
  }
  // The drawing goes where draw writes it, never over a source.
  const fs::path disegno = percorso_disegno({q.build.nome, q.build.numero, q.build.cartella_destinazione, std::nullopt});
  const auto [linea, treno] = sorgenti_di(q.build);
  for (const fs::path& sorgente : {linea, treno}) {
    if (sistema.stesso_file(disegno, sorgente)) {
      errori << "il disegno " << tra_virgolette(disegno) << " prenderebbe il posto del sorgente "
             << tra_virgolette(sorgente) << '\n';
      return uscita_uso_errato;
    }
  }

  bacheca tavola;
  servitore server(tavola);
  std::string motivo;
  const std::optional<int> porta = server.avvia(q.porta, motivo);
  if (!porta) {
    errori << "scenario watch: impossibile servire la pagina: " << motivo << '\n';
    return uscita_errore_file;
  }
  intercetta_interruzione();
  stampa << "scenario watch: http://127.0.0.1:" << *porta << "/?chiave=" << server.chiave() << " (Ctrl-C per finire)"
         << std::endl;

  // Each build runs on a thread of its own while this one watches for
  // Ctrl-C, so that a long build (a long text, a flood of warnings) never
  // keeps the watch from ending at once. It writes through a platform and
  // reports on a console that the end can shut.
  piattaforma_abbandonabile disco(sistema);
  console_abbandonabile console(errori.rdbuf());
  std::ostream errori_costruzione(&console);
  osservatore o(disco, q, tavola, mostra_riga, errori_costruzione);
  auto costruisci = [&] {
    std::mutex m;
    std::condition_variable fatto;
    bool finita = false;
    std::thread filo([&] {
      // A build that fails in an unforeseen way (no memory left) is
      // reported, and the watch goes on to the next save.
      try {
        o.costruisci_e_pubblica();
      } catch (const std::exception& e) {
        errori_costruzione << "scenario watch: costruzione non riuscita: " << e.what() << std::endl;
      }
      std::lock_guard<std::mutex> l(m);
      finita = true;
      fatto.notify_one();
    });
    {
      std::unique_lock<std::mutex> l(m);
      while (!fatto.wait_for(l, tra_sguardi, [&] { return finita; }))
        if (interruzione_chiesta()) {
          l.unlock();
          abbandona_costruzione(disco, console, tavola, server, stampa, errori);
        }
    }
    filo.join();
  };
  sorveglianza guardia(quiete, pazienza, tra_letture, finestra_letture);
  guardia.guarda(o.impronte(), orologio::now());
  costruisci();
  guardia.costruita(orologio::now());
  while (!interruzione_chiesta()) {
    std::this_thread::sleep_for(guardia.in_attesa() ? tra_sguardi_in_attesa : tra_sguardi);
    if (interruzione_chiesta()) break;
    const auto ora = orologio::now();
    if (guardia.leggere_contenuti(ora) && o.contenuti_cambiati()) guardia.cambiato(ora);
    if (guardia.guarda(o.impronte(), ora)) {
      costruisci();
      guardia.costruita(orologio::now());
    }
  }

  tavola.chiudi();
  server.ferma();
  errori << "scenario watch: fine" << std::endl;
  fine_conclusa();
  return uscita_riuscita;
}
