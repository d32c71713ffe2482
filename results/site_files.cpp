#include "results/site_files.h"

#include <string>

#include "base/embedded_file.h"

namespace zeziza {
const std::vector<EmbeddedFile>& embeddedFiles_results_resources();
}

namespace zeziza::results {

namespace {

struct SiteFile {
  std::string_view path;
  std::string_view name;
  const std::vector<EmbeddedFile>& (*files)();
  std::string_view contentType;
};

// The school server's style sheet and its background, and the site's own sheet.
constexpr SiteFile kFiles[] = {
    {"/vezav/mjy.css", "mjy.css", embeddedFiles_static, "text/css; charset=utf-8"},
    {"/vezav/img01.jpg", "img01.jpg", embeddedFiles_static, "image/jpeg"},
    {"/vezav/results.css", "results.css", embeddedFiles_results_resources,
     "text/css; charset=utf-8"},
};

}  // namespace

std::optional<web::HttpResponse> siteFile(std::string_view path) {
  for (const auto& file : kFiles) {
    if (file.path != path) continue;
    for (const auto& embedded : file.files()) {
      if (embedded.name != file.name) continue;
      web::HttpResponse response;
      response.contentType = std::string(file.contentType);
      response.body = std::string(embedded.bytes);
      response.headers.emplace_back("Cache-Control", "public, max-age=86400");
      return response;
    }
  }
  return std::nullopt;
}

}  // namespace zeziza::results
