# What the tests need, found or named: GoogleTest, and CLI11, nlohmann-json
# and cpp-httplib (through pkg-config) for the author tool, whose tests are
# part of them. A machine that lacks one
# stops the configure with the Debian packages to install (.ci/prerequisiti
# installs them), never leaving tests out in silence. Configuring with
# -DBUILD_TESTING=OFF builds the package programs with the compiler and CMake
# alone.
find_package(GTest QUIET)
find_package(CLI11 QUIET)
find_package(nlohmann_json QUIET)
find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
  pkg_check_modules(HTTPLIB QUIET IMPORTED_TARGET cpp-httplib)
endif()
set(_mancanti "")
if(NOT GTest_FOUND)
  list(APPEND _mancanti libgtest-dev libgmock-dev)
endif()
if(NOT CLI11_FOUND)
  list(APPEND _mancanti libcli11-dev)
endif()
if(NOT nlohmann_json_FOUND)
  list(APPEND _mancanti nlohmann-json3-dev)
endif()
if(NOT PkgConfig_FOUND)
  list(APPEND _mancanti pkgconf)
endif()
if(NOT HTTPLIB_FOUND AND NOT SCENARIO_HTTPLIB_H)
  list(APPEND _mancanti libcpp-httplib-dev)
endif()
if(_mancanti)
  list(JOIN _mancanti " " _mancanti)
  message(FATAL_ERROR "The tests, the scenario tool's included, need packages this machine lacks. Install them "
                      "(as root; .ci/prerequisiti does it):\n  apt-get install ${_mancanti}\nor configure with "
                      "-DBUILD_TESTING=OFF to build the package programs alone.")
endif()
