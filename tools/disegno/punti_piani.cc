// One pass over each coordinate's stream of elements, and the check of what
// can be drawn.
#include "disegno/punti_piani.h"

#include <limits>

#include "model/codifica.h"

namespace {

constexpr double mancante = std::numeric_limits<double>::quiet_NaN();

// The build's points lie within the route's length of the origin; a value
// far beyond is damage, not track.
constexpr double lontano = 1e8;

bool disegnabile(double v) { return std::isfinite(v) && std::abs(v) <= lontano; }

// Reads the elements of one coordinate in turn; NaN for an Empty one, or
// for one cut short.
class lettore_elementi {
 public:
  explicit lettore_elementi(std::string_view b) : b_(b) {}
  double prossimo() {
    if (b_.size() - pos_ < 2) return mancante;
    const int16_t codice = leggi_integer(b_.data() + pos_);
    pos_ += 2;
    if (codice == static_cast<int16_t>(tipo_elemento::intero) && b_.size() - pos_ >= 2) {
      pos_ += 2;
      return leggi_integer(b_.data() + pos_ - 2);
    }
    if (codice == static_cast<int16_t>(tipo_elemento::doppio) && b_.size() - pos_ >= 8) {
      pos_ += 8;
      return leggi_doppio(b_.data() + pos_ - 8);
    }
    return mancante;
  }

 private:
  std::string_view b_;
  size_t pos_ = 0;
};

}  // namespace

void punti_da_immagine(std::string_view immagine, int32_t ultimo_metro, punti_piani& p) {
  p.resize(static_cast<size_t>(ultimo_metro) + 1);
  lettore_elementi l(immagine);
  for (punto& q : p) q.x = l.prossimo();
  for (punto& q : p) {
    q.y = l.prossimo();
    if (!disegnabile(q.x) || !disegnabile(q.y)) q = {mancante, mancante};
  }
}
