#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "web/http_types.h"

struct MHD_Connection;
struct MHD_PostProcessor;

namespace zeziza::web {

// Reads a posted body (multipart or url-encoded) into a PostedForm as it arrives, piece by
// piece, with the HTTP library's own parser.
class FormReader {
 public:
  // Nothing is read for a body of another type.
  FormReader(MHD_Connection* connection, PostedForm& form);
  ~FormReader();
  FormReader(const FormReader&) = delete;
  FormReader& operator=(const FormReader&) = delete;

  // False when the body is malformed.
  bool feed(const char* data, std::size_t size);
  // The body has ended: the last value goes into the form.
  void finish();

 private:
  struct Parser;
  PostedForm& form_;
  std::unique_ptr<Parser> parser_;
};

}  // namespace zeziza::web
