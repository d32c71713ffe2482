#include "web/controls/inputs.h"

#include <filesystem>
#include <fstream>

#include "web/limits.h"

namespace zeziza::web {

KeyAction KeyAction::focus(const Control& control, bool selectText) {
  return {Kind::Focus, control.elementId(), selectText};
}

KeyAction KeyAction::click(const Control& control) {
  return {Kind::Click, control.elementId(), false};
}

void KeyAction::write(HtmlWriter& out) const {
  if (kind == Kind::None) return;
  out.attr("data-iw-enter", kind == Kind::Click ? "click" : "focus").attr("data-iw-target", target);
  if (selectText) out.attr("data-iw-select", "1");
}

std::size_t Edit::limit() const {
  return MaxLength > 0 ? std::min(MaxLength, limits::kMaxEditBytes) : limits::kMaxEditBytes;
}

void Edit::render(HtmlWriter& out) const {
  if (ReadOnly && NonEditableAsLabel) {
    out.raw("<span");
    writeIdentity(out, false);
    out.attr("class", "lbl").raw(">").text(Text).raw("</span>");
    return;
  }
  out.raw("<input");
  writeIdentity(out, true);
  out.attr("type", PasswordPrompt ? "password" : "text").attr("class", Css);
  // A password is never sent back to the browser.
  out.attr("value", PasswordPrompt ? std::string() : Text);
  if (MaxLength > 0) out.attr("maxlength", std::to_string(MaxLength));
  if (!InputMode.empty()) out.attr("inputmode", InputMode);
  if (ReadOnly) out.raw(" readonly");
  if (!Enabled) out.raw(" disabled");
  EnterKey.write(out);
  out.raw(">");
}

void Edit::checkPost(const PostedForm& form) const {
  postedText(form, *this, limit());
}

void Edit::applyPost(const PostedForm& form) {
  if (const auto* v = postedText(form, *this, limit())) Text = *v;
}

void Edit::browserPost(PostedForm& form) const {
  form.fields.emplace(elementId(), Text);
}

std::string Memo::text() const {
  std::string out;
  for (std::size_t i = 0; i < Lines.size(); ++i) {
    if (i > 0) out += "\r\n";
    out += Lines[i];
  }
  return out;
}

void Memo::setText(std::string_view text) {
  Lines.clear();
  std::size_t start = 0;
  if (text.empty()) return;
  while (true) {
    const std::size_t end = text.find('\n', start);
    std::string line(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    Lines.push_back(std::move(line));
    if (end == std::string_view::npos) break;
    start = end + 1;
    if (start == text.size()) break;  // a final line break ends the last line
  }
}

void Memo::render(HtmlWriter& out) const {
  out.raw("<textarea");
  writeIdentity(out, true);
  out.attr("class", "srk memo").attr("rows", std::to_string(Rows));
  if (ReadOnly) out.raw(" readonly");
  if (!Enabled) out.raw(" disabled");
  if (ShowsEnd) out.attr("data-iw-end", "1");
  // A leading newline inside <textarea> is dropped by the parser; keep the first line.
  out.raw(">\n").text(text()).raw("</textarea>");
}

void Memo::checkPost(const PostedForm& form) const {
  postedText(form, *this, limits::kMaxMemoBytes);
}

void Memo::applyPost(const PostedForm& form) {
  if (const auto* v = postedText(form, *this, limits::kMaxMemoBytes)) setText(*v);
}

void Memo::browserPost(PostedForm& form) const {
  form.fields.emplace(elementId(), text());
}

void CheckBox::render(HtmlWriter& out) const {
  out.raw("<label class=\"chk\"><input type=\"checkbox\"");
  writeIdentity(out, true);
  out.attr("value", "on");
  if (Checked) out.raw(" checked");
  if (!Enabled) out.raw(" disabled");
  out.raw("> ").text(Caption).raw("</label>");
}

// A browser posts a check box only when it is ticked.
void CheckBox::applyPost(const PostedForm& form) {
  Checked = form.get(elementId()) != nullptr;
}

void CheckBox::browserPost(PostedForm& form) const {
  if (Checked) form.fields.emplace(elementId(), "on");
}

void FileUpload::render(HtmlWriter& out) const {
  out.raw("<input type=\"file\"");
  writeIdentity(out, true);
  out.attr("class", "srk");
  if (!Enabled) out.raw(" disabled");
  out.raw(">");
}

void FileUpload::checkPost(const PostedForm& form) const {
  const auto* file = form.file(elementId());
  if (file && file->content.size() > limits::kMaxUploadBytes) {
    throw BadPost(
        "upload too large",
        "上传的文件太大，不能超过" + std::to_string(limits::kMaxUploadBytes / 1048576) + "MB。");
  }
}

void FileUpload::applyPost(const PostedForm& form) {
  const auto* file = form.file(elementId());
  if (file && !file->filename.empty()) {
    uploaded_ = *file;
  } else {
    uploaded_.reset();
  }
}

void FileUpload::browserPost(PostedForm& form) const {
  if (uploaded_) {
    UploadedFile copy = *uploaded_;
    copy.field = elementId();
    form.files.push_back(std::move(copy));
  }
}

void FileUpload::saveTo(const std::string& path) const {
  if (!uploaded_) throw std::runtime_error("no file was uploaded");
  const std::string partial = path + ".partial";
  {
    std::ofstream file(partial, std::ios::binary | std::ios::trunc);
    file.write(uploaded_->content.data(), static_cast<std::streamsize>(uploaded_->content.size()));
    if (!file) throw std::runtime_error("cannot write " + partial);
  }
  std::filesystem::rename(partial, path);
}

}  // namespace zeziza::web
