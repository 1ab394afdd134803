# Compiler settings shared by every target: warnings, ccache, sanitizers.
find_program(KX_CCACHE ccache)
if(KX_CCACHE)
    set(CMAKE_C_COMPILER_LAUNCHER ${KX_CCACHE})
    set(CMAKE_CXX_COMPILER_LAUNCHER ${KX_CCACHE})
endif()

add_compile_options(-Wall -Wextra)

# Linking dozens of test programs with full debug information is much of a build's time; lld
# does it several times faster than the default linker.
find_program(KX_LLD ld.lld)
if(KX_LLD)
    add_link_options(-fuse-ld=lld)
endif()

# -DKX_SANITIZE=thread asks for the threads checker in place of the address checker.
if(KX_SANITIZE STREQUAL "thread")
    set(KX_TSAN ON)
    set(KX_SANITIZE OFF)
endif()

if(KX_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# The threads checker cannot share a build with the address checker; its build holds only the
# core and the tests that start threads.
if(KX_TSAN)
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
endif()

# With clang the fuzz targets are built (libFuzzer comes with clang only); in a sanitizer build
# every library is instrumented for the fuzzer's coverage too, so it explores the core's code.
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    set(KX_FUZZ ON)
    if(KX_SANITIZE)
        add_compile_options(-fsanitize=fuzzer-no-link)
    endif()
endif()
