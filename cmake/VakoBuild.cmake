# Build settings shared by every target, and the helpers that register tests.

if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
  set(VAKO_WINDOWS ON)
  # Windows Vista or later: the transfers' file threads wait on slim locks.
  add_compile_definitions(WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0600 WINVER=0x0600 _WIN32_IE=0x0501)
  # One self-contained exe: no libgcc/libstdc++/winpthread DLLs beside it.
  add_link_options(-static -static-libgcc -static-libstdc++)
else()
  set(VAKO_WINDOWS OFF)
endif()

option(VAKO_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(VAKO_SANITIZE AND NOT VAKO_WINDOWS)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

function(vako_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unused-parameter)
endfunction()

# GoogleTest: the system package natively, built from its sources for mingw.
if(NOT TARGET GTest::gtest_main)
  if(VAKO_WINDOWS)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    if(NOT TARGET GTest::gtest)
      add_library(GTest::gtest ALIAS gtest)
      add_library(GTest::gtest_main ALIAS gtest_main)
    endif()
  else()
    find_package(GTest REQUIRED)
  endif()
endif()

set(VAKO_TEST_SUPPORT ${CMAKE_SOURCE_DIR}/tests/support)

# vako_test(NAME name LABEL native|wine|e2e SOURCES ... [LIBS ...] [SERVERS] [TIMEOUT s] [ARGS ...]
#           [ENV VAR=value ...] [PROGRAM target])
# PROGRAM runs the test program of another vako_test (the same tests with other ENV).
# One ctest entry per test program. SERVERS runs it inside tests/support/with-servers,
# which starts the loopback FTP servers and passes their ports in the environment.
function(vako_test)
  cmake_parse_arguments(T "SERVERS;NO_GTEST_MAIN" "NAME;LABEL;TIMEOUT;LANG;PROGRAM" "SOURCES;LIBS;ARGS;ENV" ${ARGN})
  if(T_PROGRAM)
    set(program ${T_PROGRAM})
  else()
    set(program ${T_NAME})
    add_executable(${T_NAME} ${T_SOURCES})
    target_include_directories(${T_NAME} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
    if(T_NO_GTEST_MAIN)
      target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest)
    else()
      target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest_main)
    endif()
    vako_warnings(${T_NAME})
    # The test's own code unoptimized: it compiles in about half the time, and what it tests
    # (the libraries it links) keeps the build type's optimization.
    target_compile_options(${T_NAME} PRIVATE -O0)
  endif()
  set(cmd $<TARGET_FILE:${program}> ${T_ARGS})
  if(VAKO_WINDOWS)
    set(cmd ${CMAKE_CROSSCOMPILING_EMULATOR} ${cmd})
  endif()
  if(T_SERVERS)
    set(cmd ${VAKO_TEST_SUPPORT}/with-servers ${cmd})
  endif()
  add_test(NAME ${T_NAME} COMMAND ${cmd})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set(env "VAKO_SOURCE_DIR=${CMAKE_SOURCE_DIR}" "VAKO_BINARY_DIR=${CMAKE_BINARY_DIR}")
  if(T_LANG)
    list(APPEND env "VAKO_LANG=${T_LANG}")
  endif()
  list(APPEND env ${T_ENV})
  set_tests_properties(${T_NAME} PROPERTIES LABELS ${T_LABEL} TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "${env}")
  if(T_LABEL STREQUAL "e2e")
    # End-to-end tests share the Wine virtual desktop: one at a time.
    set_tests_properties(${T_NAME} PROPERTIES RESOURCE_LOCK wine_desktop)
  endif()
endfunction()

# vako_fuzzer(NAME name SOURCES ... [SECONDS n])
# A libFuzzer target, native only. libFuzzer needs clang while the native build uses the
# host g++, so the fuzzer is compiled by a direct clang++ call. Registered as a test that
# fuzzes for a bounded time (labels native and fuzz), starting from the seeds kept in
# tests/fuzz-corpus/<name>: every seed is run first, so an input that once crashed stays
# checked, and from the seeds the fuzzer reaches in 10 s more code than in 30 s from nothing.
find_program(VAKO_CLANGXX NAMES clang++-14 clang++)
function(vako_fuzzer)
  cmake_parse_arguments(F "" "NAME;SECONDS" "SOURCES" ${ARGN})
  if(VAKO_WINDOWS OR NOT VAKO_CLANGXX)
    return()
  endif()
  if(NOT F_SECONDS)
    set(F_SECONDS 10)
  endif()
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${F_NAME})
  set(srcs)
  foreach(s ${F_SOURCES})
    get_filename_component(abs ${s} ABSOLUTE)
    list(APPEND srcs ${abs})
  endforeach()
  add_custom_command(OUTPUT ${out}
    COMMAND ${VAKO_CLANGXX} -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined
            -fno-sanitize-recover=undefined -I${CMAKE_SOURCE_DIR} ${srcs} -o ${out}
    DEPENDS ${srcs} VERBATIM COMMENT "libFuzzer target ${F_NAME}")
  add_custom_target(${F_NAME}_build ALL DEPENDS ${out})
  set(corpus ${CMAKE_CURRENT_BINARY_DIR}/${F_NAME}_corpus)
  set(seeds)
  if(EXISTS ${CMAKE_SOURCE_DIR}/tests/fuzz-corpus/${F_NAME})
    set(seeds "'${CMAKE_SOURCE_DIR}/tests/fuzz-corpus/${F_NAME}'")
  endif()
  add_test(NAME ${F_NAME}
    COMMAND sh -c "mkdir -p '${corpus}' && '${out}' -max_total_time=${F_SECONDS} -rss_limit_mb=2048 -print_final_stats=0 '${corpus}' ${seeds}")
  set_tests_properties(${F_NAME} PROPERTIES LABELS "native;fuzz" TIMEOUT ${F_SECONDS}0)
endfunction()

# vako_subsystem(): a subsystem folder's sources. Files named *_win.cpp hold Win32 code
# and go into vako_win (Windows builds only); every other .cpp is platform-neutral and
# goes into vako_core, which the native build compiles and tests too.
# vako_subsystem([EXCLUDE file...]): excluded files are left for the folder's own targets.
function(vako_subsystem)
  cmake_parse_arguments(S "" "" "EXCLUDE" ${ARGN})
  file(GLOB all CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(x ${S_EXCLUDE})
    list(REMOVE_ITEM all ${CMAKE_CURRENT_SOURCE_DIR}/${x})
  endforeach()
  set(core)
  set(win)
  foreach(f ${all})
    if(f MATCHES "_win\\.cpp$")
      list(APPEND win ${f})
    else()
      list(APPEND core ${f})
    endif()
  endforeach()
  if(core)
    target_sources(vako_core PRIVATE ${core})
  endif()
  if(win AND VAKO_WINDOWS)
    target_sources(vako_win PRIVATE ${win})
  endif()
endfunction()

# vako_add_child_folders(): add_subdirectory for every child folder holding a CMakeLists.txt.
function(vako_add_child_folders)
  file(GLOB kids LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(k ${kids})
    if(IS_DIRECTORY ${k} AND EXISTS ${k}/CMakeLists.txt)
      add_subdirectory(${k})
    endif()
  endforeach()
endfunction()
