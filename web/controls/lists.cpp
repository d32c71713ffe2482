#include "web/controls/lists.h"

#include <charconv>

#include "base/whole_number.h"

namespace zeziza::web {

int parseItemIndex(const std::string& text, std::size_t count, const Control& control) {
  const auto index = base::exactInteger<int>(text);
  if (!index || *index < -1 || *index >= static_cast<int>(count)) {
    throw BadPost("item index out of range for " + control.fullName());
  }
  return *index;
}

const std::string& ComboBox::text() const {
  if (ItemIndex < 0 || ItemIndex >= static_cast<int>(Items.size())) {
    throw std::out_of_range("List index out of bounds (" + std::to_string(ItemIndex) + ")");
  }
  return Items[static_cast<std::size_t>(ItemIndex)];
}

void ComboBox::select(std::string_view item) {
  ItemIndex = -1;
  for (std::size_t i = 0; i < Items.size(); ++i) {
    if (Items[i] == item) {
      ItemIndex = static_cast<int>(i);
      return;
    }
  }
}

void ComboBox::render(HtmlWriter& out) const {
  out.raw("<select");
  writeIdentity(out, true);
  out.attr("class", Css);
  if (OnChange) out.attr("data-iw-change", elementId());
  if (!Enabled) out.raw(" disabled");
  out.raw(">");
  if (ItemIndex < 0)
    out.raw("<option value=\"-1\" selected>").text(NoSelectionText).raw("</option>");
  for (std::size_t i = 0; i < Items.size(); ++i) {
    out.raw("<option").attr("value", std::to_string(i));
    if (static_cast<int>(i) == ItemIndex) out.raw(" selected");
    out.raw(">").text(Items[i]).raw("</option>");
  }
  out.raw("</select>");
}

int ComboBox::postedIndex(const PostedForm& form) const {
  const auto* v = form.get(elementId());
  return v ? parseItemIndex(*v, Items.size(), *this) : ItemIndex;
}

void ComboBox::checkPost(const PostedForm& form) const {
  postedIndex(form);
}

void ComboBox::applyPost(const PostedForm& form) {
  ItemIndex = postedIndex(form);
}

void ComboBox::browserPost(PostedForm& form) const {
  form.fields.emplace(elementId(), std::to_string(ItemIndex));
}

void ComboBox::fire(std::string_view) {
  if (!OnChange) Control::fire({});
  OnChange();
}

void ListBox::render(HtmlWriter& out) const {
  out.raw("<select");
  writeIdentity(out, true);
  out.attr("class", "srk").attr("size", std::to_string(Rows));
  if (!Enabled) out.raw(" disabled");
  out.raw(">");
  for (std::size_t i = 0; i < Items.size(); ++i) {
    out.raw("<option").attr("value", std::to_string(i));
    if (static_cast<int>(i) == ItemIndex) out.raw(" selected");
    out.raw(">").text(Items[i]).raw("</option>");
  }
  out.raw("</select>");
}

void ListBox::checkPost(const PostedForm& form) const {
  if (const auto* v = form.get(elementId())) parseItemIndex(*v, Items.size(), *this);
}

// A list box with nothing selected posts nothing.
void ListBox::applyPost(const PostedForm& form) {
  const auto* v = form.get(elementId());
  ItemIndex = v ? parseItemIndex(*v, Items.size(), *this) : -1;
}

void ListBox::browserPost(PostedForm& form) const {
  if (ItemIndex >= 0) form.fields.emplace(elementId(), std::to_string(ItemIndex));
}

}  // namespace zeziza::web
