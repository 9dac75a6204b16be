# Turns one scenario folder into C++ data: the function scenario_incorporato()
# (src/sources/scenario_incorporato.h), which gives the two names and the five
# texts as lists of lines, for the package program that carries the scenario.
# Run as a script, at build time, on the machine that builds (also when the
# program is cross-built):
#
#   cmake -DCARTELLA=<folder> -DUSCITA=<file.cc> -DCONVERTITORE=<converti_testo>
#         [-DMOSTRA=<folder as named>] -P incorpora_scenario.cmake
#
# The folder holds:
#   linea.txt, treno.txt                  the line and train source texts
#   note.txt, rallentamenti.txt,          the three documents
#   scheda_treno.txt
#   nome_scenario.txt, numero_treno.txt   the two names, one line each
# Each file is Windows-1252 or UTF-8, told apart as `scenario build` does
# (a UTF-8 byte-order mark, or valid UTF-8 with a multi-byte sequence, means
# UTF-8); CONVERTITORE turns it into Windows-1252 bytes, left in testi/ beside
# USCITA, and the rest works on those. A text's lines end in CR LF (a plain LF
# is taken as well); a last line without a line end is still a line. The
# writers put every line back with CR LF, so a text held with CR LF comes out
# byte for byte.
#
# Refused, with the file, line and column named: a character that
# Windows-1252 cannot hold, or a text with the byte-order mark that is not
# valid UTF-8. Refused, with the file and line named: a text of more than 1000
# lines, a line equal to the end marker "riferimento fine del file" (the
# writers' lists could not hold either), a CR that does not end a line, an
# empty name, a name of more than one line or with a character that a file
# name cannot hold or with "..".
cmake_minimum_required(VERSION 3.20)

foreach(_var CARTELLA USCITA CONVERTITORE)
  if(NOT DEFINED ${_var} OR "${${_var}}" STREQUAL "")
    message(FATAL_ERROR "incorpora_scenario: -D${_var}=... is required")
  endif()
endforeach()
if(NOT DEFINED MOSTRA OR "${MOSTRA}" STREQUAL "")
  set(MOSTRA "${CARTELLA}")
endif()

set(righe_massime 1000)
set(fine_del_file "riferimento fine del file")
set(testi linea treno note rallentamenti scheda)
set(file_linea linea.txt)
set(file_treno treno.txt)
set(file_note note.txt)
set(file_rallentamenti rallentamenti.txt)
set(file_scheda scheda_treno.txt)
set(nomi nome_scenario numero_treno)
# File names are longest with the slow-order form's ending and the temporary
# ending every file is written through (src/driver/nomi_file.h).
set(coda_piu_lunga "__rallentamenti.txt.parziale")

# Stops the build with `testo` about `file` (and its line, when not empty).
function(rifiuta file riga testo)
  if(riga STREQUAL "")
    message(FATAL_ERROR "${MOSTRA}/${file}: ${testo}")
  else()
    message(FATAL_ERROR "${MOSTRA}/${file}:${riga}: ${testo}")
  endif()
endfunction()

get_filename_component(convertiti "${USCITA}" DIRECTORY)
set(convertiti "${convertiti}/testi")
file(MAKE_DIRECTORY "${convertiti}")

# The bytes of `file`, converted to Windows-1252, as lower-case hex pairs,
# each followed by a comma ("5b,67,"): a match of "0a," can then only fall on
# a whole byte.
function(leggi_byte file uscita)
  set(percorso "${CARTELLA}/${file}")
  if(NOT EXISTS "${percorso}" OR IS_DIRECTORY "${percorso}")
    rifiuta("${file}" "" "missing; a scenario folder holds linea.txt, treno.txt, note.txt, rallentamenti.txt, scheda_treno.txt, nome_scenario.txt and numero_treno.txt")
  endif()
  # The converter names the place itself, as FILE:LINE:COLUMN at the start of
  # a line of the build's output.
  file(REMOVE "${convertiti}/${file}")
  execute_process(COMMAND "${CONVERTITORE}" auto "${percorso}" "${convertiti}/${file}" "${MOSTRA}/${file}"
                  RESULT_VARIABLE esito)
  if(NOT esito EQUAL 0)
    rifiuta("${file}" "" "not embedded: the text above could not be converted to Windows-1252")
  endif()
  file(READ "${convertiti}/${file}" esadecimale HEX)
  string(REGEX REPLACE "(..)" "\\1," esadecimale "${esadecimale}")
  set(${uscita} "${esadecimale}" PARENT_SCOPE)
endfunction()

# The 1-based line on which the byte at `posizione` of `byte` stands.
function(riga_di byte posizione uscita)
  string(SUBSTRING "${byte}" 0 ${posizione} prima)
  string(REGEX MATCHALL "0a," fine_riga "${prima}")
  list(LENGTH fine_riga n)
  math(EXPR n "${n} + 1")
  set(${uscita} ${n} PARENT_SCOPE)
endfunction()

# The lines of a text, each as "L" and its bytes (never an empty element).
function(leggi_righe file uscita)
  leggi_byte("${file}" byte)
  string(REPLACE "0d,0a," "0a," byte "${byte}")
  string(FIND "${byte}" "0d," cr)
  if(cr GREATER_EQUAL 0)
    riga_di("${byte}" ${cr} riga)
    rifiuta("${file}" ${riga} "a carriage return (CR) that does not end the line; every line ends in CR LF or LF")
  endif()
  string(REPLACE "0a," ";L" righe "L${byte}")
  # The element after the last line end is not a line; neither is an empty text.
  if(byte STREQUAL "" OR byte MATCHES "0a,$")
    list(POP_BACK righe)
  endif()
  set(${uscita} "${righe}" PARENT_SCOPE)
