// The speed of the build at the largest scenario, against the physical limit
// of the job: writing the same bytes to the same folder.
//
//   costruzione_intera   the whole build into a temporary folder: both source
//                        texts written, read, finished, stamped, the three
//                        binary files written
//   scrittura_di_base    the same five files' bytes, one write per file
//   pacchetto_incorporato  the package program's run of its own scenario
//   lettore, passata_finale, serializzazione  the parts alone
//   memoria_di_picco     peak resident memory of a process that does one whole
//                        build, against the bytes it writes
//
// At the end the ratio costruzione_intera / scrittura_di_base is printed (the
// median over repetitions, with --benchmark_repetitions=N).
//
// The program runs itself as a child for the memory figure:
//   banco_scenario --costruzione-sola CARTELLA   one whole build, then exit
//   banco_scenario --solo-avvio                  the generated texts only
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <malloc.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/file_binari.h"
#include "sources/scenario_incorporato.h"
#include "support/piattaforma_silenziosa.h"
#include "support/scenario_massimo.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

// --- the shared setting ------------------------------------------------------

const scenario_generato& scenario() {
  static const scenario_generato s = genera_scenario_massimo();
  return s;
}

// A fresh folder under the temporary folder, removed at exit.
class cartella_di_lavoro {
 public:
  cartella_di_lavoro() {
    std::random_device caso;
    for (;;) {
      percorso_ = fs::temp_directory_path() / ("banco-scenario-" + std::to_string(caso()));
      if (fs::create_directory(percorso_)) break;
    }
  }
  ~cartella_di_lavoro() {
    std::error_code ec;
    fs::remove_all(percorso_, ec);
  }
  const fs::path& percorso() const { return percorso_; }
  // A sub-folder, created empty.
  fs::path sotto(const std::string& nome) const {
    fs::path p = percorso_ / nome;
    fs::remove_all(p);
    fs::create_directories(p);
    return p;
  }

 private:
  fs::path percorso_;
};

cartella_di_lavoro& lavoro() {
  static cartella_di_lavoro c;
  return c;
}

std::string leggi_file(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The files one whole build writes, by name, with their bytes: the two
// source texts, then the three binary files (taken from a real build).
struct file_scritto {
  std::string nome;
  std::string byte;
};
const std::vector<file_scritto>& file_della_costruzione() {
  static const std::vector<file_scritto> file = [] {
    fs::path cartella = lavoro().sotto("riferimento");
    piattaforma_silenziosa sistema(cartella);
    Form1 form(sistema);
    if (costruisci(form, scenario()) != 0 || form.codice_errore != 0)
      throw std::runtime_error("la costruzione di riferimento registra l'errore " +
                               std::to_string(form.codice_errore));
    std::vector<file_scritto> f = {
        {form.nome_sorgente_linea(), testo_sorgente(scenario().righe_linea)},
        {form.nome_sorgente_treno(), testo_sorgente(scenario().righe_treno)},
    };
    for (const std::string& nome : {form.nome_file_linea(), form.nome_file_sim(), form.nome_file_dat()})
      f.push_back({nome, leggi_file(cartella / nome)});
    fs::remove_all(cartella);
    return f;
  }();
  return file;
}

int64_t byte_scritti() {
  int64_t n = 0;
  for (const file_scritto& f : file_della_costruzione()) n += static_cast<int64_t>(f.byte.size());
  return n;
}

void svuota(const fs::path& cartella) {
  for (const auto& e : fs::directory_iterator(cartella)) fs::remove_all(e.path());
}

// A Form1 over `cartella` that has read the scenario, or built it whole.
struct modello {
  explicit modello(const fs::path& cartella) : sistema(cartella), form(sistema) {}
  piattaforma_silenziosa sistema;
  Form1 form;
};

// --- (a) the whole build and (b) its baseline ----------------------------------

void costruzione_intera(benchmark::State& state) {
  const fs::path cartella = lavoro().sotto("costruzione");
  const int64_t byte = byte_scritti();
  for (auto _ : state) {
    piattaforma_silenziosa sistema(cartella);
    Form1 form(sistema);
    if (costruisci(form, scenario()) != 0 || form.codice_errore != 0) {
      state.SkipWithError(("errore " + std::to_string(form.codice_errore)).c_str());
      break;
    }
  }
  state.SetBytesProcessed(state.iterations() * byte);
  state.counters["byte_scritti"] = static_cast<double>(byte);
}

void scrivi_per_intero(const fs::path& p, const std::string& byte) {
  int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) throw std::runtime_error("open " + p.string() + ": " + std::strerror(errno));
  const char* d = byte.data();
  size_t resto = byte.size();
  while (resto > 0) {
    ssize_t n = ::write(fd, d, resto);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw std::runtime_error("write " + p.string() + ": " + std::strerror(errno));
    }
    d += n;
    resto -= static_cast<size_t>(n);
  }
  if (::close(fd) != 0) throw std::runtime_error("close " + p.string() + ": " + std::strerror(errno));
}

