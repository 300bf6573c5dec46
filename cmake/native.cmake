# Native build: the portable core, its unit tests, the catalogue tool, the
# benchmarks and the fuzz targets.

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
if(EXISTS /usr/src/googletest/CMakeLists.txt)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

file(GLOB NATIVE_TEST_SOURCES CONFIGURE_DEPENDS tests/native/*.cpp)
add_executable(korvel_tests ${NATIVE_TEST_SOURCES})
target_link_libraries(korvel_tests PRIVATE korvel_core GTest::gtest GTest::gtest_main)
target_include_directories(korvel_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests/native)
include(GoogleTest)
gtest_discover_tests(korvel_tests DISCOVERY_TIMEOUT 60)
# The tests replay the fuzz corpora kept in the source tree.
target_compile_definitions(korvel_tests PRIVATE KORVEL_SOURCE_DIR="${CMAKE_CURRENT_SOURCE_DIR}")

# Out-of-memory loops: this program's operator new fails on request.
file(GLOB OOM_TEST_SOURCES CONFIGURE_DEPENDS tests/oom/*.cpp)
add_executable(korvel_oom_tests ${OOM_TEST_SOURCES})
target_link_libraries(korvel_oom_tests PRIVATE korvel_core GTest::gtest GTest::gtest_main)
target_include_directories(korvel_oom_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests/native
  ${CMAKE_CURRENT_SOURCE_DIR}/tests/oom)
gtest_discover_tests(korvel_oom_tests DISCOVERY_TIMEOUT 60)

add_executable(korvel_catalogue tools/catalogue_main.cpp)
target_link_libraries(korvel_catalogue PRIVATE korvel_core)

# Writes the seed files of the co-save reader's fuzz corpus.
add_executable(korvel_cosave_seeds tools/make_cosave_seeds.cpp)
target_link_libraries(korvel_cosave_seeds PRIVATE korvel_core)

if(KORVEL_BENCHMARKS)
  find_package(benchmark REQUIRED)
  find_package(ZLIB)
  file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS bench/*_bench.cpp)
  foreach(src ${BENCH_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE korvel_core benchmark::benchmark)
    target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests/native)
    if(ZLIB_FOUND)
      target_link_libraries(${name} PRIVATE ZLIB::ZLIB)
      target_compile_definitions(${name} PRIVATE KORVEL_HAVE_ZLIB=1)
    endif()
  endforeach()
  # The soak: a thousand save/load round trips of a large state.
  add_executable(korvel_soak tools/soak_main.cpp)
  target_link_libraries(korvel_soak PRIVATE korvel_core)
  target_include_directories(korvel_soak PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests/native)
endif()

if(KORVEL_FUZZ)
  # Coverage of the core itself guides the fuzzer, not only of the targets.
  target_compile_options(korvel_core PRIVATE -fsanitize=fuzzer-no-link)
  file(GLOB FUZZ_SOURCES CONFIGURE_DEPENDS fuzz/*_fuzz.cpp)
  foreach(src ${FUZZ_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${name} PRIVATE korvel_core)
    target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests/native)
  endforeach()
endif()

# The command reference in docs/ must be what the catalogue generates; the
# test never rewrites it (./korvel docs does).
add_test(NAME command_reference_is_current
  COMMAND korvel_catalogue --check ${CMAKE_CURRENT_SOURCE_DIR}/docs/commands.md)

# ./korvel's set-up: the Windows trees it chooses from what the machine
# runs, and its package step against a stand-in package manager.
find_program(PYTHON3 python3 REQUIRED)
add_test(NAME korvel_setup
  COMMAND ${PYTHON3} -m unittest -v test_wine_trees test_packages
  WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/tests/setup)
set_tests_properties(korvel_setup PROPERTIES TIMEOUT 120
  ENVIRONMENT "KORVEL_SOURCE=${CMAKE_CURRENT_SOURCE_DIR}")

# Includes between source folders only point down the layers listed in
# CMakeLists.txt.
add_test(NAME includes_point_down_the_layers
  COMMAND ${PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/tools/check_layers.py ${CMAKE_CURRENT_SOURCE_DIR})

# The co-save tool for players and mod authors, on the same codec as the
# library.
find_package(nlohmann_json 3 REQUIRED)
file(GLOB COSAVE_TOOL_SOURCES CONFIGURE_DEPENDS tools/cosave/*.cpp)
list(FILTER COSAVE_TOOL_SOURCES EXCLUDE REGEX "_main\\.cpp$")
add_library(korvel_cosave_tool STATIC ${COSAVE_TOOL_SOURCES})
target_link_libraries(korvel_cosave_tool PUBLIC korvel_core nlohmann_json::nlohmann_json)
add_executable(korvel-cosave tools/cosave/cosave_main.cpp)
target_link_libraries(korvel-cosave PRIVATE korvel_cosave_tool)
install(TARGETS korvel-cosave RUNTIME DESTINATION bin)
target_link_libraries(korvel_tests PRIVATE korvel_cosave_tool)
target_compile_definitions(korvel_tests PRIVATE KORVEL_COSAVE_TOOL="$<TARGET_FILE:korvel-cosave>")
add_dependencies(korvel_tests korvel-cosave)
if(KORVEL_BENCHMARKS)
  target_link_libraries(cosave_tool_bench PRIVATE korvel_cosave_tool)
endif()
if(KORVEL_FUZZ)
  target_link_libraries(cosave_tool_fuzz PRIVATE korvel_cosave_tool)
endif()
