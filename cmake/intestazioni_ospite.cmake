# CLI11, nlohmann-json and cpp-httplib for a cross build of the author tool.
# CLI11 and nlohmann-json are header-only, so the build machine's Debian
# headers (libcli11-dev, nlohmann-json3-dev) serve the cross compiler too.
# Debian builds cpp-httplib as a library for its own machine, so the cross
# build takes the single header of its source package instead
# (SCENARIO_HTTPLIB_H; `apt-get source cpp-httplib` holds it, .ci/windows
# fetches it). The headers are copied into the build folder, so that the build
# machine's own /usr/include, with its C library, never goes on the cross
# compiler's path. Defines CLI11::CLI11, nlohmann_json::nlohmann_json and
# scenario_httplib, and sets CLI11_FOUND, nlohmann_json_FOUND and
# HTTPLIB_FOUND.
set(SCENARIO_INTESTAZIONI_OSPITE /usr/include CACHE PATH
    "Where the build machine keeps the CLI and nlohmann header folders, for a cross build of the tool")
set(SCENARIO_HTTPLIB_H "" CACHE FILEPATH
    "cpp-httplib's single header (httplib.h of its source package), for a cross build of the tool")
set(_copia "${CMAKE_BINARY_DIR}/intestazioni_ospite")
foreach(_pacchetto CLI11 nlohmann_json HTTPLIB)
  set(${_pacchetto}_FOUND FALSE)
endforeach()
if(EXISTS "${SCENARIO_INTESTAZIONI_OSPITE}/CLI/CLI.hpp" AND EXISTS "${SCENARIO_INTESTAZIONI_OSPITE}/nlohmann/json.hpp")
  file(COPY "${SCENARIO_INTESTAZIONI_OSPITE}/CLI" "${SCENARIO_INTESTAZIONI_OSPITE}/nlohmann" DESTINATION "${_copia}")
  add_library(CLI11::CLI11 INTERFACE IMPORTED)
  target_include_directories(CLI11::CLI11 INTERFACE "${_copia}")
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
  target_include_directories(nlohmann_json::nlohmann_json INTERFACE "${_copia}")
  set(CLI11_FOUND TRUE)
  set(nlohmann_json_FOUND TRUE)
endif()
if(SCENARIO_HTTPLIB_H AND EXISTS "${SCENARIO_HTTPLIB_H}")
  # The library's split header declares only; the single header defines too.
  file(STRINGS "${SCENARIO_HTTPLIB_H}" _definizioni REGEX "^inline ")
  list(LENGTH _definizioni _definizioni)
  if(_definizioni LESS 100)
    message(FATAL_ERROR "${SCENARIO_HTTPLIB_H} is not cpp-httplib's single header (it declares only); take "
                        "httplib.h from its source package (apt-get source cpp-httplib)")
  endif()
  file(COPY "${SCENARIO_HTTPLIB_H}" DESTINATION "${_copia}/httplib")
  add_library(scenario_httplib INTERFACE)
  target_include_directories(scenario_httplib INTERFACE "${_copia}/httplib")
  target_link_libraries(scenario_httplib INTERFACE ws2_32)
  set(HTTPLIB_FOUND TRUE)
endif()
