#pragma once

#include "store/students.h"

namespace zeziza::pages::entry {

// A roster row as the entry pages need it.
using Student = store::Student;

}  // namespace zeziza::pages::entry
