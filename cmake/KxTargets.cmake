# The layered libraries. Each subsystem folder adds its sources to the layer they belong
# to; the link lines below are what keeps the arrows pointing one way.
add_library(kxcore STATIC)
target_include_directories(kxcore PUBLIC ${CMAKE_SOURCE_DIR}/src)
find_package(Threads REQUIRED)
target_link_libraries(kxcore PUBLIC Threads::Threads)
target_compile_definitions(kxcore PUBLIC KX_VERSION="${PROJECT_VERSION}")

if(NOT KX_CORE_ONLY)
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(EPOXY REQUIRED IMPORTED_TARGET epoxy)
    pkg_check_modules(EGL REQUIRED IMPORTED_TARGET egl)

    add_library(kxrender STATIC)
    target_link_libraries(kxrender PUBLIC kxcore PkgConfig::EPOXY)

    # The headless context lives apart so that only tools and tests pull in EGL.
    add_library(kxheadless STATIC)
    target_link_libraries(kxheadless PUBLIC kxrender PkgConfig::EGL)

    set(CMAKE_AUTOMOC ON)
    add_library(kxgui STATIC)
    set_target_properties(kxgui PROPERTIES AUTOMOC ON AUTORCC ON)
    target_link_libraries(kxgui PUBLIC kxcore kxrender Qt6::Widgets Qt6::OpenGL
                                       Qt6::OpenGLWidgets Qt6::PrintSupport)
endif()

# kx_core_sources(file...) / kx_render_sources / kx_headless_sources / kx_gui_sources:
# used by the subsystem folders.
function(kx_core_sources)
    target_sources(kxcore PRIVATE ${ARGN})
endfunction()
function(kx_render_sources)
    if(NOT KX_CORE_ONLY)
        target_sources(kxrender PRIVATE ${ARGN})
    endif()
endfunction()
function(kx_headless_sources)
    if(NOT KX_CORE_ONLY)
        target_sources(kxheadless PRIVATE ${ARGN})
    endif()
endfunction()
function(kx_gui_sources)
    if(NOT KX_CORE_ONLY)
        target_sources(kxgui PRIVATE ${ARGN})
    endif()
endfunction()
