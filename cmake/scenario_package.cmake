# Package programs for scenario folders. A scenario folder holds the five texts
# and the two names of one scenario (src/sources/cartella_scenario.h says what
# it holds and what is refused); a package program carries exactly one.
#
#   add_scenario_package(TARGET <target> DIR <folder>)
#     The package program <target> for the scenario in <folder> (relative to
#     the current source folder). Its data also form the object library
#     <target>_dati. With testing on, the test
#     pacchetto_in_cartella_vuota.<target> runs it in an empty folder
#     (prova_pacchetto.cmake) and compares its binary files with those of the
#     author tool `scenario build`, when that is built too.
#
#   add_scenario_packages(DIR <folder> [EXCEPT <name>...])
#     add_scenario_package for every folder inside <folder> but those named,
#     each as the program scenario-package-<name>.
#
#   add_scenario_dati(TARGET <target> DIR <folder> [FUNCTION <name>])
#     Only the data: an object library that defines the scenario's names and
#     texts as the function scenario_incorporato(), or <name>() (declared
#     `scenario <name>();`), for programs and tests that link the core. The
#     texts as converted to Windows-1252 are left in the build folder, in
#     scenari/<target>/testi/.
#
# The data are generated at build time by incorpora_scenario
# (cmake/incorpora_scenario), a program for the machine that builds, which
# is built here when this file is included, also for a cross build. It reads
# the folder through the same code as `scenario pack`: the texts may be
# Windows-1252 or UTF-8, each decided on its own, and the same rules hold.
# Both need the core library, scenario_core.
include_guard(GLOBAL)

set(_scenario_package_cmake "${CMAKE_CURRENT_LIST_DIR}")
set(_scenario_package_src "${CMAKE_CURRENT_LIST_DIR}/../src")

# Configures and builds incorpora_scenario into the build folder with the
# build machine's own compiler: in a cross build, without the toolchain and
# the compiler chosen for the target. Sets _scenario_incorporatore to the
# program.
function(_scenario_costruisci_incorporatore)
  set(sorgente "${_scenario_package_cmake}/incorpora_scenario")
  set(binario "${CMAKE_BINARY_DIR}/incorpora_scenario")
  set(configura "${CMAKE_COMMAND}" -S "${sorgente}" -B "${binario}" -G "${CMAKE_GENERATOR}"
      -DCMAKE_BUILD_TYPE=Release)
  if(CMAKE_MAKE_PROGRAM)
    list(APPEND configura "-DCMAKE_MAKE_PROGRAM=${CMAKE_MAKE_PROGRAM}")
  endif()
  if(CMAKE_CROSSCOMPILING)
    list(PREPEND configura "${CMAKE_COMMAND}" -E env --unset=CXX --unset=CXXFLAGS --unset=LDFLAGS
         --unset=CMAKE_TOOLCHAIN_FILE)
  else()
    list(APPEND configura "-DCMAKE_CXX_COMPILER=${CMAKE_CXX_COMPILER}")
  endif()
  foreach(passo configura costruisci)
    if(passo STREQUAL "configura")
      set(comando ${configura})
    else()
      set(comando "${CMAKE_COMMAND}" --build "${binario}")
    endif()
    execute_process(COMMAND ${comando} RESULT_VARIABLE esito OUTPUT_VARIABLE uscita ERROR_VARIABLE uscita)
    if(NOT esito EQUAL 0)
      message(FATAL_ERROR "incorpora_scenario, which embeds scenario folders, for the machine that builds, "
                          "could not be built (${binario}):\n${uscita}")
    endif()
  endforeach()
  # A change of its sources configures, and so builds it, again.
  include("${sorgente}/unita.cmake")
  set(dipende "${sorgente}/CMakeLists.txt" "${sorgente}/unita.cmake" "${sorgente}/incorpora_scenario.cc")
  foreach(unita ${INCORPORA_UNITA})
    list(APPEND dipende "${_scenario_package_src}/${unita}.h" "${_scenario_package_src}/${unita}.cc")
  endforeach()
  foreach(intestazione ${INCORPORA_INTESTAZIONI})
    list(APPEND dipende "${_scenario_package_src}/${intestazione}")
  endforeach()
  set_property(DIRECTORY "${CMAKE_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${dipende})
  set(_scenario_incorporatore "${binario}/incorpora_scenario${CMAKE_HOST_EXECUTABLE_SUFFIX}" PARENT_SCOPE)
endfunction()
_scenario_costruisci_incorporatore()

function(_scenario_argomenti funzione)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "TARGET;DIR;FUNCTION" "")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "${funzione}: unexpected arguments: ${arg_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT arg_TARGET OR NOT arg_DIR)
    message(FATAL_ERROR "${funzione}: usage: ${funzione}(TARGET <target> DIR <folder>)")
  endif()
  set(TARGET "${arg_TARGET}" PARENT_SCOPE)
  set(DIR "${arg_DIR}" PARENT_SCOPE)
  set(FUNCTION "${arg_FUNCTION}" PARENT_SCOPE)
endfunction()

