# hux_plugin_library(TARGET [EXPORTS version-script])
# Makes a shared library target a plugin library as a host loads it: the functions marked HUX_EXPORT
# are its only exports. On Linux that is default visibility over hidden (and, with EXPORTS, a linker
# version script that keeps everything else local, static libraries included); on Windows it is
# __declspec(dllexport), with the C and C++ runtimes and winpthreads linked in so that the DLL needs
# no runtime DLL beside it, and no "lib" prefix.
function(hux_plugin_library target)
    cmake_parse_arguments(ARG "" "EXPORTS" "" ${ARGN})
    if(WIN32)
        set_target_properties(${target} PROPERTIES PREFIX "")
        target_compile_definitions(${target} PRIVATE "HUX_EXPORT=__declspec(dllexport)")
        target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++ -Wl,--no-undefined)
        return()
    endif()
    target_compile_definitions(${target} PRIVATE "HUX_EXPORT=__attribute__((visibility(\"default\")))")
    if(ARG_EXPORTS)
        set_target_properties(${target} PROPERTIES LINK_DEPENDS ${ARG_EXPORTS})
        target_link_options(${target} PRIVATE -Wl,--version-script=${ARG_EXPORTS} -Wl,--exclude-libs,ALL)
    endif()
    if(NOT HUX_SANITIZE)
        # Sanitizer runtimes are resolved from the host process, so only plain builds insist on this.
        target_link_options(${target} PRIVATE -Wl,--no-undefined)
    endif()
endfunction()
