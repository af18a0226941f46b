# Compiler settings shared by every target: warnings, sanitizers, Win32 definitions.
add_compile_options(-Wall -Wextra -Wno-unused-parameter)

if(TARNIX_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
if(TARNIX_FUZZ)
    # Coverage for libFuzzer everywhere; the fuzz targets add the fuzzer's own main.
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
if(TARNIX_TSAN)
    add_compile_options(-fsanitize=thread)
    add_link_options(-fsanitize=thread)
endif()

if(WIN32)
    # Wide Win32 APIs; C99 printf so that reports format doubles exactly as the native build does.
    add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX __USE_MINGW_ANSI_STDIO=1
                            _WIN32_WINNT=0x0A00 WINVER=0x0A00)
    # No mingw runtime DLLs beside the programs.
    add_link_options(-static -static-libgcc -static-libstdc++)
    set(TARNIX_PLATFORM win32)
    # The project's version for the version resources (resources/version_block.rci) and tests.
    file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/generated/tarnix_version.h CONTENT
"// Generated from the project's version by cmake/TarnixOptions.cmake.
#pragma once
#define TARNIX_VERSION_NUMBERS \
    @PROJECT_VERSION_MAJOR@, @PROJECT_VERSION_MINOR@, @PROJECT_VERSION_PATCH@, 0
#define TARNIX_VERSION_TEXT \"@PROJECT_VERSION@.0\"
" @ONLY)
    include_directories(${PROJECT_BINARY_DIR}/generated)
else()
    set(TARNIX_PLATFORM portable)
endif()
