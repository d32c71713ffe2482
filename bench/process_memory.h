#pragma once

#include <string>
#include <vector>

namespace zeziza::bench {

// Starts a new peak for peakResidentMiB(); false where the kernel does not offer it.
bool resetPeakResident();
// The process's resident memory now and its peak since the last reset, in MiB.
double residentMiB();
double peakResidentMiB();
// Heap memory in use now (allocated and not freed), in MiB.
double heapInUseMiB();

// Runs a program with its output thrown away and waits for it. Throws when it cannot start or
// fails.
void runProgram(const std::vector<std::string>& argv);

}  // namespace zeziza::bench
