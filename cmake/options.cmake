# Compile options shared by every target of both builds.
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)

add_compile_options(-Wall -Wextra -finput-charset=UTF-8)

if(WIN32)
    add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN)
    # One self-contained PE32 file: no libgcc, libstdc++ or winpthread DLL beside it.
    add_link_options(-static -static-libgcc -static-libstdc++)
    add_compile_options(-ffunction-sections -fdata-sections)
    add_link_options(-Wl,--gc-sections)
    set(CMAKE_CXX_FLAGS_RELEASE "-Os -DNDEBUG")
    if(NOT CMAKE_BUILD_TYPE OR CMAKE_BUILD_TYPE STREQUAL "Release")
        add_link_options(-s)
    endif()
else()
    # The native build exists for the unit tests: always with the sanitizers.
    add_compile_options(-g -O1 -fno-omit-frame-pointer -fsanitize=address,undefined
                        -fno-sanitize-recover=all)
    add_link_options(-fsanitize=address,undefined)
endif()

# Our own sources store every narrow literal as GBK (code page 936). Third-party code (GoogleTest)
# and the end-to-end driver, which speaks UTF-16 literals only, keep the default: the standard
# library's <chrono> holds a literal that GBK cannot encode.
function(clicker_text_options target)
    target_compile_options(${target} PRIVATE -fexec-charset=GBK)
endfunction()

# What the shipped program is compiled with: GBK texts, no exceptions, no RTTI.
function(clicker_program_options target)
    clicker_text_options(${target})
    target_compile_options(${target} PRIVATE -fno-exceptions -fno-rtti)
endfunction()
