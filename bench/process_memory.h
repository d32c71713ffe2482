#pragma once

#include <string>
#include <vector>

namespace zeziza::bench {

// Starts a new peak for peakResidentMiB(); false where the kernel does not offer it.
bool resetPeakResident();
// The process's resident memory now and its peak since the last reset, in MiB.
double residentMiB();
double peakResidentMiB();

// Runs a program with its output thrown away and waits for it; returns the child's peak
// resident memory in MiB. Throws when it cannot start or fails.
double runProgram(const std::vector<std::string>& argv);

}  // namespace zeziza::bench
