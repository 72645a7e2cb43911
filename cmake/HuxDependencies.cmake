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
