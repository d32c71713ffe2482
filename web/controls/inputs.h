#pragma once

#include <optional>
#include <string>
#include <vector>

#include "web/control.h"

namespace zeziza::web {

// What the Enter key does in a text box. The box carries it as data attributes and the client
// script acts on them, so a page names the target control, never an element id or a script.
struct KeyAction {
  enum class Kind { None, Focus, Click };
  Kind kind = Kind::None;
  std::string target;  // element id of the target control
  bool selectText = false;

  // Moves the focus to `control`; with `selectText` its text is selected (where it has one).
  static KeyAction focus(const Control& control, bool selectText = false);
  // Moves the focus to `control` and clicks it.
  static KeyAction click(const Control& control);
  void write(HtmlWriter& out) const;
};

// A one-line text box.
class Edit : public Control {
 public:
  using Control::Control;
  std::string Text;
  bool PasswordPrompt = false;
  bool ReadOnly = false;
  bool NonEditableAsLabel = false;
  std::size_t MaxLength = 0;  // 0: the web layer's limit
  std::string Css = "srk";
  // The keyboard a phone offers ("decimal" for a score); empty: the ordinary one.
  std::string InputMode;
  KeyAction EnterKey;

  void render(HtmlWriter& out) const override;
  bool takesPost() const override { return !ReadOnly; }
  void checkPost(const PostedForm& form) const override;
  void applyPost(const PostedForm& form) override;
  void browserPost(PostedForm& form) const override;

 private:
  std::size_t limit() const;
};

// A multi-line text box, read back line by line.
class Memo : public Control {
 public:
  using Control::Control;
  std::vector<std::string> Lines;
  bool ReadOnly = false;
  int Rows = 8;
  // Scrolled to its last line when shown, for a log that grows at its end.
  bool ShowsEnd = false;

  std::string text() const;
  void setText(std::string_view text);

  void render(HtmlWriter& out) const override;
  bool takesPost() const override { return !ReadOnly; }
  void checkPost(const PostedForm& form) const override;
  void applyPost(const PostedForm& form) override;
  void browserPost(PostedForm& form) const override;
};

class CheckBox : public Control {
 public:
  using Control::Control;
  std::string Caption;
  bool Checked = false;

  void render(HtmlWriter& out) const override;
  bool takesPost() const override { return true; }
  void applyPost(const PostedForm& form) override;
  void browserPost(PostedForm& form) const override;
};

// A file chosen in the browser; the handler of the same post reads it.
class FileUpload : public Control {
 public:
  using Control::Control;

  // The file posted with the current request, if any.
  const std::optional<UploadedFile>& uploaded() const { return uploaded_; }
  // Writes the uploaded file to `path` through a side file and a rename.
  void saveTo(const std::string& path) const;
  void setUpload(UploadedFile file) { uploaded_ = std::move(file); }

  void render(HtmlWriter& out) const override;
  bool takesPost() const override { return true; }
  void checkPost(const PostedForm& form) const override;
  void applyPost(const PostedForm& form) override;
  void browserPost(PostedForm& form) const override;
  void endRequest() override { uploaded_.reset(); }

 private:
  std::optional<UploadedFile> uploaded_;
};

}  // namespace zeziza::web
