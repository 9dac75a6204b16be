// Reading the scene out of the decoded files: where each feature stands on
// the route, slowdowns paired from their two ends, stations with and without
// stop cells, the layers of the cells, the chainage references.
#include "disegno/scena.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "disegno/svg.h"
#include "ispeziona/decodifica.h"
#include "model/area_stazione.h"
#include "model/dimensioni.h"

namespace {

int32_t metro_punto(size_t i) { return static_cast<int32_t>((static_cast<int64_t>(i) - 1) * metri_per_cella); }

std::string ora(int32_t secondi) {
  if (secondi < 0) return {};
  char b[32];
  std::snprintf(b, sizeof b, "%02d:%02d:%02d", secondi / 3600, secondi / 60 % 60, secondi % 60);
  return b;
}

// The name of header record `r`, when r is a record that can hold one.
std::string nome_voce(const tabella_testata& t, int32_t r) {
  if (r < voce_prima_stazione || r > voce_primo_cartello) return {};
  return testo_da_cp1252(t[static_cast<size_t>(r)].nome);
}

}  // namespace

std::string metri(int64_t m) { return std::to_string(m) + " m"; }

size_t oltre_la_fine(const scena& s) {
  size_t n = 0;
  for (const auto* elenco : {&s.stazioni, &s.segnali, &s.cartelli, &s.indicatori})
    for (const scena::segno& x : *elenco) n += x.oltre_fine;
  for (const auto* elenco : {&s.rallentamenti, &s.aree_stazione})
    for (const scena::tratto& x : *elenco) n += x.oltre_fine;
  return n;
}