void scrittura_di_base(benchmark::State& state) {
  const fs::path cartella = lavoro().sotto("costruzione");
  const std::vector<file_scritto>& file = file_della_costruzione();
  std::vector<fs::path> percorsi;
  for (const file_scritto& f : file) percorsi.push_back(cartella / fs::path(f.nome));
  for (auto _ : state) {
    for (size_t i = 0; i < file.size(); ++i) scrivi_per_intero(percorsi[i], file[i].byte);
  }
  state.SetBytesProcessed(state.iterations() * byte_scritti());
}

// --- (c) the embedded package ------------------------------------------------

void pacchetto_incorporato(benchmark::State& state) {
  const fs::path cartella = lavoro().sotto("incorporato");
  for (auto _ : state) {
    piattaforma_silenziosa sistema(cartella);
    if (int stato = esegui_pacchetto(sistema, scenario_incorporato()); stato != 0) {
      state.SkipWithError(("stato di fine " + std::to_string(stato)).c_str());
      break;
    }
  }
}

// --- (d) the parts alone -------------------------------------------------------

// The reader alone: the sources are written before each read, off the clock.
void lettore(benchmark::State& state) {
  modello m(lavoro().sotto("lettore"));
  for (auto _ : state) {
    state.PauseTiming();
    scrivi_sorgenti(m.form, scenario());
    m.form.crea_linea = 1;
    m.form.codice_errore = 0;
    m.form.cancella_testata();
    state.ResumeTiming();
    m.form.memorizza_dati();
    if (m.form.codice_errore != 0) {
      state.SkipWithError(("errore " + std::to_string(m.form.codice_errore)).c_str());
      break;
    }
  }
}

// The finishing pass alone, each time on the grid as the reader left it.
void passata_finale(benchmark::State& state) {
  modello m(lavoro().sotto("passata"));
  scrivi_sorgenti(m.form, scenario());
  m.form.crea_linea = 1;
  m.form.cancella_testata();
  m.form.memorizza_dati();
  const std::vector<cella> letta = m.form.percorso;
  for (auto _ : state) {
    m.form.percorso = letta;
    m.form.codice_errore = 0;
    auto inizio = std::chrono::steady_clock::now();
    m.form.passata_finale();
    auto fine = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(fine - inizio).count());
    if (m.form.codice_errore != 0) {
      state.SkipWithError(("errore " + std::to_string(m.form.codice_errore)).c_str());
      break;
    }
  }
}

// The byte images of the three binary files of a finished build. The line
// file's image is the coordinate table itself, filled by the reader as it
// walks the line, so its share here is only the completed table's view.
void serializzazione(benchmark::State& state) {
  const fs::path cartella = lavoro().sotto("serializzazione");
  modello m(cartella);
  if (costruisci(m.form, scenario()) != 0 || m.form.codice_errore != 0) {
    state.SkipWithError("la costruzione registra un errore");
    return;
  }
  svuota(cartella);
  int64_t byte = 0;
  for (auto _ : state) {
    std::string_view linea = m.form.tracciato.immagine();
    std::string sim = immagine_testata(m.form.testata);
    std::string dat = immagine_percorso(m.form.percorso);
    byte = static_cast<int64_t>(linea.size() + sim.size() + dat.size());
    benchmark::DoNotOptimize(linea.data());
    benchmark::DoNotOptimize(sim.data());
    benchmark::DoNotOptimize(dat.data());
  }
  state.SetBytesProcessed(state.iterations() * byte);
}

// --- peak memory -----------------------------------------------------------------

// The peak resident memory of this process so far, in bytes, from the
// kernel's high-water mark; -1 when it cannot be read.
int64_t picco_di_questo_processo() {
  std::ifstream in("/proc/self/status");
  std::string riga;
  while (std::getline(in, riga))
    if (riga.starts_with("VmHWM:")) return std::stoll(riga.substr(6)) * 1024;  // "VmHWM:   1234 kB"
  return -1;
}

