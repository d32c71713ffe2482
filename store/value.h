#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace zeziza::store {

// One field of a result row, or one bound parameter.
class Value {
 public:
  Value() = default;
  Value(std::nullptr_t) {}
  Value(int v) : data_(static_cast<std::int64_t>(v)) {}
  Value(std::int64_t v) : data_(v) {}
  Value(double v) : data_(v) {}
  Value(std::string v) : data_(std::move(v)) {}
  Value(const char* v) : data_(std::string(v)) {}
  Value(std::string_view v) : data_(std::string(v)) {}

  bool isNull() const { return std::holds_alternative<std::monostate>(data_); }
  bool isInteger() const { return std::holds_alternative<std::int64_t>(data_); }
  bool isReal() const { return std::holds_alternative<double>(data_); }
  bool isText() const { return std::holds_alternative<std::string>(data_); }

  // Conversions as a page reads a field: null reads as empty text or 0.
  std::string asText() const;
  double asDouble() const;
  std::int64_t asInt() const;

  const auto& variant() const { return data_; }
  bool operator==(const Value&) const = default;

 private:
  std::variant<std::monostate, std::int64_t, double, std::string> data_;
};

}  // namespace zeziza::store
