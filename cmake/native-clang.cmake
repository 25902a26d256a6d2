# The host itself with clang: pure code only, for fuzzing and benchmarks.
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
