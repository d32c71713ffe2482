#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "results/page_frame.h"

namespace zeziza::results {

struct RegistrationView {
  Notice notice;
  std::string schoolName;               // as typed, kept after a refusal
  std::optional<std::int64_t> created;  // the new account's number after success
  std::string role;                     // and its database role
  std::string siteOrigin;               // "https://host" the browser reached, for addresses
};

std::string registrationPage(const RegistrationView& view);

}  // namespace zeziza::results