function(add_scenario_dati)
  _scenario_argomenti(add_scenario_dati ${ARGN})
  get_filename_component(cartella "${DIR}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  if(NOT IS_DIRECTORY "${cartella}")
    message(FATAL_ERROR "add_scenario_dati: the scenario folder ${DIR} (${cartella}) does not exist")
  endif()
  # A missing file stops the build at once, where incorpora_scenario names it.
  set(dipende "")
  foreach(f linea.txt treno.txt note.txt rallentamenti.txt scheda_treno.txt nome_scenario.txt numero_treno.txt)
    if(EXISTS "${cartella}/${f}")
      list(APPEND dipende "${cartella}/${f}")
    endif()
  endforeach()

  set(generato "${CMAKE_CURRENT_BINARY_DIR}/scenari/${TARGET}/scenario_incorporato.cc")
  add_custom_command(
    OUTPUT "${generato}"
    COMMAND "${_scenario_incorporatore}" "${cartella}" "${generato}" "${DIR}" ${FUNCTION}
    DEPENDS ${dipende} "${_scenario_incorporatore}"
    COMMENT "Embedding scenario ${DIR}"
    VERBATIM)
  add_library(${TARGET} OBJECT "${generato}")
  target_include_directories(${TARGET} PRIVATE "${_scenario_package_src}")
endfunction()

function(add_scenario_package)
  _scenario_argomenti(add_scenario_package ${ARGN})
  if(FUNCTION)
    message(FATAL_ERROR "add_scenario_package: a package program's scenario is scenario_incorporato(); FUNCTION is for add_scenario_dati")
  endif()
  add_scenario_dati(TARGET ${TARGET}_dati DIR "${DIR}")
  # On Windows a GUI program (no console) that starts at wWinMain.
  if(WIN32)
    add_executable(${TARGET} WIN32 "${_scenario_package_src}/app/scenario_package_main_win32.cc")
    target_link_options(${TARGET} PRIVATE -municode)
  else()
    add_executable(${TARGET} "${_scenario_package_src}/app/scenario_package_main.cc")
  endif()
  target_link_libraries(${TARGET} PRIVATE scenario_core ${TARGET}_dati)
  # A Release build is the one to hand out: stripped of its symbols.
  target_link_options(${TARGET} PRIVATE $<$<CONFIG:Release>:-s>)

  # Run where it is built, or through the cross build's emulator.
  if(BUILD_TESTING AND (NOT CMAKE_CROSSCOMPILING OR CMAKE_CROSSCOMPILING_EMULATOR))
    # The check learns from this program how the platform names the files.
    if(NOT TARGET scenario_nomi_file)
      add_executable(scenario_nomi_file "${_scenario_package_src}/app/nomi_file_main.cc")
      target_link_libraries(scenario_nomi_file PRIVATE scenario_core)
    endif()
    get_filename_component(cartella "${DIR}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    # The author tool is compared with only where it is built; the test
    # reads whether it is at generation time, wherever it is defined.
    set(strumento "$<$<TARGET_EXISTS:scenario>:$<TARGET_FILE:scenario>>")
    add_test(NAME pacchetto_in_cartella_vuota.${TARGET}
      COMMAND "${CMAKE_COMMAND}" "-DPACCHETTO=$<TARGET_FILE:${TARGET}>" "-DCARTELLA=${cartella}"
              "-DTESTI=${CMAKE_CURRENT_BINARY_DIR}/scenari/${TARGET}_dati/testi"
              "-DLAVORO=${CMAKE_CURRENT_BINARY_DIR}/prova_pacchetto/${TARGET}" "-DSTRUMENTO=${strumento}"
              "-DNOMI=$<TARGET_FILE:scenario_nomi_file>"
              "-DEMULATORE=${CMAKE_CROSSCOMPILING_EMULATOR}"
              -P "${_scenario_package_cmake}/prova_pacchetto.cmake")
  endif()
endfunction()

function(add_scenario_packages)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "DIR" "EXCEPT")
  if(NOT arg_DIR OR arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "add_scenario_packages: usage: add_scenario_packages(DIR <folder> [EXCEPT <name>...])")
  endif()
  file(GLOB cartelle LIST_DIRECTORIES true CONFIGURE_DEPENDS RELATIVE "${CMAKE_CURRENT_SOURCE_DIR}/${arg_DIR}"
       "${CMAKE_CURRENT_SOURCE_DIR}/${arg_DIR}/*")
  list(SORT cartelle)
  foreach(nome IN LISTS cartelle)
    if(NOT IS_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}/${arg_DIR}/${nome}" OR nome IN_LIST arg_EXCEPT)
      continue()
    endif()
    if(NOT nome MATCHES "^[A-Za-z0-9_.+-]+$")
      message(FATAL_ERROR "add_scenario_packages: the scenario folder ${arg_DIR}/${nome} needs a name of letters, digits and _ . + - only, to name its program")
    endif()
    add_scenario_package(TARGET scenario-package-${nome} DIR "${arg_DIR}/${nome}")
  endforeach()
endfunction()
