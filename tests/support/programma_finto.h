// Small program files for the tests of payloads: only the headers and tables
// that say where a program ends (carico/immagine_eseguibile.h), filled with
// a byte pattern, so that a test builds programs of a known end and
// appends to them, without a real executable.
#pragma once

#include <cstdint>
#include <string>

namespace programma_finto {

inline void poni(std::string& b, size_t da, uint64_t v, int byte) {
  for (int i = 0; i < byte; ++i) b[da + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// The end of elf() and pe(), as their headers say.
inline constexpr uint64_t fine_elf = 700;
inline constexpr uint64_t fine_pe = 1300;

// A 64-bit little-endian ELF file: the header, one segment [0, 400), and at
// 508 a table of three sections: the null one, one at [400, 500), and one
// that takes no room in the file (bss) however large it says it is. The
// table ends at 508 + 3 * 64 = 700.
inline std::string elf() {
  std::string b(fine_elf, '\x5A');
  b.replace(0, 64, 64, '\0');
  b.replace(0, 4, "\x7F" "ELF");
  b[4] = 2;  // 64 bit
  b[5] = 1;  // little-endian
  b[6] = 1;
  poni(b, 32, 64, 8);   // e_phoff
  poni(b, 40, 508, 8);  // e_shoff
  poni(b, 52, 64, 2);   // e_ehsize
  poni(b, 54, 56, 2);   // e_phentsize
  poni(b, 56, 1, 2);    // e_phnum
  poni(b, 58, 64, 2);   // e_shentsize
  poni(b, 60, 3, 2);    // e_shnum
  // The segment.
  b.replace(64, 56, 56, '\0');
  poni(b, 64, 1, 4);         // PT_LOAD
  poni(b, 64 + 8, 0, 8);     // p_offset
  poni(b, 64 + 32, 400, 8);  // p_filesz
  // The sections.
  b.replace(508, 192, 192, '\0');
  poni(b, 508 + 64 + 4, 1, 4);          // PROGBITS
  poni(b, 508 + 64 + 24, 400, 8);       // sh_offset
  poni(b, 508 + 64 + 32, 100, 8);       // sh_size
  poni(b, 508 + 128 + 4, 8, 4);         // NOBITS
  poni(b, 508 + 128 + 24, 600, 8);      // sh_offset
  poni(b, 508 + 128 + 32, 100000, 8);   // sh_size
  return b;
}

// A PE32+ file: the DOS header pointing at 128, the PE headers, two sections
// [512, 1024) and [1024, 1200), and a certificate table [1200, 1300).
inline std::string pe() {
  std::string b(fine_pe, '\x5A');
  b.replace(0, 512, 512, '\0');
  b.replace(0, 2, "MZ");
  poni(b, 0x3C, 128, 4);
  b.replace(128, 4, std::string("PE\0\0", 4));
  poni(b, 128 + 4, 0x8664, 2);   // machine
  poni(b, 128 + 6, 2, 2);        // sections
  poni(b, 128 + 20, 240, 2);     // optional header's size
  const size_t opz = 128 + 24;
  poni(b, opz, 0x20B, 2);        // PE32+
  poni(b, opz + 60, 512, 4);     // SizeOfHeaders
  poni(b, opz + 108, 16, 4);     // NumberOfRvaAndSizes
  poni(b, opz + 112 + 32, 1200, 4);  // certificate table: file offset
  poni(b, opz + 112 + 36, 100, 4);   // and size
  const size_t sezioni = opz + 240;
  poni(b, sezioni + 16, 512, 4);       // SizeOfRawData
  poni(b, sezioni + 20, 512, 4);       // PointerToRawData
  poni(b, sezioni + 40 + 16, 176, 4);
  poni(b, sezioni + 40 + 20, 1024, 4);
  return b;
}

}  // namespace programma_finto
