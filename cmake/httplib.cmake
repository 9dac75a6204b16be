# cpp-httplib, which serves the page of `scenario watch`, as the target
# scenario_httplib, and HTTPLIB_FOUND.
#
# Natively, Debian's compiled library (libcpp-httplib-dev, through
# pkg-config, which also gives the defines its header was built with). A
# build whose tool must run where that library is not (the cross build for
# Windows, the release build of the Linux archive) names the library's single
# header instead, SCENARIO_HTTPLIB_H: the httplib.h of Debian's source package
# (`bash .ci/httplib DIR` fetches it), compiled into the tool.
set(SCENARIO_HTTPLIB_H "" CACHE FILEPATH
    "cpp-httplib's single header (httplib.h of its source package), compiled into the tool")
set(HTTPLIB_FOUND FALSE)
if(SCENARIO_HTTPLIB_H)
  if(NOT EXISTS "${SCENARIO_HTTPLIB_H}")
    message(FATAL_ERROR "SCENARIO_HTTPLIB_H: no file ${SCENARIO_HTTPLIB_H}")
  endif()
  # The library's split header declares only; the single header defines too.
  file(STRINGS "${SCENARIO_HTTPLIB_H}" _definizioni REGEX "^inline ")
  list(LENGTH _definizioni _definizioni)
  if(_definizioni LESS 100)
    message(FATAL_ERROR "${SCENARIO_HTTPLIB_H} is not cpp-httplib's single header (it declares only); take the "
                        "httplib.h of its source package (bash .ci/httplib DIR)")
  endif()
  # A copy of its own, so that no other header of its folder (the build
  # machine's /usr/include, in a cross build) goes on the include path.
  file(COPY "${SCENARIO_HTTPLIB_H}" DESTINATION "${CMAKE_BINARY_DIR}/httplib")
  add_library(scenario_httplib INTERFACE)
  target_include_directories(scenario_httplib SYSTEM INTERFACE "${CMAKE_BINARY_DIR}/httplib")
  if(WIN32)
    target_link_libraries(scenario_httplib INTERFACE ws2_32)
  else()
    find_package(Threads REQUIRED)
    target_link_libraries(scenario_httplib INTERFACE Threads::Threads)
  endif()
  set(HTTPLIB_FOUND TRUE)
elseif(NOT CMAKE_CROSSCOMPILING)
  find_package(PkgConfig QUIET)
  if(PkgConfig_FOUND)
    pkg_check_modules(HTTPLIB QUIET IMPORTED_TARGET cpp-httplib)
  endif()
  if(HTTPLIB_FOUND)
    add_library(scenario_httplib INTERFACE)
    target_link_libraries(scenario_httplib INTERFACE PkgConfig::HTTPLIB)
  endif()
endif()
