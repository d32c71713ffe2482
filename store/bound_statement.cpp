#include "store/bound_statement.h"

namespace zeziza::store {

std::string containsPattern(std::string_view part) {
  std::string pattern = "%";
  for (const char c : part) {
    if (c == '%' || c == '_' || c == '\\') pattern += '\\';
    pattern += c;
  }
  return pattern + "%";
}

}  // namespace zeziza::store
