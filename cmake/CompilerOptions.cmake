# Interface targets carrying the warning, platform and sanitizer flags of Tarvik's own targets.

# Strict warnings for C++ code only: resource scripts go through windres, which rejects them.
add_library(tarvik_options INTERFACE)
target_compile_options(tarvik_options INTERFACE
    $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wpedantic -Werror>)

if(WIN32)
    # Windows 7 is the oldest supported system; newer APIs must be loaded at run time.
    target_compile_definitions(tarvik_options INTERFACE
        UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
    # Link libgcc, libstdc++ and winpthread statically so the executables need only system DLLs.
    target_link_options(tarvik_options INTERFACE -static)
    # Windows keeps the stack 16-byte aligned only, so the AVX2 kernels' 32-byte spills must
    # never be aligned moves.
    target_compile_options(tarvik_options INTERFACE
        $<$<COMPILE_LANGUAGE:CXX>:-Wa,-muse-unaligned-vector-move>)
endif()

# AddressSanitizer and UndefinedBehaviorSanitizer, stopping at the first report.
add_library(tarvik_sanitizers INTERFACE)
target_compile_options(tarvik_sanitizers INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
target_link_options(tarvik_sanitizers INTERFACE -fsanitize=address,undefined)
