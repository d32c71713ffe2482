#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "web/control.h"

namespace zeziza::web {

// Browser-side scripts of a control, by event name ("onKeyPress"); the page's own code.
using ScriptEvents = std::vector<std::pair<std::string, std::string>>;
void writeScriptEvents(HtmlWriter& out, const ScriptEvents& events);

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
  ScriptEvents Scripts;

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
  ScriptEvents Scripts;

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
