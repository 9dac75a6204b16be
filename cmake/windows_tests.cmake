# What the tests of the Windows build need beyond the native build's,
# included from the top-level CMakeLists.txt, which lists the tests.
#
# There is no GoogleTest package for the cross compiler: it is built here from
# Debian's source package (googletest, in /usr/src/googletest).

set(SCENARIO_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for the cross build")
if(NOT EXISTS ${SCENARIO_GOOGLETEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources not found in ${SCENARIO_GOOGLETEST_SOURCE}: apt-get install googletest")
endif()
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
add_subdirectory(${SCENARIO_GOOGLETEST_SOURCE} googletest EXCLUDE_FROM_ALL)
# GoogleTest's own code is not held to this project's warnings, and its
# headers are system headers, as those of the installed package are natively.
foreach(bersaglio gtest gtest_main gmock gmock_main)
  target_compile_options(${bersaglio} PRIVATE -w)
  get_target_property(cartelle ${bersaglio} INTERFACE_INCLUDE_DIRECTORIES)
  set_target_properties(${bersaglio} PROPERTIES INTERFACE_SYSTEM_INCLUDE_DIRECTORIES "${cartelle}")
endforeach()

# Shows the wait window and keeps the process alive for a while, so that the
# window can be looked at or captured: `attesa-win32 SECONDS`.
add_executable(attesa-win32 WIN32 tests/support/attesa_win32.cc)
target_link_options(attesa-win32 PRIVATE -municode)
target_link_libraries(attesa-win32 PRIVATE scenario_core)
