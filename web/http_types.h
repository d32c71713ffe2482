#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zeziza::web {

struct UploadedFile {
  std::string field;
  std::string filename;
  std::string contentType;
  std::string content;
};

// The values a browser posts with a page.
struct PostedForm {
  std::multimap<std::string, std::string> fields;
  std::vector<UploadedFile> files;

  const std::string* get(std::string_view name) const {
    const auto it = fields.find(std::string(name));
    return it == fields.end() ? nullptr : &it->second;
  }
  std::string value(std::string_view name) const {
    const auto* v = get(name);
    return v ? *v : std::string();
  }
  const UploadedFile* file(std::string_view field) const {
    for (const auto& f : files) {
      if (f.field == field) return &f;
    }
    return nullptr;
  }
};

// What the handlers need of a request, read once when it has arrived.
struct RequestFacts {
  std::string clientAddress;  // the peer, or the client the trusted proxy names
  // The page form's session field, when the request is a post that carries one.
  std::optional<std::string> sessionId;
  bool acceptsGzip = false;
};

// What the rest of web/ sees of an HTTP request; the HTTP library stays in the adapter.
struct HttpRequest {
  std::string method;
  std::string path;                                 // decoded, without the query string
  std::string target;                               // path and query as sent, not decoded
  std::multimap<std::string, std::string> headers;  // names in lower case
  PostedForm form;
  std::string remoteAddr;
  RequestFacts facts;

  std::string header(std::string_view name) const {
    const auto it = headers.find(std::string(name));
    return it == headers.end() ? std::string() : it->second;
  }
};

struct HttpResponse {
  int status = 200;
  std::string contentType = "text/html; charset=utf-8";
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;

  static HttpResponse redirect(const std::string& location) {
    HttpResponse r;
    r.status = 302;
    r.headers.emplace_back("Location", location);
    r.body = "<a href=\"" + location + "\">" + location + "</a>";
    return r;
  }
  static HttpResponse text(int status, std::string body) {
    HttpResponse r;
    r.status = status;
    r.contentType = "text/plain; charset=utf-8";
    r.body = std::move(body);
    return r;
  }
};

}  // namespace zeziza::web
