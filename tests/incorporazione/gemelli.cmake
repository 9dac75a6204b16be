# Two package programs built from twin scenario folders, the same scenario
# saved in Windows-1252 and in UTF-8, each run alone in an empty folder: they
# must leave the same files, byte for byte. The twins' texts must differ as
# bytes (else the test would prove nothing).
#
#   cmake -DPRIMO=<program> -DSECONDO=<program> -DCARTELLA_PRIMO=<folder> -DCARTELLA_SECONDO=<folder>
#         -DLAVORO=<scratch folder> [-DEMULATORE=<runner>] -P gemelli.cmake
cmake_minimum_required(VERSION 3.20)

foreach(_var PRIMO SECONDO CARTELLA_PRIMO CARTELLA_SECONDO LAVORO)
  if(NOT DEFINED ${_var} OR "${${_var}}" STREQUAL "")
    message(FATAL_ERROR "gemelli: -D${_var}=... is required")
  endif()
endforeach()

foreach(testo linea.txt treno.txt note.txt rallentamenti.txt scheda_treno.txt)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${CARTELLA_PRIMO}/${testo}" "${CARTELLA_SECONDO}/${testo}"
                  RESULT_VARIABLE diverso)
  if(NOT diverso)
    message(FATAL_ERROR "${testo} is the same bytes in both folders: they are no twins in two encodings")
  endif()
endforeach()

# Runs `programma` alone in LAVORO/<nome>; sets `file` to what it left.
function(esegui nome programma file)
  set(cartella "${LAVORO}/${nome}")
  file(REMOVE_RECURSE "${cartella}")
  file(MAKE_DIRECTORY "${cartella}")
  file(COPY "${programma}" DESTINATION "${cartella}")
  get_filename_component(eseguibile "${programma}" NAME)
  execute_process(COMMAND ${EMULATORE} "${cartella}/${eseguibile}" WORKING_DIRECTORY "${LAVORO}"
                  RESULT_VARIABLE stato OUTPUT_QUIET ERROR_QUIET)
  if(NOT stato EQUAL 0)
    message(FATAL_ERROR "${eseguibile} ended with status ${stato}")
  endif()
  file(REMOVE "${cartella}/${eseguibile}")
  file(GLOB lasciati RELATIVE "${cartella}" "${cartella}/*")
  list(SORT lasciati)
  set(${file} "${lasciati}" PARENT_SCOPE)
endfunction()

esegui(primo "${PRIMO}" file_primo)
esegui(secondo "${SECONDO}" file_secondo)
list(LENGTH file_primo n)
if(NOT n EQUAL 6 OR NOT file_primo STREQUAL file_secondo)
  message(FATAL_ERROR "the twins left different files: [${file_primo}] and [${file_secondo}]")
endif()
foreach(f IN LISTS file_primo)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${LAVORO}/primo/${f}" "${LAVORO}/secondo/${f}"
                  RESULT_VARIABLE diverso)
  if(diverso)
    message(FATAL_ERROR "${f}: the twins wrote different bytes")
  endif()
endforeach()
message(STATUS "the twins wrote the same six files")
