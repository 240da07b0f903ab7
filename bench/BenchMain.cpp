// Entry point shared by every benchmark source in this folder.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
