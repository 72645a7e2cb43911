# Third-party libraries, all taken from the system's development packages.
find_package(ZLIB REQUIRED)
find_package(Threads REQUIRED)
find_package(RapidJSON REQUIRED CONFIG)
find_package(PkgConfig REQUIRED)
pkg_check_modules(YAML REQUIRED IMPORTED_TARGET yaml-0.1)

add_library(hux_rapidjson INTERFACE)
target_include_directories(hux_rapidjson SYSTEM INTERFACE ${RAPIDJSON_INCLUDE_DIRS})

if(HUX_BUILD_TESTS)
    find_package(GTest REQUIRED)
endif()

# Google Benchmark (Debian: libbenchmark-dev) is optional: the benchmarks are built when it is found.
find_package(benchmark QUIET)
option(HUX_BUILD_BENCHMARKS "Build the benchmarks (needs Google Benchmark)" ${benchmark_FOUND})
if(HUX_BUILD_BENCHMARKS AND NOT benchmark_FOUND)
    message(FATAL_ERROR "HUX_BUILD_BENCHMARKS needs Google Benchmark (Debian package libbenchmark-dev)")
endif()
