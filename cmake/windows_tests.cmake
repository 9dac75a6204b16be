# The tests of the Windows build, included from the top-level CMakeLists.txt
# with TEST_SOURCES holding every test file.
#
# There is no GoogleTest package for the cross compiler: it is built here from
# Debian's source package (googletest, in /usr/src/googletest). Tests that
# drive the POSIX side of the seam stay out; the Windows side has its own.

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

# A test bound to POSIX: it uses the POSIX side of the seam or POSIX headers,
# itself or through a header of tests/support.
# A change of its includes configures again.
function(legato_a_posix sorgente risultato)
  set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${sorgente})
  file(STRINGS ${sorgente} inclusioni REGEX "^#include ")
  set(legato FALSE)
  foreach(riga IN LISTS inclusioni)
    if(riga MATCHES "^#include [<\"](platform/[a-z_]+_posix\\.h|unistd\\.h|fcntl\\.h|spawn\\.h|sys/)")
      set(legato TRUE)
    elseif(riga MATCHES "^#include \"(support/[^\"]+)\"" AND EXISTS ${PROJECT_SOURCE_DIR}/tests/${CMAKE_MATCH_1})
      legato_a_posix(${PROJECT_SOURCE_DIR}/tests/${CMAKE_MATCH_1} legato_supporto)
      if(legato_supporto)
        set(legato TRUE)
      endif()
    endif()
  endforeach()
  set(${risultato} ${legato} PARENT_SCOPE)
endfunction()

set(legati_a_posix)
foreach(sorgente ${TEST_SOURCES})
  legato_a_posix(${sorgente} legato)
  if(legato)
    list(APPEND legati_a_posix ${sorgente})
  endif()
endforeach()
if(legati_a_posix)
  list(REMOVE_ITEM TEST_SOURCES ${legati_a_posix})
  list(JOIN legati_a_posix "\n  " elenco)
  message(STATUS "Tests left to the POSIX build:\n  ${elenco}")
endif()

# Shows the wait window and keeps the process alive for a while, so that the
# window can be looked at or captured: `attesa-win32 SECONDS`.
add_executable(attesa-win32 WIN32 tests/support/attesa_win32.cc)
target_link_options(attesa-win32 PRIVATE -municode)
target_link_libraries(attesa-win32 PRIVATE scenario_core)
