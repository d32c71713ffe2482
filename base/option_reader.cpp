#include "base/option_reader.h"

#include <stdexcept>

#include "base/whole_number.h"

namespace zeziza::base {

bool OptionReader::is(std::string_view name) const {
  const std::string_view arg = current();
  return arg.starts_with(name) && (arg.size() == name.size() || arg[name.size()] == '=');
}

std::string OptionReader::value(std::string_view name) {
  const std::string& arg = current();
  if (arg.size() > name.size() && arg[name.size()] == '=') return arg.substr(name.size() + 1);
  if (at_ + 1 >= args_.size()) throw std::invalid_argument(std::string(name) + " needs a value");
  return args_[++at_];
}

int OptionReader::number(std::string_view name, int low, int high) {
  const std::string text = value(name);
  const auto n = exactInteger<int>(text);
  if (!n || *n < low || *n > high) {
    throw std::invalid_argument(std::string(name) + " needs a number from " + std::to_string(low) +
                                " to " + std::to_string(high) + ", got \"" + text + "\"");
  }
  return *n;
}

void OptionReader::unknown() const {
  throw std::invalid_argument("unknown option \"" + current() + "\" (see --help)");
}

}  // namespace zeziza::base
