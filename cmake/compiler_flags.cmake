# Warnings are errors everywhere. Colour maths must give the same bits in every build, so no target is
# ever compiled with floating-point contraction or fast-math.
add_compile_options(-Wall -Wextra -Wpedantic -Werror -ffp-contract=off -fno-fast-math)

if(WIN32)
    # One self-contained image per module: libgcc, libstdc++ and winpthread linked in, Windows DLLs imported.
    add_link_options(-static)
    add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
endif()

option(CHROMASIFT_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(CHROMASIFT_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

option(CHROMASIFT_SANITIZE_THREAD "Build with ThreadSanitizer" OFF)
if(CHROMASIFT_SANITIZE_THREAD)
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
endif()
