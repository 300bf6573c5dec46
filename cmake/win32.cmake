# The Windows builds (win32: the product for the 32-bit game; win64: the
# same sources for x86-64): the plug-in DLL (installed under both variant
# names), the stand-in game with its host, the stand-in companion library in
# its variants, and the tests that run them under Wine.

set(DIST ${CMAKE_BINARY_DIR}/dist)
# The Wine prefixes lie beside the build trees, never in the user's home:
# one for 32-bit programs, one (a win64 prefix) for x86-64 programs, each
# run by its own Wine loader.
get_filename_component(KORVEL_BUILD_ROOT ${CMAKE_BINARY_DIR} DIRECTORY)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(KORVEL_WINEPREFIX ${KORVEL_BUILD_ROOT}/wineprefix64 CACHE PATH "Wine prefix for the tests")
  find_program(KORVEL_WINE NAMES wine64 PATHS /usr/lib/wine /usr/lib64/wine NO_DEFAULT_PATH)
  find_program(KORVEL_WINE NAMES wine64 wine)
else()
  set(KORVEL_WINEPREFIX ${KORVEL_BUILD_ROOT}/wineprefix CACHE PATH "Wine prefix for the tests")
  find_program(KORVEL_WINE NAMES wine)
endif()
if(NOT KORVEL_WINE)
  set(KORVEL_WINE wine)
endif()
file(MAKE_DIRECTORY ${DIST})

# The DLL's resources (the book plug-in template) are compiled by windres.
enable_language(RC)
add_library(korvel_plugin SHARED ${PLATFORM_SOURCES} book/book_resource_win32.rc)
set_source_files_properties(book/book_resource_win32.rc PROPERTIES
  OBJECT_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/book/KorvelCreatedBook.bin)
target_link_libraries(korvel_plugin PRIVATE korvel_core shell32 user32)
set_target_properties(korvel_plugin PROPERTIES
  PREFIX "" OUTPUT_NAME "Qarn_Tovi_Korvel" SUFFIX ".dll"
  LIBRARY_OUTPUT_DIRECTORY ${DIST} RUNTIME_OUTPUT_DIRECTORY ${DIST})
target_link_options(korvel_plugin PRIVATE -static -static-libgcc -static-libstdc++)
add_custom_command(TARGET korvel_plugin POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:korvel_plugin> ${DIST}/Qarn_Tovi_Korvel_HUD.dll)

