# Compiler settings shared by every target of the project.
add_library(hux_options INTERFACE)
target_compile_options(hux_options INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
    -Woverloaded-virtual -Wimplicit-fallthrough
    # Designated initializers that leave members to their default initializers are intended.
    -Wno-missing-field-initializers
    $<$<BOOL:${HUX_WERROR}>:-Werror>)

if(HUX_SANITIZE)
    set(hux_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_compile_options(hux_options INTERFACE ${hux_sanitizers})
    target_link_options(hux_options INTERFACE ${hux_sanitizers})
endif()

# libFuzzer targets (fuzz/): clang only, on top of the sanitizer build. Every target of the project
# is instrumented for coverage; the fuzz executables add the fuzzer's own main. Pointer-overflow
# reports are made recoverable so that fuzz/ubsan-suppressions.txt can silence the one that
# RapidJSON's headers raise on every document (see there); run-fuzzers.sh still halts on any other.
option(HUX_BUILD_FUZZERS "Build the libFuzzer targets (clang, with HUX_SANITIZE)" OFF)
if(HUX_BUILD_FUZZERS)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "HUX_BUILD_FUZZERS needs clang (the fuzz preset selects clang-14)")
    endif()
    if(NOT HUX_SANITIZE)
        message(FATAL_ERROR "HUX_BUILD_FUZZERS needs HUX_SANITIZE=ON")
    endif()
    target_compile_options(hux_options INTERFACE -fsanitize=fuzzer-no-link -fsanitize-recover=pointer-overflow)
endif()

# On Windows every program and library carries its own copy of the C++ runtime and winpthreads, so that
# it runs with nothing beside it but the system's DLLs. The printf family is MinGW-w64's C99 one (the
# system runtime's knows neither %zu nor %lld everywhere), and the log calls' formats are checked
# against it (HUX_PRINTF_FORMAT names the format attribute's archetype).
if(WIN32)
    target_link_options(hux_options INTERFACE -static -static-libgcc -static-libstdc++)
    target_compile_definitions(hux_options INTERFACE __USE_MINGW_ANSI_STDIO=1 HUX_PRINTF_FORMAT=gnu_printf)
else()
    target_compile_definitions(hux_options INTERFACE HUX_PRINTF_FORMAT=printf)
endif()

# The version: project(... VERSION ...) is its one source; hux_version.h hands it to the code.
configure_file(${PROJECT_SOURCE_DIR}/cmake/hux_version.h.in ${PROJECT_BINARY_DIR}/generated/hux_version.h @ONLY)
target_include_directories(hux_options INTERFACE ${PROJECT_BINARY_DIR}/generated)
