#pragma once

#include <chrono>
#include <ctime>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>

namespace zeziza::platform {

// Raises the limit on open files (every connection and database is one where the system
// counts them together) as far as allowed; returns the limit afterwards, -1 for none.
long raiseOpenFileLimit();
// The limit on open files in force, -1 when there is none to respect.
long openFileLimit();

// Bounds the allocator's per-thread pools; called once before worker threads start.
void boundAllocatorPools();
// Gives memory freed since back to the system.
void returnFreedMemory();

// The process's resident memory now and at its peak, in bytes (0 when unknown).
std::size_t residentBytes();
std::size_t peakResidentBytes();
// Starts a new peak; false where the system cannot.
bool resetPeakResident();

// Calendar parts of a moment, in the local time zone and in UTC.
std::tm localParts(std::time_t time);
std::tm utcParts(std::time_t time);

// Whether standard input is a terminal a person types at.
bool interactiveInput();
// Waits up to `timeout` for a line on standard input; true when reading will not block long.
bool waitForInputLine(std::chrono::milliseconds timeout);
// Opens an address in the desktop's browser; false where there is none.
bool openInBrowser(const std::string& address);

// Where the event log goes: standard error on Linux (the service manager keeps it), so
// nothing is opened; on Windows, where a desktop program's standard error goes nowhere, a
// stream that writes both to `standardError` and to zeziza.log in the data folder.
std::unique_ptr<std::ostream> openEventLog(const std::filesystem::path& dataFolder,
                                           std::ostream& standardError);

// The data folder when none is named: the working directory on Linux, the machine's program
// data folder on Windows.
std::filesystem::path defaultDataFolder();

}  // namespace zeziza::platform