// Runs this program again with `argomenti`; the child writes its peak
// resident memory on its standard output, read here through a pipe. (The
// rusage of a spawned child would not do: it starts from the parent's peak.)
// Returns -1 when the child failed.
int64_t picco_del_figlio(const std::vector<std::string>& argomenti) {
  std::vector<std::string> a = {"banco_scenario"};
  a.insert(a.end(), argomenti.begin(), argomenti.end());
  std::vector<char*> argv;
  for (std::string& s : a) argv.push_back(s.data());
  argv.push_back(nullptr);

  int tubo[2];
  if (::pipe(tubo) != 0) return -1;
  posix_spawn_file_actions_t azioni;
  posix_spawn_file_actions_init(&azioni);
  posix_spawn_file_actions_adddup2(&azioni, tubo[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&azioni, tubo[0]);
  pid_t pid;
  int avvio = posix_spawn(&pid, "/proc/self/exe", &azioni, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&azioni);
  ::close(tubo[1]);
  std::string uscita;
  if (avvio == 0) {
    char blocco[256];
    ssize_t n;
    while ((n = ::read(tubo[0], blocco, sizeof blocco)) > 0) uscita.append(blocco, static_cast<size_t>(n));
  }
  ::close(tubo[0]);
  if (avvio != 0) return -1;
  int stato = 0;
  if (::waitpid(pid, &stato, 0) != pid || !WIFEXITED(stato) || WEXITSTATUS(stato) != 0 || uscita.empty()) return -1;
  return std::stoll(uscita);
}

void memoria_di_picco(benchmark::State& state) {
  const fs::path cartella = lavoro().sotto("memoria");
  int64_t picco = 0, base = 0;
  for (auto _ : state) {
    picco = picco_del_figlio({"--costruzione-sola", cartella.string()});
    base = picco_del_figlio({"--solo-avvio"});
    if (picco < 0 || base < 0) {
      state.SkipWithError("il processo figlio non ha finito bene");
      return;
    }
  }
  const double byte = static_cast<double>(byte_scritti());
  state.counters["picco_MB"] = static_cast<double>(picco) / 1e6;
  state.counters["processo_vuoto_MB"] = static_cast<double>(base) / 1e6;
  state.counters["byte_scritti_MB"] = byte / 1e6;
  state.counters["picco_su_byte"] = static_cast<double>(picco) / byte;
  state.counters["crescita_su_byte"] = static_cast<double>(picco - base) / byte;
}

BENCHMARK(costruzione_intera)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(scrittura_di_base)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(pacchetto_incorporato)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(lettore)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(passata_finale)->Unit(benchmark::kMicrosecond)->UseManualTime();
BENCHMARK(serializzazione)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(memoria_di_picco)->Unit(benchmark::kMillisecond)->Iterations(1);

// --- the ratio a / b ---------------------------------------------------------------

// The console report, plus the ratio of the whole build to its baseline.
class resoconto_con_rapporto : public benchmark::ConsoleReporter {
 public:
  explicit resoconto_con_rapporto(OutputOptions opzioni) : ConsoleReporter(opzioni) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      if (r.error_occurred || r.iterations == 0) continue;
      const double t = r.real_accumulated_time / static_cast<double>(r.iterations);
      if (r.run_type == Run::RT_Iteration)
        tempi_[r.run_name.function_name].push_back(t);
      else if (r.aggregate_name == "median")
        mediane_[r.run_name.function_name] = t;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    double a = mediana("costruzione_intera"), b = mediana("scrittura_di_base");
    if (a > 0 && b > 0)
      std::printf("\ncostruzione_intera / scrittura_di_base = %.2f  (%.2f ms / %.2f ms)\n", a / b, a * 1e3, b * 1e3);
  }

 private:
  // The library's median when it computed one (repetitions), else that of
  // the runs seen.
  double mediana(const std::string& nome) {
    if (auto m = mediane_.find(nome); m != mediane_.end()) return m->second;
    std::vector<double> t = tempi_[nome];
    if (t.empty()) return 0;
    std::sort(t.begin(), t.end());
    return t.size() % 2 ? t[t.size() / 2] : (t[t.size() / 2 - 1] + t[t.size() / 2]) / 2;
  }
  std::map<std::string, std::vector<double>> tempi_;
  std::map<std::string, double> mediane_;
};

// The child's jobs: one whole build, or only what every run of this program
// holds (the generated texts), to tell the build's own memory apart.
// Each writes its peak resident memory, in bytes, on standard output.
int figlio(int argc, char** argv) {
  const std::string modo = argv[1];
  const scenario_generato& s = scenario();
  if (modo == "--costruzione-sola") {
    if (argc < 3) return 2;
    piattaforma_silenziosa sistema{fs::path(argv[2])};
    Form1 form(sistema);
    if (costruisci(form, s) != 0 || form.codice_errore != 0) return 1;
  }
  std::printf("%lld\n", static_cast<long long>(picco_di_questo_processo()));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && (std::strcmp(argv[1], "--costruzione-sola") == 0 || std::strcmp(argv[1], "--solo-avvio") == 0))
    return figlio(argc, argv);
  // Large buffers are mapped afresh each time, as in the single run of a real
  // package, instead of being kept and handed out again warm by the heap.
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  resoconto_con_rapporto resoconto(::isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_Defaults
                                                            : benchmark::ConsoleReporter::OO_Tabular);
  benchmark::RunSpecifiedBenchmarks(&resoconto);
  benchmark::Shutdown();
  return 0;
}
