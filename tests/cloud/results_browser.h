#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "results/results_site.h"

namespace zeziza::testing {

// A browser talking to a results site object directly: keeps the sign-in cookie the site
// sets and sends it back, and follows nothing by itself.
class ResultsBrowser {
 public:
  using Fields = std::vector<std::pair<std::string, std::string>>;

  explicit ResultsBrowser(results::ResultsSite& site, std::string address = "198.51.100.7")
      : site_(&site), address_(std::move(address)) {}

  web::HttpResponse get(const std::string& path, const Fields& query = {});
  web::HttpResponse post(const std::string& path, const Fields& fields);
  // Answers the next requests from another instance of the site.
  void useSite(results::ResultsSite& site) { site_ = &site; }

  std::string cookie;  // "name=value" as sent back; empty before any was set
  std::string origin = "http://results.test";
  std::string host = "results.test";
  std::multimap<std::string, std::string> extraHeaders;  // names in lower case
  std::string address() const { return address_; }

 private:
  web::HttpResponse send(web::HttpRequest request);

  results::ResultsSite* site_;
  std::string address_;
};

// The value of a header of an answer ("" when missing).
std::string headerOf(const web::HttpResponse& response, const std::string& name);

}  // namespace zeziza::testing
