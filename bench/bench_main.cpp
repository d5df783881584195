// corvane-bench's main(): Google Benchmark runs every BENCHMARK in bench/.
// Defining main here keeps the platform's game entry point out.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
