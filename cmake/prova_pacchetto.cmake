# Runs a scenario's package program the way a user does, alone in an empty
# folder, and checks what it leaves: exit status 0 with no message (the build
# recorded no error), exactly its six files, the three documents byte for byte
# as held in the scenario folder (in Windows-1252: as converted into TESTI,
# when the folder's texts are UTF-8), and, when the author tool is given, the
# three binary files equal to what `scenario build` writes for the same texts
# and names.
#
#   cmake -DPACCHETTO=<program> -DCARTELLA=<scenario folder> -DLAVORO=<scratch folder>
#         -DNOMI=<scenario_nomi_file> [-DTESTI=<the folder's texts as embedded>]
#         [-DSTRUMENTO=<scenario tool>] [-DEMULATORE=<runner>] -P prova_pacchetto.cmake
#
# A cross-built program runs through EMULATORE (Wine); its status alone then
# tells an error, as the runner writes diagnostics of its own; so does the
# tool of the same build.
#
# The names are Windows-1252 bytes; the files on disk carry them in the
# platform's form (UTF-8 as seen here, also for the files Wine writes). NOMI,
# built for the same platform as the program (src/app/nomi_file_main.cc), says
# what that form is, so names with accents are compared as the platform
# writes them.
cmake_minimum_required(VERSION 3.20)

foreach(_var PACCHETTO CARTELLA LAVORO NOMI)
  if(NOT DEFINED ${_var} OR "${${_var}}" STREQUAL "")
    message(FATAL_ERROR "prova_pacchetto: -D${_var}=... is required")
  endif()
  get_filename_component(${_var} "${${_var}}" ABSOLUTE)
endforeach()
if(DEFINED STRUMENTO AND NOT STRUMENTO STREQUAL "")
  get_filename_component(STRUMENTO "${STRUMENTO}" ABSOLUTE)
endif()
if(NOT DEFINED TESTI OR TESTI STREQUAL "")
  set(TESTI "${CARTELLA}")
endif()
get_filename_component(TESTI "${TESTI}" ABSOLUTE)

# A name as the package program holds it, as hex pairs: the file without one
# line end.
function(leggi_nome file uscita)
  file(READ "${TESTI}/${file}" esa HEX)
  string(REGEX REPLACE "(0d)?0a$" "" esa "${esa}")
  set(${uscita} "${esa}" PARENT_SCOPE)
endfunction()
leggi_nome(nome_scenario.txt esa_nome)
leggi_nome(numero_treno.txt esa_numero)

# The two names, then the six files: note, rallentamenti, scheda_treno, the
# line file, .sim, .dat.
execute_process(
  COMMAND ${EMULATORE} "${NOMI}" "${esa_nome}" "${esa_numero}"
  RESULT_VARIABLE stato OUTPUT_VARIABLE righe ERROR_VARIABLE errori)
if(NOT stato EQUAL 0)
  message(FATAL_ERROR "${NOMI} ended with status ${stato}: ${errori}")
endif()
string(REPLACE "\r" "" righe "${righe}")
string(REGEX REPLACE "\n$" "" righe "${righe}")
string(REPLACE "\n" ";" righe "${righe}")
list(LENGTH righe n)
if(NOT n EQUAL 8)
  message(FATAL_ERROR "${NOMI} gave ${n} lines instead of 8: ${righe}")
endif()
list(GET righe 0 nome)
list(GET righe 1 numero)
list(SUBLIST righe 2 3 file_documenti)
list(SUBLIST righe 5 3 binari)
set(documenti note.txt rallentamenti.txt scheda_treno.txt)

set(cartella "${LAVORO}/pacchetto")
file(REMOVE_RECURSE "${LAVORO}")
file(MAKE_DIRECTORY "${cartella}")
get_filename_component(programma "${PACCHETTO}" NAME)
file(COPY "${PACCHETTO}" DESTINATION "${cartella}")

execute_process(
  COMMAND ${EMULATORE} "${cartella}/${programma}"
  WORKING_DIRECTORY "${LAVORO}"
  RESULT_VARIABLE stato OUTPUT_VARIABLE uscita ERROR_VARIABLE errori)
# The wait window is a line "Attendere" without a window system; anything
# else is a message, that is, a build error or a failed file operation.
string(REGEX REPLACE "(^|\n)Attendere\r?\n" "\\1" messaggi "${errori}")
if(EMULATORE)
  set(messaggi "")
endif()
if(NOT stato EQUAL 0 OR NOT messaggi STREQUAL "")
  message(FATAL_ERROR "${programma} ended with status ${stato}: ${messaggi}${uscita}")
endif()

file(GLOB lasciati RELATIVE "${cartella}" "${cartella}/*")
list(REMOVE_ITEM lasciati "${programma}")
set(attesi ${binari} ${file_documenti})
list(SORT lasciati)
list(SORT attesi)
if(NOT lasciati STREQUAL attesi)
  message(FATAL_ERROR "${programma} left [${lasciati}] instead of [${attesi}]")
endif()

foreach(d f IN ZIP_LISTS documenti file_documenti)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${TESTI}/${d}" "${cartella}/${f}"
                  RESULT_VARIABLE diverso)
  if(diverso)
    message(FATAL_ERROR "${f} differs from ${TESTI}/${d}")
  endif()
endforeach()

if(DEFINED STRUMENTO AND NOT STRUMENTO STREQUAL "")
  set(costruiti "${LAVORO}/strumento")
  execute_process(
    COMMAND ${EMULATORE} "${STRUMENTO}" build --name "${nome}" --number "${numero}"
            --line "${CARTELLA}/linea.txt" --train "${CARTELLA}/treno.txt" --out "${costruiti}"
    RESULT_VARIABLE stato OUTPUT_VARIABLE uscita ERROR_VARIABLE errori)
  if(NOT stato EQUAL 0)
    message(FATAL_ERROR "scenario build ended with status ${stato}: ${uscita}${errori}")
  endif()
  foreach(b IN LISTS binari)
    execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${costruiti}/${b}" "${cartella}/${b}"
                    RESULT_VARIABLE diverso)
    if(diverso)
      message(FATAL_ERROR "${b}: the package program and scenario build wrote different bytes")
    endif()
  endforeach()
  message(STATUS "${programma}: the three binary files equal those of scenario build")
endif()
message(STATUS "${programma}: six files, no error")
