#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zeziza::base {

// Walks a command line of "--name value" and "--name=value" options. Errors are
// std::invalid_argument with a message naming the option.
class OptionReader {
 public:
  explicit OptionReader(const std::vector<std::string>& args) : args_(args) {}

  // Moves to the next argument; false past the last.
  bool next() { return ++at_ < args_.size(); }
  const std::string& current() const { return args_[at_]; }
  // The current argument is the option `name`, alone or with "=value".
  bool is(std::string_view name) const;
  // The option's value: after '=', else the next argument (which it consumes).
  std::string value(std::string_view name);
  // The value as a whole number from `low` to `high`.
  int number(std::string_view name, int low, int high);
  [[noreturn]] void unknown() const;

 private:
  const std::vector<std::string>& args_;
  std::size_t at_ = static_cast<std::size_t>(-1);
};

}  // namespace zeziza::base
