# Third-party libraries, all from Debian: the system's development packages on Linux (the i386 ones for
# the 32-bit build); for Windows, MinGW-w64's zlib package, the header-only libraries from the system's
# include folder, and GoogleTest, libyaml and cpp-httplib built here from Debian's source packages
# (scripts/install-deps.sh --windows fetches them into build-deps/). Each dependency ends up as one
# target: ZLIB::ZLIB, hux_yaml, hux_rapidjson, hux_httplib and GTest::gtest/GTest::gtest_main.
find_package(Threads REQUIRED)

set(HUX_DEPS_SOURCE_DIR ${PROJECT_SOURCE_DIR}/build-deps CACHE PATH
    "Where scripts/install-deps.sh --windows unpacks the source packages built for Windows")

# hux_system_headers(NAME PATH...): an interface target that sees only the named entries of the build
# machine's /usr/include, so that a cross build can use header-only libraries without the build
# machine's C library headers.
function(hux_system_headers name)
    set(folder ${CMAKE_BINARY_DIR}/system-headers/${name})
    foreach(entry IN LISTS ARGN)
        if(NOT EXISTS /usr/include/${entry})
            message(FATAL_ERROR "/usr/include/${entry} is missing: run scripts/install-deps.sh")
        endif()
        file(MAKE_DIRECTORY ${folder})
        file(CREATE_LINK /usr/include/${entry} ${folder}/${entry} SYMBOLIC)
    endforeach()
    add_library(${name} INTERFACE)
    target_include_directories(${name} SYSTEM INTERFACE ${folder})
endfunction()

# hux_source_package(VARIABLE PACKAGE): the folder of an unpacked Debian source package.
function(hux_source_package variable package)
    file(GLOB folders LIST_DIRECTORIES true ${HUX_DEPS_SOURCE_DIR}/${package}-*)
    list(FILTER folders EXCLUDE REGEX "\\.(tar\\..*|dsc)$")
    if(NOT folders)
        message(FATAL_ERROR "The source of ${package} is missing in ${HUX_DEPS_SOURCE_DIR}: "
                            "run scripts/install-deps.sh --windows")
    endif()
    list(GET folders 0 folder)
    set(${variable} ${folder} PARENT_SCOPE)
endfunction()

if(WIN32)
    set(ZLIB_USE_STATIC_LIBS ON)
    find_package(ZLIB REQUIRED)

    hux_system_headers(hux_rapidjson rapidjson)

    # libyaml, compiled from its source package as a static library.
    hux_source_package(hux_libyaml_source libyaml)
    file(GLOB hux_libyaml_sources ${hux_libyaml_source}/src/*.c)
    add_library(hux_yaml STATIC ${hux_libyaml_sources})
    file(WRITE ${CMAKE_BINARY_DIR}/libyaml-config/config.h
         "#define YAML_VERSION_MAJOR 0\n#define YAML_VERSION_MINOR 2\n#define YAML_VERSION_PATCH 5\n"
         "#define YAML_VERSION_STRING \"0.2.5\"\n")
    target_include_directories(hux_yaml SYSTEM PUBLIC ${hux_libyaml_source}/include)
    target_include_directories(hux_yaml PRIVATE ${CMAKE_BINARY_DIR}/libyaml-config)
    target_compile_definitions(hux_yaml PUBLIC YAML_DECLARE_STATIC PRIVATE HAVE_CONFIG_H)
    target_compile_options(hux_yaml PRIVATE -w)

    # cpp-httplib's single header, from its source package; the development host only.
    hux_source_package(hux_httplib_source cpp-httplib)
    add_library(hux_httplib INTERFACE)
    target_include_directories(hux_httplib SYSTEM INTERFACE ${hux_httplib_source})
    # Like Debian's build of the library: gzip bodies decoded (no TLS and no Brotli needed here).
    target_compile_definitions(hux_httplib INTERFACE _WIN32_WINNT=0x0A00 CPPHTTPLIB_ZLIB_SUPPORT)
    target_link_libraries(hux_httplib INTERFACE ZLIB::ZLIB ws2_32 crypt32)

    if(HUX_BUILD_TESTS)
        # GoogleTest from Debian's googletest package, which ships its sources in /usr/src/googletest.
        set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
        set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
        add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
        # (googletest defines GTest::gtest and GTest::gtest_main itself.)
    endif()
else()
    find_package(ZLIB REQUIRED)
    find_package(RapidJSON REQUIRED CONFIG)
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(YAML REQUIRED IMPORTED_TARGET yaml-0.1)
    add_library(hux_yaml INTERFACE)
    target_link_libraries(hux_yaml INTERFACE PkgConfig::YAML)

    add_library(hux_rapidjson INTERFACE)
    target_include_directories(hux_rapidjson SYSTEM INTERFACE ${RAPIDJSON_INCLUDE_DIRS})

    # cpp-httplib from the system's development package; its flags must match the library's build.
    pkg_check_modules(HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
    add_library(hux_httplib INTERFACE)
    target_link_libraries(hux_httplib INTERFACE PkgConfig::HTTPLIB)

    if(HUX_BUILD_TESTS)
        find_package(GTest REQUIRED)
    endif()
endif()

# Google Benchmark (Debian: libbenchmark-dev) is optional: the benchmarks are built when it is found.
find_package(benchmark QUIET)
option(HUX_BUILD_BENCHMARKS "Build the benchmarks (needs Google Benchmark)" ${benchmark_FOUND})
if(HUX_BUILD_BENCHMARKS AND NOT benchmark_FOUND)
    message(FATAL_ERROR "HUX_BUILD_BENCHMARKS needs Google Benchmark (Debian package libbenchmark-dev)")
endif()

# RapidJSON scans strings and white space sixteen bytes at a time where the target has SSE2 (every
# x86-64 target; a 32-bit target only when its flags allow it). Every user of the headers sees the same
# choice, so its inline functions have one definition.
include(CheckCXXSourceCompiles)
check_cxx_source_compiles("#ifndef __SSE2__\n#error no SSE2\n#endif\nint main() { return 0; }" HUX_TARGET_HAS_SSE2)
if(HUX_TARGET_HAS_SSE2)
    target_compile_definitions(hux_rapidjson INTERFACE RAPIDJSON_SSE2)
endif()
