# Compile options for the project's own code (not for GoogleTest).
function(launcher_own_code target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Werror)
  if(LAUNCHER_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

if(LAUNCHER_SANITIZE)
  # Link every executable with the sanitizer runtimes (the libraries above carry
  # instrumented code).
  add_link_options(-fsanitize=address,undefined)
endif()
