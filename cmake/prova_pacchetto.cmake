# Runs a scenario's package program the way a user does, alone in an empty
# folder, and checks what it leaves: exit status 0 with no message (the build
# recorded no error), exactly its six files, the three documents byte for byte
# as held in the scenario folder (in Windows-1252: as converted into TESTI,
# when the folder's texts are UTF-8), and, when the author tool is given, the
# three binary files equal to what `scenario build` writes for the same texts
# and names.
#
#   cmake -DPACCHETTO=<program> -DCARTELLA=<scenario folder> -DLAVORO=<scratch folder>
#         [-DTESTI=<the folder's texts as embedded>] [-DSTRUMENTO=<scenario tool>]
#         [-DEMULATORE=<runner>] -P prova_pacchetto.cmake
#
# A cross-built program runs through EMULATORE (Wine); its status alone then
# tells an error, as the runner writes diagnostics of its own.
#
# File names are compared as the names' bytes, which holds for names in ASCII.
cmake_minimum_required(VERSION 3.20)

foreach(_var PACCHETTO CARTELLA LAVORO)
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

# A name as the package program holds it: the file without one line end.
function(leggi_nome file uscita)
  file(READ "${TESTI}/${file}" nome)
  string(REGEX REPLACE "\r?\n$" "" nome "${nome}")
  set(${uscita} "${nome}" PARENT_SCOPE)
endfunction()
leggi_nome(nome_scenario.txt nome)
leggi_nome(numero_treno.txt numero)

set(binari "${nome}_linea.dat" "${nome}_${numero}.sim" "${nome}_${numero}.dat")
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
set(attesi ${binari})
foreach(d IN LISTS documenti)
  list(APPEND attesi "${nome}_${numero}_${d}")
endforeach()
list(SORT lasciati)
list(SORT attesi)
if(NOT lasciati STREQUAL attesi)
  message(FATAL_ERROR "${programma} left [${lasciati}] instead of [${attesi}]")
endif()

foreach(d IN LISTS documenti)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${TESTI}/${d}" "${cartella}/${nome}_${numero}_${d}"
                  RESULT_VARIABLE diverso)
  if(diverso)
    message(FATAL_ERROR "${nome}_${numero}_${d} differs from ${TESTI}/${d}")
  endif()
endforeach()

if(DEFINED STRUMENTO AND NOT STRUMENTO STREQUAL "")
  set(costruiti "${LAVORO}/strumento")
  execute_process(
    COMMAND "${STRUMENTO}" build --name "${nome}" --number "${numero}"
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
