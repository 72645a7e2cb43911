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
