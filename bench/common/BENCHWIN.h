// What the Windows benchmarks share: the clock, the BENCH line, where their
// generated files go, the message pump and the baseline read of a file.
#pragma once

#include <string>

double Now();

// BENCH name=... bytes=... seconds=... baseline=... baseline_seconds=... ratio=...
void PrintBench(const char* name, unsigned long long bytes, double seconds, const char* baseline,
                double baselineSeconds);

// $GLIM_BENCH_DATA (a host path is taken on drive Z:), or empty when unset.
std::string BenchDataFolder();
// A file of that name in the data folder, or in the temporary folder.
std::string BenchFilePath(const char* name);

// The file's size; 0 when there is none.
unsigned long long BenchFileSize(const std::string& path);

// Dispatches whatever messages are waiting.
void Pump();

// A text file of the given size: one megabyte of numbered lines of varying
// length, with tabs, repeated. A file of that size from an earlier run is
// used as it is. False when it cannot be written.
bool MakeTextFile(const std::string& path, unsigned long size);

// One sequential read of the whole file through a 1 MiB buffer: the plain way
// to read it, the baseline of the benchmarks that read files.
double SequentialRead(const std::string& path);
