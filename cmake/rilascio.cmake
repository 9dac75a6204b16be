# The stubs of `scenario pack`, and what an author downloads: the tool with
# both stubs and a short README, installed by `cmake --install` and packed by
# `cpack` into scenario-<version>-Linux.tar.gz (native build) or
# scenario-<version>-Windows.zip (cross build with mingw-w64), all in one
# layout:
#
#   scenario (scenario.exe)         the author tool
#   stub/scenario-package-linux     the stubs (tools/scenario/programmi_base.h)
#   stub/scenario-package-windows.exe
#   README.txt                      for authors (docs/autori/README.txt), CR LF on Windows
#   sorgenti.md                     how to write a scenario (docs/sorgenti.md)
#   sorgenti.html                   the same as a page (cmake/riferimento_html.cmake)
#
# The build folder keeps the same layout around the tool (tools/scenario and
# tools/stub/), so the tool finds its stubs there too. One build makes the
# stub of its own platform; the other comes from the other build, named by
# SCENARIO_STUB_WINDOWS (in the native build) or SCENARIO_STUB_LINUX (in the
# cross build), and is copied into stub/ beside the own one.
# Included from tools/CMakeLists.txt, where the tool is defined.

set(SCENARIO_VERSIONE 1.0.0)
set(_stub "${CMAKE_CURRENT_BINARY_DIR}/stub")

# The stub of this platform: the generic package program (the embedded
# scenario), stripped whatever the build type, and on Linux with the C++
# runtime linked in, so that it runs on a machine without the build's
# libraries. The Windows build links everything statically anyway
# (cmake/mingw-w64-x86_64.cmake).
if(WIN32)
  add_executable(scenario_stub WIN32 "${PROJECT_SOURCE_DIR}/src/app/scenario_package_main_win32.cc")
  target_link_options(scenario_stub PRIVATE -municode)
  set(_nome_stub scenario-package-windows)
  set(_altro_stub scenario-package-linux)
  set(_variabile_altro SCENARIO_STUB_LINUX)
  set(_sistema Windows)
else()
  add_executable(scenario_stub "${PROJECT_SOURCE_DIR}/src/app/scenario_package_main.cc")
  target_link_options(scenario_stub PRIVATE -static-libstdc++ -static-libgcc)
  set(_nome_stub scenario-package-linux)
  set(_altro_stub scenario-package-windows.exe)
  set(_variabile_altro SCENARIO_STUB_WINDOWS)
  set(_sistema Linux)
endif()
target_link_libraries(scenario_stub PRIVATE scenario_core scenario-package_dati)
# The tool too needs only the system's C library, wherever an author runs it.
if(NOT WIN32)
  target_link_options(scenario PRIVATE -static-libstdc++ -static-libgcc)
endif()
target_link_options(scenario_stub PRIVATE -s)
# The tool handed out is stripped too; on Windows neither carries the time
# of its linking, so the same sources give the same bytes (and the stub that
# one build takes from the other is the one that build packs).
target_link_options(scenario PRIVATE $<$<CONFIG:Release>:-s>)
if(WIN32)
  target_link_options(scenario_stub PRIVATE -Wl,--no-insert-timestamp)
  target_link_options(scenario PRIVATE -Wl,--no-insert-timestamp)
endif()
set_target_properties(scenario_stub PROPERTIES OUTPUT_NAME ${_nome_stub} RUNTIME_OUTPUT_DIRECTORY "${_stub}")
add_dependencies(scenario scenario_stub)

# The other platform's stub, as the other build made it.
set(${_variabile_altro} "" CACHE FILEPATH
    "The stub ${_altro_stub} made by the other build, so that this build's tool packs for both platforms")
if(${_variabile_altro})
  add_custom_command(
    OUTPUT "${_stub}/${_altro_stub}"
    COMMAND "${CMAKE_COMMAND}" -E copy "${${_variabile_altro}}" "${_stub}/${_altro_stub}"
    DEPENDS "${${_variabile_altro}}"
    COMMENT "Copying the stub ${_altro_stub}")
  add_custom_target(scenario_stub_altro ALL DEPENDS "${_stub}/${_altro_stub}")
  add_dependencies(scenario scenario_stub_altro)
endif()

install(TARGETS scenario RUNTIME DESTINATION .)
install(TARGETS scenario_stub RUNTIME DESTINATION stub)
if(${_variabile_altro})
  install(PROGRAMS "${${_variabile_altro}}" DESTINATION stub RENAME ${_altro_stub})
else()
  install(CODE "message(WARNING \"stub/${_altro_stub} is not installed: configure with -D${_variabile_altro}=... "
               "(the stub the other build makes), or the tool packs for ${_sistema} only\")")
endif()
# The README with the line ends of the archive's system: CR LF in the
# Windows archive, where Notepad shows it so.
if(WIN32)
  file(READ "${PROJECT_SOURCE_DIR}/docs/autori/README.txt" _leggimi)
  string(REPLACE "\r\n" "\n" _leggimi "${_leggimi}")
  string(REPLACE "\n" "\r\n" _leggimi "${_leggimi}")
  file(WRITE "${CMAKE_CURRENT_BINARY_DIR}/rilascio/README.txt" "${_leggimi}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/docs/autori/README.txt")
  install(FILES "${CMAKE_CURRENT_BINARY_DIR}/rilascio/README.txt" DESTINATION .)
else()
  install(FILES "${PROJECT_SOURCE_DIR}/docs/autori/README.txt" DESTINATION .)
endif()
install(FILES "${PROJECT_SOURCE_DIR}/docs/sorgenti.md" DESTINATION .)

# The reference also as a page to open in a browser, rendered at build time
# by Debian's cmark-gfm (cmake/riferimento_html.cmake); without it the
# archive has the Markdown alone, and says so.
find_program(SCENARIO_CMARK_GFM cmark-gfm)
if(SCENARIO_CMARK_GFM)
  set(_html "${CMAKE_CURRENT_BINARY_DIR}/rilascio/sorgenti.html")
  add_custom_command(
    OUTPUT "${_html}"
    COMMAND "${CMAKE_COMMAND}" -DCMARK=${SCENARIO_CMARK_GFM} -DINGRESSO=${PROJECT_SOURCE_DIR}/docs/sorgenti.md
            -DUSCITA=${_html} -P "${PROJECT_SOURCE_DIR}/cmake/riferimento_html.cmake"
    DEPENDS "${PROJECT_SOURCE_DIR}/docs/sorgenti.md" "${PROJECT_SOURCE_DIR}/cmake/riferimento_html.cmake"
    COMMENT "Rendering the reference for authors as HTML")
  add_custom_target(scenario_riferimento_html ALL DEPENDS "${_html}")
  add_dependencies(scenario scenario_riferimento_html)
  install(FILES "${_html}" DESTINATION .)
else()
  install(CODE "message(WARNING \"sorgenti.html is not installed: cmark-gfm was not found (Debian's cmark-gfm)\")")
endif()

set(CPACK_PACKAGE_NAME scenario)
set(CPACK_PACKAGE_VERSION ${SCENARIO_VERSIONE})
set(CPACK_PACKAGE_FILE_NAME scenario-${SCENARIO_VERSIONE}-${_sistema})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
else()
  set(CPACK_GENERATOR TGZ)
endif()
include(CPack)
