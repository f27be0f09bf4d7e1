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

# The shipped launcher is built for size: small code, every function and datum
# in a section of its own so that the linker drops what nothing uses, and
# link-time optimisation across the libraries. The objects are "fat" (code
# and LTO data), so the test programs that link the same libraries without LTO
# run the same -Os code; the e2e tests start the launcher itself. No C++
# exceptions and no RTTI: the launcher catches nothing (src/app/
# FatalErrors_win.cpp ends the process where the library would throw).
function(launcher_lean_code target)
  target_compile_options(${target} PRIVATE -Os -ffunction-sections -fdata-sections -flto -ffat-lto-objects
    -fno-exceptions -fno-rtti)
endfunction()

# One LTO partition: GCC 12's partitioned link-time optimisation stops with an
# internal error (binds_to_current_def_p) on this code.
function(launcher_lean_link target)
  target_link_options(${target} PRIVATE -Os -flto=auto -flto-partition=one -Wl,--gc-sections)
endfunction()
