# CLI11 and nlohmann-json for a cross build of the author tool. Both are
# header-only, so the build machine's Debian headers (libcli11-dev,
# nlohmann-json3-dev) serve the cross compiler too. They are copied into the
# build folder, so that the build machine's own /usr/include, with its C
# library, never goes on the cross compiler's path. Defines CLI11::CLI11 and
# nlohmann_json::nlohmann_json and sets CLI11_FOUND and nlohmann_json_FOUND.
set(SCENARIO_INTESTAZIONI_OSPITE /usr/include CACHE PATH
    "Where the build machine keeps the CLI and nlohmann header folders, for a cross build of the tool")
set(_copia "${CMAKE_BINARY_DIR}/intestazioni_ospite")
foreach(_pacchetto CLI11 nlohmann_json)
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