scena leggi_scena(const std::vector<cella>& percorso, const tabella_testata& testata) {
  scena s;
  s.nome_scenario = testo_da_cp1252(testata[voce_scenario].nome);
  s.numero_treno = testo_da_cp1252(testata[voce_treno].nome);
  s.lunghezza = testata[voce_treno_e_percorso].secondo;
  int64_t fine = std::max<int32_t>(s.lunghezza, 0);
  auto oltre = [&](int64_t m) { return m > s.lunghezza; };

  // Point features, and the two ends of each slowdown to pair up.
  std::vector<bool> con_fermata(numero_voci, false);
  struct capo {
    size_t cella;
    int16_t velocita, dato3;
  };
  std::vector<capo> inizi, fini;
  for (size_t i = 0; i < percorso.size(); ++i) {
    const cella& c = percorso[i];
    const int32_t m = metro_punto(i);
    switch (c.tipo) {
      case segnale:
        s.segnali.push_back({m, {}, "segnale, " + metri(m), false, 0, oltre(m)});
        fine = std::max<int64_t>(fine, m + metri_per_cella);
        break;
      case cartello: {
        std::string t = nome_voce(testata, c.dato1);
        s.cartelli.push_back({m, t, "cartello \"" + t + "\", " + metri(m), false, 0, oltre(m)});
        fine = std::max<int64_t>(fine, m + metri_per_cella);
        break;
      }
      case indicatore_v_max: {
        // Each pair packs a speed in km/h divided by 5.
        std::string t;
        int32_t prima = 0;
        for (int16_t v : {c.dato1, c.dato2, c.dato3}) {
          if (v == 0) continue;
          if (t.empty())
            prima = v * 5;
          else
            t += "/";
          t += std::to_string(static_cast<int32_t>(v) * 5);
        }
        s.indicatori.push_back({m, t, "indicatore di velocità " + t + " km/h, " + metri(m), false, prima, oltre(m)});
        fine = std::max<int64_t>(fine, m + metri_per_cella);
        break;
      }
      case stazione: {
        std::string nome = nome_voce(testata, c.dato1);
        if (nome.empty()) nome = "stazione " + std::to_string(c.dato1);
        std::string dettaglio = nome + ", fermata a " + metri(m);
        // A station stands where its record puts it; its stop cell lies
        // further on, past the end for a terminus at the end of the line.
        bool oltre_stazione = oltre(m);
        if (c.dato1 >= voce_prima_stazione && c.dato1 <= voce_primo_cartello) {
          con_fermata[static_cast<size_t>(c.dato1)] = true;
          const voce& v = testata[static_cast<size_t>(c.dato1)];
          dettaglio += ", area " + std::to_string(v.primo) + "-" + metri(v.secondo) + ", orario " + ora(v.orario);
          oltre_stazione = oltre(v.terzo);
        }
        s.stazioni.push_back({m, nome, dettaglio, false, 0, oltre_stazione});
        fine = std::max<int64_t>(fine, m + metri_per_cella);
        break;
      }
      case avviso_rallentamento:
        s.avvisi.push_back({m, std::to_string(c.dato1),
                            "avviso di rallentamento a " + std::to_string(c.dato1) + " km/h, " + metri(m)});
        fine = std::max<int64_t>(fine, m + metri_per_cella);
        break;
      case inizio_rallentamento: inizi.push_back({i, c.dato1, c.dato3}); break;
      case fine_rallentamento: fini.push_back({i, c.dato1, c.dato3}); break;
      default: break;
    }
  }

  // A start pairs with the first end after it that carries the same speed
  // and dato3, as the two cells of one slowdown do; a start without one is a
  // slowdown within a single cell.
  {
    std::map<std::pair<int16_t, int16_t>, std::vector<size_t>> per_chiave;
    for (const capo& f : fini) per_chiave[{f.velocita, f.dato3}].push_back(f.cella);
    std::map<std::pair<int16_t, int16_t>, size_t> prossimo;
    for (const capo& a : inizi) {
      const auto chiave = std::pair{a.velocita, a.dato3};
      size_t e = a.cella;
      auto trovato = per_chiave.find(chiave);
      if (trovato != per_chiave.end()) {
        size_t& k = prossimo[chiave];
        while (k < trovato->second.size() && trovato->second[k] <= a.cella) ++k;
        if (k < trovato->second.size()) e = trovato->second[k++];
      }
      const int32_t da = metro_punto(a.cella);
      const int32_t al = e == a.cella ? da + metri_per_cella : metro_punto(e);
      s.rallentamenti.push_back(
          {da, al, a.velocita,
           "rallentamento a " + std::to_string(a.velocita) + " km/h, " + std::to_string(da) + "-" + metri(al),
           oltre(da)});
      fine = std::max<int64_t>(fine, al);
    }
  }

  // Stations without a stop cell (kinds of 25 and more) at their position;
  // the area of every station. Only the last, the terminus, may reach past
  // the end with its area.
  auto di_stazione = [&](int r) {
    return con_fermata[static_cast<size_t>(r)] || ruolo_di(r, testata[static_cast<size_t>(r)]) == ruolo_voce::stazione;
  };
  int ultima = 0;
  for (int r = voce_prima_stazione; r <= voce_primo_cartello; ++r)
    if (di_stazione(r)) ultima = r;
  for (int r = voce_prima_stazione; r <= voce_primo_cartello; ++r) {
    if (!di_stazione(r)) continue;
    const voce& v = testata[static_cast<size_t>(r)];
    const std::string nome = testo_da_cp1252(v.nome);
    if (!con_fermata[static_cast<size_t>(r)]) {
      s.stazioni.push_back(
          {v.terzo, nome, nome + ", senza segno di fermata, " + metri(v.terzo), true, 0, oltre(v.terzo)});
      fine = std::max<int64_t>(fine, static_cast<int64_t>(v.terzo) + metri_per_cella);
    }
    if (v.primo < v.secondo) {
      s.aree_stazione.push_back({v.primo, v.secondo, r, nome, r != ultima && area_oltre_fine(v, s.lunghezza)});
      fine = std::max<int64_t>(fine, v.secondo);
    }
  }
  std::stable_sort(s.stazioni.begin(), s.stazioni.end(),
                   [](const auto& a, const auto& b) { return a.metro < b.metro; });

  const int64_t griglia = static_cast<int64_t>(percorso.size()) * metri_per_cella;
  // Within the grid, and far enough inside 32 bits for any arithmetic on it.
  constexpr int64_t fine_massima = int64_t{1} << 30;
  s.fine = static_cast<int32_t>(
      std::clamp<int64_t>(fine, metri_per_cella, std::clamp<int64_t>(griglia, metri_per_cella, fine_massima)));

  // Layers of the cells that cover the drawn stretch.
  const size_t celle = std::min(percorso.size(), static_cast<size_t>((s.fine + metri_per_cella - 1) / metri_per_cella));
  for (size_t i = 0; i < celle; ++i) {
    s.pendenza.push_back(static_cast<double>(percorso[i].pendenza) - 100);
    s.velocita.push_back(static_cast<double>(percorso[i].velocita) * 5);
    s.aderenza.push_back(percorso[i].aderenza);
  }
  for (size_t i = 0; i < celle;) {
    size_t k = i;
    while (k + 1 < celle && percorso[k + 1].montagna == percorso[i].montagna) ++k;
    if (percorso[i].montagna != 0) {
      const auto da = static_cast<int32_t>(i) * metri_per_cella, a = static_cast<int32_t>(k + 1) * metri_per_cella;
      s.montagne.push_back({da, a, percorso[i].montagna,
                            "sezione di montagna di tipo " + std::to_string(percorso[i].montagna) + ", " +
                                std::to_string(da) + "-" + metri(a)});
    }
    i = k + 1;
  }

  for (int r = voce_primo_riferimento; r <= voce_ultimo_riferimento; ++r) {
    const voce& v = testata[static_cast<size_t>(r)];
    if (v.primo != 0 || v.secondo != 0 || v.terzo != 0) s.riferimenti.push_back({v.primo, v.secondo});
  }
  std::sort(s.riferimenti.begin(), s.riferimenti.end(), [](const auto& a, const auto& b) { return a.metro < b.metro; });
  return s;
}

std::string progressiva(const std::vector<scena::riferimento>& riferimenti, int64_t metro) {
  if (riferimenti.empty()) return {};
  const scena::riferimento* r = &riferimenti.front();
  for (const auto& x : riferimenti)
    if (x.metro <= metro) r = &x;
  const int64_t pk = static_cast<int64_t>(r->progressiva) + (metro - r->metro);
  const int64_t assoluto = pk < 0 ? -pk : pk;
  char b[48];
  std::snprintf(b, sizeof b, "%s%lld+%03lld", pk < 0 ? "-" : "", static_cast<long long>(assoluto / 1000),
                static_cast<long long>(assoluto % 1000));
  return b;
}
