# Build helpers shared by every folder.

set(DASKEL_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)
get_filename_component(DASKEL_ROOT ${DASKEL_ROOT} ABSOLUTE)

add_library(daskel_options INTERFACE)
target_compile_options(daskel_options INTERFACE -Wall -Wextra)
target_include_directories(daskel_options INTERFACE ${DASKEL_ROOT})
if(DASKEL_WERROR)
  target_compile_options(daskel_options INTERFACE -Werror)
endif()
# GCC 12 reports -Wrestrict inside std::string when a literal and a temporary string are joined
# ("[" + std::string(s)), with the inlining of a Release build: a known false positive of that
# compiler (its bug 105651), which stopped the bench preset on ordinary code. The diagnostic is
# off there, for GCC 12 only.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12
   AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(daskel_options INTERFACE $<$<CONFIG:Release>:-Wno-restrict>)
endif()
if(WIN32)
  # One self-contained executable: no runtime DLLs beyond the system's.
  target_link_options(daskel_options INTERFACE -static -static-libgcc -static-libstdc++)
  target_compile_definitions(daskel_options INTERFACE WIN32_LEAN_AND_MEAN NOMINMAX
                                                      _WIN32_WINNT=0x0601 WINVER=0x0601)
elseif(DASKEL_SANITIZE)
  target_compile_options(daskel_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                  -fno-sanitize-recover=undefined)
  target_link_options(daskel_options INTERFACE -fsanitize=address,undefined)
endif()
if(DASKEL_FUZZ)
  target_compile_options(daskel_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined)
  target_link_options(daskel_options INTERFACE -fsanitize=address,undefined)
endif()

# Texts the user sees are written in UTF-8 in the source and stored as GBK in the binary.
# clang knows no execution character set but UTF-8; it only builds the fuzz targets, which hold
# no user texts, so there the texts stay UTF-8.
function(daskel_gbk target)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    return()
  endif()
  target_compile_options(${target} PRIVATE -finput-charset=UTF-8 -fexec-charset=GBK)
endfunction()

# daskel_library(name [WIN32] SOURCES ... LIBS ...): a static library of one layer.
# WIN32 libraries are only built in the Windows build.
function(daskel_library name)
  cmake_parse_arguments(A "WIN32" "" "SOURCES;LIBS" ${ARGN})
  if(A_WIN32 AND NOT WIN32)
    return()
  endif()
  add_library(${name} STATIC ${A_SOURCES})
  target_link_libraries(${name} PUBLIC daskel_options ${A_LIBS})
endfunction()

# Host unit tests: one executable each, GoogleTest from the system.
if(NOT WIN32 AND NOT DASKEL_FUZZ)
  find_package(GTest REQUIRED)
endif()
function(daskel_host_test name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  if(WIN32 OR DASKEL_FUZZ)
    return()
  endif()
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE daskel_options ${A_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE DASKEL_SOURCE_DIR="${DASKEL_ROOT}"
                                             DASKEL_BINARY_DIR="${CMAKE_BINARY_DIR}")
  add_test(NAME host.${name} COMMAND ${name})
  set_tests_properties(host.${name} PROPERTIES TIMEOUT 300)
endfunction()

# Windows tests: one executable each, run under Wine as one CTest test (a Wine start per case
# would cost seconds). They share the Xvfb and wineserver of the "wine" fixture.
# DPI N: the test runs at that system DPI, in a Wine prefix of its own (made once per DPI) with its
# own display and wineserver, so it neither waits for nor disturbs the shared desktop.
function(daskel_windows_test name)
  cmake_parse_arguments(A "GUI" "TIMEOUT;DPI" "SOURCES;LIBS" ${ARGN})
  if(NOT WIN32)
    return()
  endif()
  add_executable(${name} ${A_SOURCES} ${DASKEL_ROOT}/tests/windows/test_output.cpp)
  target_link_libraries(${name} PRIVATE daskel_options ${A_LIBS} gtest gmock gtest_main)
  target_compile_definitions(${name} PRIVATE DASKEL_SOURCE_DIR="${DASKEL_ROOT}"
                                             DASKEL_BINARY_DIR="${CMAKE_BINARY_DIR}")
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 300)
  endif()
  # Wine ends the program a little before CTest would, so its output is still reported.
  math(EXPR inner "${A_TIMEOUT} - 20")
  if(A_DPI)
    set(runner ${DASKEL_ROOT}/tools/winerun --prefix ${CMAKE_BINARY_DIR}/wineprefix-dpi${A_DPI} --dpi ${A_DPI}
               --own-display)
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${runner};--timeout;${inner}")
    add_test(NAME win.${name} COMMAND ${name})
    set_tests_properties(win.${name} PROPERTIES TIMEOUT ${A_TIMEOUT} PASS_REGULAR_EXPRESSION "\\[  PASSED  \\]"
                                                FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]")
    return()
  endif()
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${DASKEL_WINERUN};--timeout;${inner}")
  add_test(NAME win.${name} COMMAND ${name})
  # Passing means GoogleTest said so and reported no failure: a program ended from outside
  # (a Wine session stopped under it) can exit with 0 without having run its tests.
  set_tests_properties(win.${name} PROPERTIES TIMEOUT ${A_TIMEOUT} FIXTURES_REQUIRED wine
                                              RESOURCE_LOCK wine_desktop
                                              PASS_REGULAR_EXPRESSION "\\[  PASSED  \\]"
                                              FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]")
