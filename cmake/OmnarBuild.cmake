# Build options shared by every target of the project.

set(OMNAR_SANITIZE "" CACHE STRING "Sanitizers for every target: address,undefined or thread")
option(OMNAR_WERROR "Treat warnings as errors" OFF)
option(OMNAR_FUZZ "Build the libFuzzer targets instead of the tests (needs clang)" OFF)

add_compile_options(-Wall -Wextra)
if(OMNAR_WERROR)
    add_compile_options(-Werror)
endif()

if(OMNAR_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# Some 220 test programs link against the same large libraries. mold (Debian
# package mold, see tools/install-deps) links them in about half gold's CPU
# time, with either compiler; without it gcc builds fall back to gold (from
# binutils), about 70 % of the default linker's time. clang builds keep the
# default linker then: gold warns about every exported check of clang's
# sanitizer runtimes.
find_program(OMNAR_MOLD ld.mold)
if(OMNAR_MOLD)
    add_link_options(-fuse-ld=mold)
elseif(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_link_options(-fuse-ld=gold)
endif()

if(OMNAR_SANITIZE)
    add_compile_options(-fsanitize=${OMNAR_SANITIZE} -fno-omit-frame-pointer)
    add_link_options(-fsanitize=${OMNAR_SANITIZE})
    if(OMNAR_SANITIZE MATCHES "undefined")
        add_compile_options(-fno-sanitize-recover=all)
    endif()
endif()

# omnar_add_test(<name> SOURCES ... [LIBS ...] [LABELS ...] [XVFB])
# One test executable, registered as one CTest test. The label of the tests/
# folder it lives in is always added; "concurrency" also builds it in the
# ThreadSanitizer tree. XVFB runs it on its own virtual display (see
# omnar_xvfb_test).
function(omnar_add_test name)
    cmake_parse_arguments(T "XVFB" "" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
    get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    if(T_XVFB)
        omnar_xvfb_test(${name})
        list(APPEND T_LABELS xvfb)
    else()
        add_test(NAME ${name} COMMAND ${name})
    endif()
    set_tests_properties(${name} PROPERTIES LABELS "${folder};${T_LABELS}" TIMEOUT 300)
    if("concurrency" IN_LIST T_LABELS)
        set_property(GLOBAL APPEND PROPERTY OMNAR_CONCURRENCY_TESTS ${name})
    endif()
    if("jack" IN_LIST T_LABELS)
        omnar_jack_clients_test(${name})
    endif()
    add_dependencies(${name} resources)
endfunction()

# JACK names a client's sockets after the client alone, whatever its server, and
# the audio library probes under one fixed client name: tests whose programs
# open JACK clients run one at a time even on private servers.
# They also start first (a high COST), so that their one-at-a-time chain runs
# beside the other tests instead of after them, even without timings from an
# earlier run.
function(omnar_jack_clients_test name)
    set_property(TEST ${name} APPEND PROPERTY RESOURCE_LOCK jack-client-names)
    set_property(TEST ${name} PROPERTY COST 1000)
endfunction()

# omnar_xvfb_test(<name> [ARGS...])
# Registers the display test <name>, run with the arguments: a fresh Xvfb
# screen of its own each run (tests/support/private-display, so display tests
# run in parallel), a fixed theme and backend, GLib warnings fatal, and leak
# reports from the system GUI libraries' own caches suppressed.
function(omnar_xvfb_test name)
    find_program(OMNAR_XVFB Xvfb REQUIRED)
    find_program(OMNAR_XAUTH xauth REQUIRED)
    add_test(NAME ${name} COMMAND ${CMAKE_SOURCE_DIR}/tests/support/private-display
                                  -s "-screen 0 1920x1200x24" $<TARGET_FILE:${name}> ${ARGN})
    set(supp ${CMAKE_SOURCE_DIR}/cmake/gtk-leaks.supp)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT
        "GTK_THEME=Adwaita;NO_AT_BRIDGE=1;GDK_BACKEND=x11;GSETTINGS_BACKEND=memory;G_DEBUG=fatal-warnings;LSAN_OPTIONS=suppressions=${supp}:fast_unwind_on_malloc=0:print_suppressions=0")
endfunction()

function(omnar_finish_concurrency_target)
    get_property(tests GLOBAL PROPERTY OMNAR_CONCURRENCY_TESTS)
    add_custom_target(concurrency-tests)
    if(tests)
        add_dependencies(concurrency-tests ${tests})
    endif()
endfunction()

# omnar_add_fuzz_target(<name> SOURCES ... [LIBS ...] [SEEDS <folder>...])
# Only in a fuzzing build (OMNAR_FUZZ): one libFuzzer program, run for 30 s as
# a CTest test labelled "fuzz", starting from the seed folders' files.
function(omnar_add_fuzz_target name)
    if(NOT OMNAR_FUZZ)
        return()
    endif()
    cmake_parse_arguments(F "" "" "SOURCES;LIBS;SEEDS" ${ARGN})
    add_executable(${name} ${F_SOURCES})
    target_link_libraries(${name} PRIVATE ${F_LIBS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    set(corpus ${CMAKE_BINARY_DIR}/fuzz-corpus/${name})
    file(MAKE_DIRECTORY ${corpus})
    add_test(NAME ${name} COMMAND ${name} -max_total_time=30 ${corpus} ${F_SEEDS})
    set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT 120)
    if(NOT TARGET fuzz-targets)
        add_custom_target(fuzz-targets)
    endif()
    add_dependencies(fuzz-targets ${name})
endfunction()
