# Helpers shared by every folder: optional subdirectories and GoogleTest
# executables that run natively or, when cross-compiled, under Wine.

macro(velmora_add_subdirs)
  foreach(dir ${ARGN})
    if(EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt")
      add_subdirectory(${dir})
    endif()
  endforeach()
endmacro()

if(CMAKE_CROSSCOMPILING AND WIN32)
  # Windows binaries are self-contained: no MinGW runtime DLLs beside them.
  add_link_options(-static -static-libgcc -static-libstdc++)
  # One prefix may serve both architectures' trees (./run shares one).
  set(VELMORA_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix" CACHE PATH "Wine prefix of the tests")
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    set(VELMORA_WINE_BITS 32)
  else()
    set(VELMORA_WINE_BITS 64)
  endif()
  set(VELMORA_WINE_RUN "${CMAKE_CURRENT_LIST_DIR}/wine-run.sh;${VELMORA_WINEPREFIX};${VELMORA_WINE_BITS}")
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VELMORA_WINE_RUN})
endif()

# Exit status of wine-run.sh for a program this machine cannot run.
set(VELMORA_SKIPPED 77)

if(BUILD_TESTING)
  if(CMAKE_CROSSCOMPILING)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # googletest 1.12 defines the GTest:: aliases itself.
  else()
    find_package(GTest REQUIRED)
    include(GoogleTest)
  endif()
endif()

# velmora_gtest(NAME SOURCES src... [LIBS lib...])
# Native: one CTest test per GoogleTest case. Cross-compiled: one CTest test
# per executable, run through the emulator (Wine), so discovery costs no
# extra Wine start-ups.
function(velmora_gtest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE ${VELMORA_SKIPPED})
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
