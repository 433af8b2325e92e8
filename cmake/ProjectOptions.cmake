# Compiler settings shared by every target of the project: GCC and Clang
# (Linux, MinGW, Apple Clang) or MSVC.
add_library(ct_options INTERFACE)
if(MSVC)
  target_compile_options(ct_options INTERFACE
    /W4 /permissive- /utf-8 /Zc:__cplusplus
    # The payoff arithmetic must round exactly as written: no contractions.
    /fp:precise /fp:contract-)
  target_compile_definitions(ct_options INTERFACE _CRT_SECURE_NO_WARNINGS)
  if(CHOICETASK_WERROR)
    target_compile_options(ct_options INTERFACE /WX)
  endif()
else()
  target_compile_options(ct_options INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
    -Wimplicit-fallthrough
    # The payoff arithmetic must round exactly as written: no fused multiply-add.
    -ffp-contract=off)
  if(CHOICETASK_WERROR)
    target_compile_options(ct_options INTERFACE -Werror)
  endif()
endif()
if(CMAKE_SYSTEM_NAME STREQUAL "Linux" AND NOT CHOICETASK_SANITIZE)
  # Debian's hardening: buffer overflows in the C library's string and memory
  # functions caught where the sizes are known (optimised builds only, as the
  # checks need them), stack protection, and every symbol bound at start so
  # that the relocations can be read-only.
  target_compile_options(ct_options INTERFACE
    $<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=2> -fstack-protector-strong)
  target_link_options(ct_options INTERFACE -Wl,-z,relro -Wl,-z,now)
endif()
if(WIN32)
  # Windows 7 and later; <windows.h> without its rarely used parts and
  # without its min and max macros.
  target_compile_definitions(ct_options INTERFACE _WIN32_WINNT=0x0601 UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
endif()

if(CHOICETASK_SANITIZE)
  if(MSVC)
    message(FATAL_ERROR "CHOICETASK_SANITIZE needs GCC or Clang")
  endif()
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
