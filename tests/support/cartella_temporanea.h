// A fresh folder under the system's temporary folder, removed with its
// content when the test ends.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

class cartella_temporanea {
 public:
  cartella_temporanea() {
    std::random_device caso;
    for (;;) {
      percorso_ = std::filesystem::temp_directory_path() / ("scenario-test-" + std::to_string(caso()));
      if (std::filesystem::create_directory(percorso_)) break;
    }
  }
  ~cartella_temporanea() {
    std::error_code ec;
    std::filesystem::permissions(percorso_, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(percorso_, ec);
  }
  cartella_temporanea(const cartella_temporanea&) = delete;
  cartella_temporanea& operator=(const cartella_temporanea&) = delete;

  const std::filesystem::path& percorso() const { return percorso_; }
  std::filesystem::path operator/(const std::string& nome) const { return percorso_ / nome; }

  std::string leggi(const std::string& nome) const {
    std::ifstream in(percorso_ / nome, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  void scrivi(const std::string& nome, const std::string& contenuto) const {
    std::ofstream(percorso_ / nome, std::ios::binary) << contenuto;
  }

 private:
  std::filesystem::path percorso_;
};