endfunction()

if(WIN32)
  set(DASKEL_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  set(DASKEL_WINERUN ${DASKEL_ROOT}/tools/winerun --prefix ${DASKEL_WINEPREFIX})
  # Windows executables registered with add_test run under Wine through the runner.
  set(CMAKE_CROSSCOMPILING_EMULATOR ${DASKEL_WINERUN};--timeout;280)
endif()

# daskel_layouts(target LAYOUTS file.layout... [SEARCH dir...] [DEPENDS file...]): compiles form
# layouts into the Windows executable `target` as RCDATA resources named after the form class
# of each layout's root object (the layout of "object Form1: TForm1" becomes resource TFORM1).
# @file(path) / @sizedfile(path) values are filled from files found in the SEARCH directories,
# the layout's own directory and the current binary directory; list generated files in DEPENDS.
function(daskel_layouts target)
  cmake_parse_arguments(A "" "" "LAYOUTS;SEARCH;DEPENDS" ${ARGN})
  if(NOT WIN32)
    return()
  endif()
  set(rc_text "")
  set(outputs "")
  foreach(layout ${A_LAYOUTS})
    get_filename_component(abs ${layout} ABSOLUTE)
    get_filename_component(dir ${abs} DIRECTORY)
    get_filename_component(stem ${abs} NAME_WE)
    file(STRINGS ${abs} first REGEX "^[ \t]*object[ \t]" LIMIT_COUNT 1)
    if(NOT first MATCHES ":[ \t]*([A-Za-z_][A-Za-z0-9_]*)")
      message(FATAL_ERROR "${layout}: no root object")
    endif()
    string(TOUPPER ${CMAKE_MATCH_1} res_name)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${abs})
    set(out ${CMAKE_CURRENT_BINARY_DIR}/layouts/${target}/${stem}.layout)
    set(search ${A_SEARCH} ${dir} ${CMAKE_CURRENT_BINARY_DIR})
    string(REPLACE ";" "\\;" search_arg "${search}")
    add_custom_command(OUTPUT ${out}
                       COMMAND ${CMAKE_COMMAND} -DIN=${abs} -DOUT=${out} -DSEARCH=${search_arg}
                               -P ${DASKEL_ROOT}/cmake/DaskelLayout.cmake
                       DEPENDS ${abs} ${A_DEPENDS} ${DASKEL_ROOT}/cmake/DaskelLayout.cmake
                       COMMENT "Layout ${layout}" VERBATIM)
    string(APPEND rc_text "${res_name} RCDATA \"${out}\"\n")
    list(APPEND outputs ${out})
  endforeach()
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/layouts/${target}/layouts.rc)
  file(GENERATE OUTPUT ${rc} CONTENT "${rc_text}")
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${outputs}" GENERATED TRUE)
  target_sources(${target} PRIVATE ${rc} ${outputs})
endfunction()