endfunction()

# A name: one line of bytes that a file name can hold. One line end after it
# is allowed.
function(leggi_nome file uscita)
  leggi_byte("${file}" byte)
  string(REGEX REPLACE "(0d,)?0a,$" "" byte "${byte}")
  if(byte STREQUAL "")
    rifiuta("${file}" "" "the name is empty")
  endif()
  if(byte MATCHES "(0a|0d),")
    rifiuta("${file}" "" "the name must be a single line")
  endif()
  # Control characters and the characters Windows keeps out of file names.
  string(REGEX MATCH "(^|,)(0.|1.|7f|22|2a|2f|3a|3c|3e|3f|5c|7c)," vietato "${byte}")
  if(vietato)
    string(REGEX REPLACE "^,?(..),$" "\\1" esa "${vietato}")
    rifiuta("${file}" "" "the name holds the byte 0x${esa}, which a file name cannot hold (control characters and \\ / : * ? \" < > | are refused)")
  endif()
  # The author tool and the package program refuse it too (src/driver/nomi_file.h).
  if(byte MATCHES "(^|,)2e,2e,")
    rifiuta("${file}" "" "the name holds \"..\", which the scenario's names may not hold")
  endif()
  set(${uscita} "${byte}" PARENT_SCOPE)
endfunction()

# The byte "hh," of each value 0-255 and what stands for it inside a C++
# string literal: printable ASCII as itself, anything else (and " and \) as a
# three-digit octal escape, which never takes in a following character.
foreach(b RANGE 255)
  math(EXPR alto "${b} / 16")
  math(EXPR basso "${b} % 16")
  string(SUBSTRING "0123456789abcdef" ${alto} 1 h1)
  string(SUBSTRING "0123456789abcdef" ${basso} 1 h2)
  set(esa_${b} "${h1}${h2},")
  if(b GREATER_EQUAL 32 AND b LESS 127 AND NOT b EQUAL 34 AND NOT b EQUAL 92)
    string(ASCII ${b} c_${b})
  else()
    math(EXPR o1 "${b} / 64")
    math(EXPR o2 "${b} / 8 % 8")
    math(EXPR o3 "${b} % 8")
    set(c_${b} "\\${o1}${o2}${o3}")
  endif()
endforeach()

# `byte` (pairs "hh,", lines apart by newlines) as the inside of C++ string
# literals. A pair is matched only where it starts, as long as no comma has
# been turned into itself yet; so the comma (44) goes last.
function(letterali byte uscita)
  foreach(b RANGE 255)
    if(NOT b EQUAL 44)
      string(REPLACE "${esa_${b}}" "${c_${b}}" byte "${byte}")
    endif()
  endforeach()
  string(REPLACE "${esa_44}" "${c_44}" byte "${byte}")
  set(${uscita} "${byte}" PARENT_SCOPE)
endfunction()

# The end marker in the form of a line of leggi_righe.
string(HEX "${fine_del_file}" marcatore)
string(REGEX REPLACE "(..)" "\\1," marcatore "${marcatore}")
set(marcatore "L${marcatore}")

set(cc "// Generated from ${MOSTRA} by cmake/incorpora_scenario.cmake; edit the\n")
string(APPEND cc "// scenario folder, not this file.\n")
string(APPEND cc "#include \"sources/scenario_incorporato.h\"\n\n")
string(APPEND cc "using namespace std::string_literals;\n\n")
string(APPEND cc "scenario scenario_incorporato() {\n  scenario s;\n")

set(lunghezza_nomi 0)
foreach(nome IN LISTS nomi)
  leggi_nome("${nome}.txt" byte)
  string(LENGTH "${byte}" n)
  math(EXPR lunghezza_nomi "${lunghezza_nomi} + ${n} / 3")
  letterali("${byte}" l)
  string(APPEND cc "  s.${nome} = \"${l}\"s;\n")
endforeach()
string(LENGTH "${coda_piu_lunga}" n)
math(EXPR lunghezza_file "${lunghezza_nomi} + ${n}")
if(lunghezza_file GREATER 255)
  rifiuta("nome_scenario.txt" "" "with numero_treno.txt the names make file names of ${lunghezza_file} bytes; at most 255 fit")
endif()

foreach(testo IN LISTS testi)
  set(file "${file_${testo}}")
  leggi_righe("${file}" righe)
  list(LENGTH righe n)
  if(n GREATER righe_massime)
    math(EXPR oltre "${righe_massime} + 1")
    rifiuta("${file}" ${oltre} "the text has ${n} lines; a text holds at most ${righe_massime}")
  endif()
  string(APPEND cc "\n  // ${file}, ${n} lines.\n")
  string(APPEND cc "  s.${testo} = {\n")
  set(numero 0)
  foreach(riga IN LISTS righe)
    math(EXPR numero "${numero} + 1")
    if(riga STREQUAL marcatore)
      rifiuta("${file}" ${numero} "the line equals the end marker \"${fine_del_file}\", which closes a writer's list and cannot be a line of a text")
    endif()
  endforeach()
  if(n GREATER 0)
    string(REPLACE "L" "" righe "${righe}")
    string(REPLACE ";" "\n" righe "${righe}")
    letterali("${righe}" righe)
    string(REPLACE "\n" "\"s,\n      \"" righe "${righe}")
    string(APPEND cc "      \"${righe}\"s,\n")
  endif()
  string(APPEND cc "  };\n")
endforeach()
string(APPEND cc "  return s;\n}\n")

file(WRITE "${USCITA}" "${cc}")
