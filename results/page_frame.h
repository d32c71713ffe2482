#pragma once

#include <string>
#include <string_view>

#include "web/html.h"

namespace zeziza::results {

// The site's address space.
inline constexpr std::string_view kRegistrationPath = "/vezav/reg";
inline constexpr std::string_view kResultPath = "/vezav/index.dll";
std::string resultAddress(std::int64_t school);

// A message above a page's content: a refusal or a confirmation.
struct Notice {
  enum class Kind { None, Refusal, Done };
  Kind kind = Kind::None;
  std::string text;

  static Notice refusal(std::string text) { return {Kind::Refusal, std::move(text)}; }
  static Notice done(std::string text) { return {Kind::Done, std::move(text)}; }
};

// A whole page: the school server's style sheet and the site's own, sized for phones too, no
// script. `body` is HTML already escaped by its writer; `head`, more of the head, too.
std::string framePage(std::string_view title, const Notice& notice, std::string_view body,
                      std::string_view head = {});

// Form pieces; every value is escaped.
void labelledInput(web::HtmlWriter& out, std::string_view label, std::string_view name,
                   std::string_view type, std::string_view value = {});
void hiddenInput(web::HtmlWriter& out, std::string_view name, std::string_view value);
void submitButton(web::HtmlWriter& out, std::string_view caption);
// A column heading.
void headCell(web::HtmlWriter& out, std::string_view heading);
// A value shown in a table cell, "—" when there is none. The cell carries its column's
// heading, which a phone shows beside the value when it stacks a row's cells.
void cell(web::HtmlWriter& out, std::string_view value, std::string_view heading);

}  // namespace zeziza::results
