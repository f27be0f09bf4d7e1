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

# Reproducible builds: builds of the same commit from clones at different
# paths, at different times, give the same bytes. No path of the source or
# build tree reaches an object (__FILE__, the library's assertion texts, debug
# information).
add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.>"
  "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_BINARY_DIR}=build>")
# The PE time stamp is the last commit's time, not the build's: the linker
# takes it from SOURCE_DATE_EPOCH, which the environment may give (make dist
# does), else the last commit's time when the configure step ran.
if(WIN32)
  set(LAUNCHER_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
  if(LAUNCHER_SOURCE_DATE_EPOCH STREQUAL "")
    execute_process(COMMAND git -C ${PROJECT_SOURCE_DIR} log -1 --format=%ct
      OUTPUT_VARIABLE LAUNCHER_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  endif()
  if(NOT LAUNCHER_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
    set(LAUNCHER_SOURCE_DATE_EPOCH 0)
  endif()
  foreach(language C CXX)
    set(CMAKE_${language}_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${LAUNCHER_SOURCE_DATE_EPOCH})
  endforeach()
endif()

# launcher-stamp is built for size too, outside the sanitizer build: small
# code, unused sections dropped, link-time optimisation, no symbols. Unlike
# the launcher it keeps C++ exceptions, since it uses the library's files
# and streams, which report through them.
function(launcher_stamp_lean target)
  if(NOT LAUNCHER_SANITIZE)
    target_compile_options(${target} PRIVATE -Os -ffunction-sections -fdata-sections -flto -ffat-lto-objects)
  endif()
endfunction()
function(launcher_stamp_lean_link target)
  if(NOT LAUNCHER_SANITIZE)
    launcher_lean_link(${target})
    target_link_options(${target} PRIVATE -s)
  endif()
endfunction()
