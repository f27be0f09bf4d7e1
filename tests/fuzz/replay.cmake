# Included by tests/host/CMakeLists.txt: every fuzz target built with a plain
# main() that feeds it the checked-in corpus once, registered as a test.
set(launcher_fuzz_dir ${PROJECT_SOURCE_DIR}/tests/fuzz)
include(${launcher_fuzz_dir}/targets.cmake)
foreach(name ${launcher_fuzz_targets})
  add_executable(fuzz_replay_${name} ${launcher_fuzz_dir}/${name}Fuzzer.cpp ${launcher_fuzz_dir}/ReplayMain.cpp)
  target_include_directories(fuzz_replay_${name} PRIVATE ${launcher_fuzz_dir})
  target_link_libraries(fuzz_replay_${name} PRIVATE launcher_portable launcher_stamp_core)
  launcher_own_code(fuzz_replay_${name})
  add_test(NAME fuzz_replay.${name} COMMAND fuzz_replay_${name} ${launcher_fuzz_dir}/corpus/${name})
endforeach()
