// What the panels of a drawing share: the page's width and the frame that
// every panel spans, round steps and counted words, and the marks of the
// scene's features with their tooltips and the ring that flags a feature
// past the route's end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "disegno/scena.h"
#include "disegno/semplifica.h"

namespace tela {

inline constexpr double larghezza = 1100;
inline constexpr double sinistra = 76;  // room for the tick labels of the profile
inline constexpr double ampiezza = 1000;
inline constexpr double destra = sinistra + ampiezza;
// More marks of one kind than this and their labels would bury the picture.
inline constexpr size_t etichette_massime = 30;

// A step of 1, 2 or 5 times a power of ten, near `grezzo`.
double passo_tondo(double grezzo);

// A route metre as km for the axis, with the decimal comma.
std::string chilometri(double m);

// "1 stazione", "3 stazioni".
std::string plurale(size_t n, const char* uno, const char* molti);

// A polyline as path data.
std::string dati_percorso(const std::vector<punto>& p);

// A feature's tooltip.
std::string suggerimento(const scena::segno& s);

// Marks centred on q: the class is `genere` unless given, and `data-segno`
// names the kind for the tests and the watch page.
std::string cerchio(punto q, double r, const scena::segno& s, const char* genere, const char* classe = nullptr);
std::string quadrato(punto q, double r, const scena::segno& s, const char* genere);
std::string rombo(punto q, double r, const scena::segno& s, const char* genere);
std::string triangolo(punto q, double r, const scena::segno& s, const char* genere);

// What marks a feature past the route's end: the attribute a test or a
// script finds it by, its tooltip, and a ring in the warning colour.
inline const std::string dati_avviso = "data-avviso=\"oltre_fine_percorso\"";
std::string titolo_avviso(const scena& s, const std::string& dettaglio);
std::string alone(const scena& s, punto q, double r, const std::string& dettaglio);

// The fill of a mountain section of type `tipo`.
std::string colore_montagna(int32_t tipo);

}  // namespace tela
