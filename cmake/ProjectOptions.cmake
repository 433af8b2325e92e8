# Compiler settings shared by every target of the project: GCC and Clang
# (Linux, MinGW, Apple Clang) or MSVC.
add_library(ct_options INTERFACE)
if(MSVC)
  target_compile_options(ct_options INTERFACE
    /W4 /permissive- /utf-8 /Zc:__cplusplus
    # The payoff arithmetic must round exactly as written: no contractions.
    /fp:precise /fp:contract-)
  target_compile_definitions(ct_options INTERFACE NOMINMAX WIN32_LEAN_AND_MEAN _CRT_SECURE_NO_WARNINGS)
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
if(WIN32)
  # Windows 7 and later.
  target_compile_definitions(ct_options INTERFACE _WIN32_WINNT=0x0601 UNICODE _UNICODE)
endif()

if(CHOICETASK_SANITIZE)
  if(MSVC)
    message(FATAL_ERROR "CHOICETASK_SANITIZE needs GCC or Clang")
  endif()
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
