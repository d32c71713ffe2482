#include "store/value.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace zeziza::store {

std::string Value::asText() const {
  struct Visitor {
    std::string operator()(std::monostate) const { return {}; }
    std::string operator()(std::int64_t v) const { return std::to_string(v); }
    std::string operator()(double v) const {
      // At most 15 significant digits, trailing zeros dropped: 85, 85.5, 83.3333333333333.
      char buf[32];
      std::snprintf(buf, sizeof buf, "%.15g", v);
      return buf;
    }
    std::string operator()(const std::string& v) const { return v; }
  };
  return std::visit(Visitor{}, data_);
}

double Value::asDouble() const {
  struct Visitor {
    double operator()(std::monostate) const { return 0; }
    double operator()(std::int64_t v) const { return static_cast<double>(v); }
    double operator()(double v) const { return v; }
    double operator()(const std::string& v) const {
      double out = 0;
      const auto* begin = v.data();
      while (begin != v.data() + v.size() && *begin == ' ') ++begin;
      std::from_chars(begin, v.data() + v.size(), out);
      return out;
    }
  };
  return std::visit(Visitor{}, data_);
}

std::int64_t Value::asInt() const {
  if (isInteger()) return std::get<std::int64_t>(data_);
  if (isText()) {
    const auto& s = std::get<std::string>(data_);
    std::int64_t out = 0;
    std::from_chars(s.data(), s.data() + s.size(), out);
    return out;
  }
  return static_cast<std::int64_t>(std::llround(asDouble()));
}

}  // namespace zeziza::store
