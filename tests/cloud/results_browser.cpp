#include "tests/cloud/results_browser.h"

namespace zeziza::testing {

std::string headerOf(const web::HttpResponse& response, const std::string& name) {
  for (const auto& [key, value] : response.headers) {
    if (key == name) return value;
  }
  return {};
}

web::HttpResponse ResultsBrowser::get(const std::string& path, const Fields& query) {
  web::HttpRequest request;
  request.method = "GET";
  request.path = path;
  for (const auto& [name, value] : query) request.form.fields.emplace(name, value);
  return send(std::move(request));
}

web::HttpResponse ResultsBrowser::post(const std::string& path, const Fields& fields) {
  web::HttpRequest request;
  request.method = "POST";
  request.path = path;
  for (const auto& [name, value] : fields) request.form.fields.emplace(name, value);
  if (!origin.empty()) request.headers.emplace("origin", origin);
  return send(std::move(request));
}

web::HttpResponse ResultsBrowser::send(web::HttpRequest request) {
  request.remoteAddr = address_;
  request.headers.emplace("host", host);
  if (!cookie.empty()) request.headers.emplace("cookie", cookie);
  for (const auto& header : extraHeaders) request.headers.insert(header);
  auto response = site_->handle(request);
  const std::string set = headerOf(response, "Set-Cookie");
  if (!set.empty()) {
    const std::string pair = set.substr(0, set.find(';'));
    cookie = set.find("Max-Age=0") != std::string::npos ? std::string() : pair;
  }
  return response;
}

}  // namespace zeziza::testing
