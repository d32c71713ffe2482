// Writes a synthetic school or district into a data folder, for trying the system out and for
// the benchmarks: zeziza_generate --data-dir DIR [--size school|district] [--students N]
// [--exams N] [--subjects N] [--seed N] [--absent RATE] [--admin NAME] [--password TEXT]
#include <iostream>
#include <string>
#include <vector>

#include "bench/school_generator.h"

namespace {

struct Arguments {
  std::string dataDir;
  zeziza::bench::SchoolOptions school;
};

void applySize(const std::string& size, zeziza::bench::SchoolOptions& school) {
  if (size == "school") {
    school.students = 4000;
  } else if (size == "district") {
    school.students = 20000;
  } else {
    throw std::invalid_argument("unknown size " + size + " (school or district)");
  }
  school.exams = 10;
}

Arguments parse(const std::vector<std::string>& args) {
  Arguments a;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& name = args[i];
    if (i + 1 >= args.size()) throw std::invalid_argument(name + " needs a value");
    const std::string& value = args[++i];
    if (name == "--data-dir") {
      a.dataDir = value;
    } else if (name == "--size") {
      applySize(value, a.school);
    } else if (name == "--students") {
      a.school.students = std::stoi(value);
    } else if (name == "--exams") {
      a.school.exams = std::stoi(value);
    } else if (name == "--subjects") {
      a.school.subjects = std::stoi(value);
    } else if (name == "--seed") {
      a.school.seed = static_cast<std::uint32_t>(std::stoul(value));
    } else if (name == "--absent") {
      a.school.absentRate = std::stod(value);
    } else if (name == "--admin") {
      a.school.adminName = value;
    } else if (name == "--password") {
      a.school.adminPassword = value;
    } else {
      throw std::invalid_argument("unknown option " + name);
    }
  }
  if (a.dataDir.empty()) throw std::invalid_argument("--data-dir is required");
  return a;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const Arguments a = parse(std::vector<std::string>(argv + 1, argv + argc));
    const auto made = zeziza::bench::generateSchool(a.dataDir, a.school);
    std::cout << a.dataDir << ": " << made.units << " units, " << made.classes
              << " classes per grade, " << made.students << " students, " << made.scoreRows
              << " score rows; super administrator " << a.school.adminName << " / "
              << a.school.adminPassword << "\n";
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "zeziza_generate: " << e.what() << "\n";
    return 1;
  }
}
