# Compiler settings shared by every target of the project.
add_library(ct_options INTERFACE)
target_compile_options(ct_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
  -Wimplicit-fallthrough
  # The payoff arithmetic must round exactly as written: no fused multiply-add.
  -ffp-contract=off)
if(CHOICETASK_WERROR)
  target_compile_options(ct_options INTERFACE -Werror)
endif()

if(CHOICETASK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