file(GLOB STANDIN_GAME_SOURCES CONFIGURE_DEPENDS standin/game/*.cpp)
add_executable(standin_game ${STANDIN_GAME_SOURCES})
target_include_directories(standin_game PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/standin)
target_link_libraries(standin_game PRIVATE shell32 user32)
target_link_options(standin_game PRIVATE -static)
set_target_properties(standin_game PROPERTIES OUTPUT_NAME "Veldmark" RUNTIME_OUTPUT_DIRECTORY ${DIST})

function(korvel_companion target output)
  add_library(${target} SHARED standin/companion/companion.cpp standin/companion/format_string.cpp)
  target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_compile_definitions(${target} PRIVATE ${ARGN})
  target_link_options(${target} PRIVATE -static)
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${output} SUFFIX ".dlx"
    RUNTIME_OUTPUT_DIRECTORY ${DIST})
endfunction()
korvel_companion(standin_companion "Qarn_Tovi_Korvel")
# Broken companions for the start-up checks: another version, a missing export.
korvel_companion(standin_companion_v121 "companion-version-121" STANDIN_DLX_VERSION=121)
korvel_companion(standin_companion_incomplete "companion-incomplete" STANDIN_DLX_INCOMPLETE=1)

# The sibling string plug-in, and a variant without one of its exports.
function(korvel_nyxa target output)
  add_library(${target} SHARED standin/nyxa/nyxa.cpp)
  target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_compile_definitions(${target} PRIVATE ${ARGN})
  target_link_options(${target} PRIVATE -static)
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${output} SUFFIX ".dll"
    RUNTIME_OUTPUT_DIRECTORY ${DIST})
endfunction()
korvel_nyxa(standin_nyxa "Nyxa_1_2_0_416")
korvel_nyxa(standin_nyxa_incomplete "nyxa-incomplete" STANDIN_NYXA_INCOMPLETE=1)

find_program(PYTHON3 python3 REQUIRED)
set(KORVEL_WINE_TEST_NAMES)
if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/tests/win32/paths_corpus_main.cpp)
  add_executable(paths_corpus tests/win32/paths_corpus_main.cpp base/env_win32.cpp)
  target_link_libraries(paths_corpus PRIVATE korvel_core)
  target_link_options(paths_corpus PRIVATE -static)
  set_target_properties(paths_corpus PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME wine_paths_corpus
    COMMAND ${KORVEL_WINE} ${CMAKE_BINARY_DIR}/tests/paths_corpus.exe Z:${CMAKE_CURRENT_SOURCE_DIR}/tests/data/hostile-paths.txt)
  list(APPEND KORVEL_WINE_TEST_NAMES wine_paths_corpus)
  set_tests_properties(wine_paths_corpus PROPERTIES TIMEOUT 300
    ENVIRONMENT "WINEPREFIX=${KORVEL_WINEPREFIX};WINEDEBUG=-all")
endif()

# Wine tests: each tests/wine/test_*.py runs the stand-in game through
# ./korvel sim's machinery (tools/sim.py).
file(GLOB WINE_TESTS CONFIGURE_DEPENDS tests/wine/test_*.py)
foreach(test ${WINE_TESTS})
  get_filename_component(name ${test} NAME_WE)
  list(APPEND KORVEL_WINE_TEST_NAMES wine_${name})
  add_test(NAME wine_${name}
    COMMAND ${PYTHON3} -m unittest -v ${name}
    WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/tests/wine)
  set_tests_properties(wine_${name} PROPERTIES
    ENVIRONMENT "WINEPREFIX=${KORVEL_WINEPREFIX};KORVEL_WINE=${KORVEL_WINE};KORVEL_DIST=${DIST};KORVEL_BUILD=${CMAKE_BINARY_DIR};KORVEL_SOURCE=${CMAKE_CURRENT_SOURCE_DIR}"
    TIMEOUT 600)
endforeach()
set_tests_properties(${KORVEL_WINE_TEST_NAMES} PROPERTIES LABELS wine)

# Static checks of the shipped 32-bit DLLs: they need neither Wine nor a
# machine that runs 32-bit code. A DLL linked to the shared C++ runtime
# shows that the checks refuse what they must.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(STATIC_SAMPLES ${CMAKE_BINARY_DIR}/tests/static)
  add_custom_command(OUTPUT ${STATIC_SAMPLES}/shared_runtime.dll
    COMMAND ${CMAKE_COMMAND} -E make_directory ${STATIC_SAMPLES}
    COMMAND ${CMAKE_CXX_COMPILER} -shared -O1 -o ${STATIC_SAMPLES}/shared_runtime.dll
            ${CMAKE_CURRENT_SOURCE_DIR}/tests/static/shared_runtime.cpp
    DEPENDS tests/static/shared_runtime.cpp VERBATIM)
  add_custom_target(static_check_samples ALL DEPENDS ${STATIC_SAMPLES}/shared_runtime.dll)
  add_test(NAME static_checks
    COMMAND ${PYTHON3} -m unittest -v test_static_checks
    WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/tests/static)
  set_tests_properties(static_checks PROPERTIES LABELS static TIMEOUT 120
    ENVIRONMENT "KORVEL_DIST=${DIST};KORVEL_STATIC_SAMPLES=${STATIC_SAMPLES}")
endif()

# The co-save tool for Windows, for the release. The JSON library is
# header-only; its headers are reached through a folder of their own so
# that no other host header enters the cross build.
find_path(KORVEL_JSON_HEADERS nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH)
if(KORVEL_JSON_HEADERS)
  set(JSON_INCLUDE ${CMAKE_BINARY_DIR}/json-include)
  file(MAKE_DIRECTORY ${JSON_INCLUDE})
  file(CREATE_LINK ${KORVEL_JSON_HEADERS}/nlohmann ${JSON_INCLUDE}/nlohmann SYMBOLIC)
  file(GLOB COSAVE_TOOL_SOURCES CONFIGURE_DEPENDS tools/cosave/*.cpp)
  add_executable(korvel-cosave ${COSAVE_TOOL_SOURCES})
  target_include_directories(korvel-cosave SYSTEM PRIVATE ${JSON_INCLUDE})
  target_link_libraries(korvel-cosave PRIVATE korvel_core)
  target_link_options(korvel-cosave PRIVATE -static)
endif()
