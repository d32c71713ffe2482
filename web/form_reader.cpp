#include "web/form_reader.h"

#include <microhttpd.h>

namespace zeziza::web {

namespace {

constexpr std::size_t kParserBuffer = 64 * 1024;

// One posted value or file, filled across the parser's calls.
struct Item {
  std::string key;
  bool isFile = false;
  UploadedFile file;
  std::string value;
};

}  // namespace

struct FormReader::Parser {
  MHD_PostProcessor* processor = nullptr;
  PostedForm* form = nullptr;
  Item current;
  bool open = false;

  void finish() {
    if (!open) return;
    if (current.isFile) {
      form->files.push_back(std::move(current.file));
    } else {
      form->fields.emplace(std::move(current.key), std::move(current.value));
    }
    current = {};
    open = false;
  }

  static MHD_Result piece(void* cls, MHD_ValueKind, const char* key, const char* filename,
                          const char* contentType, const char*, const char* data, uint64_t offset,
                          size_t size) {
    auto& self = *static_cast<Parser*>(cls);
    // Offset 0 starts the next value (a value of several pieces continues at its offset).
    if (offset == 0) {
      self.finish();
      self.open = true;
      self.current.key = key ? key : "";
      // A file input left empty posts a part with an empty file name: it counts as a field.
      self.current.isFile = filename && *filename;
      if (self.current.isFile) {
        self.current.file = {self.current.key, filename, contentType ? contentType : "", {}};
      }
    }
    (self.current.isFile ? self.current.file.content : self.current.value).append(data, size);
    return MHD_YES;
  }
};

FormReader::FormReader(MHD_Connection* connection, PostedForm& form)
    : form_(form), parser_(std::make_unique<Parser>()) {
  parser_->form = &form_;
  parser_->processor =
      MHD_create_post_processor(connection, kParserBuffer, &Parser::piece, parser_.get());
}

FormReader::~FormReader() {
  finish();
}

void FormReader::finish() {
  // Destroying the parser hands over what it still holds.
  if (parser_->processor) MHD_destroy_post_processor(parser_->processor);
  parser_->processor = nullptr;
  parser_->finish();
}

bool FormReader::feed(const char* data, std::size_t size) {
  if (!parser_->processor) return true;
  return MHD_post_process(parser_->processor, data, size) == MHD_YES;
}

}  // namespace zeziza::web
