# Compiler settings shared by every target: warnings, ccache, sanitizers.
find_program(KX_CCACHE ccache)
if(KX_CCACHE)
    set(CMAKE_C_COMPILER_LAUNCHER ${KX_CCACHE})
    set(CMAKE_CXX_COMPILER_LAUNCHER ${KX_CCACHE})
endif()

add_compile_options(-Wall -Wextra)

if(KX_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
