#pragma once

#include <functional>
#include <string>
#include <vector>

#include "web/control.h"

namespace zeziza::web {

// A drop-down list. ItemIndex -1 means nothing chosen.
class ComboBox : public Control {
 public:
  using Control::Control;
  std::vector<std::string> Items;
  int ItemIndex = -1;
  std::string NoSelectionText = "-- 请选择 --";
  std::string Css = "srk";
  // When set, choosing an item submits the page at once.
  std::function<void()> OnChange;

  // The chosen item; throws when nothing is chosen, as reading entry -1 of a list does.
  const std::string& text() const;
  // Chooses the first item equal to `item`; -1 when absent.
  void select(std::string_view item);

  void render(HtmlWriter& out) const override;
  bool takesPost() const override { return true; }
  void checkPost(const PostedForm& form) const override;
  void applyPost(const PostedForm& form) override;
  void browserPost(PostedForm& form) const override;
  bool hasEvent() const override { return static_cast<bool>(OnChange); }
  void fire(std::string_view param) override;

 private:
  int postedIndex(const PostedForm& form) const;
};

// A list box; most serve hidden as a string list kept with the page.
class ListBox : public Control {
 public:
  using Control::Control;
  std::vector<std::string> Items;
  int ItemIndex = -1;
  int Rows = 6;

  void render(HtmlWriter& out) const override;
  bool takesPost() const override { return true; }
  void checkPost(const PostedForm& form) const override;
  void applyPost(const PostedForm& form) override;
  void browserPost(PostedForm& form) const override;
};

// A hidden string list kept with the page; never rendered, never posted.
class List : public Control {
 public:
  using Control::Control;
  std::vector<std::string> Items;
  void render(HtmlWriter&) const override {}
};

// Parses a posted item index; throws BadPost unless it is -1 or within `count`.
int parseItemIndex(const std::string& text, std::size_t count, const Control& control);

}  // namespace zeziza::web
