// CRC-32, the checksum of a package payload (carico/carico.h): the CRC of
// ZIP, PNG and zlib (polynomial 0x04C11DB7 taken bit-reversed, 0xEDB88320;
// initial value and final XOR 0xFFFFFFFF), so any library's crc32 checks it.
// The check value, of the nine bytes "123456789", is 0xCBF43926.
#pragma once

#include <cstdint>
#include <string_view>

uint32_t crc32(std::string_view dati);
