// An exported workbook is the answer to the click that made it and nothing else: no file of it
// stays under cache/, and nothing under cache/ is served, to the session or to anyone else.
#include <gtest/gtest.h>
#include <httplib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/entry_school.h"
#include "tests/support/http_browser.h"
#include "tests/support/temp_folder.h"

namespace zeziza::testing {
namespace {

std::string serverBinary() {
  const char* bin = std::getenv("ZEZIZA_BIN");
  return bin ? bin : "";
}

// Every file under `folder`, as paths relative to it.
std::vector<std::string> filesUnder(const std::filesystem::path& folder) {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) {
      files.push_back(std::filesystem::relative(entry.path(), folder).generic_string());
    }
  }
  return files;
}

TEST(ExportFetchFault, AnExportIsTheClicksAnswerAloneAndCacheFilesAreNeverServed) {
  if (serverBinary().empty()) GTEST_SKIP() << "ZEZIZA_BIN is not set; run through ctest";
  TempFolder temp;
  prepareEntrySchool(temp.path(), 20);
  ServerProcess server(serverBinary(), temp.path());

  HttpBrowser admin(server.port());
  ASSERT_TRUE(admin.start());
  ASSERT_TRUE(admin.post("signinbutton", {{"usernameedit", "admin"}, {"passwordedit", "admin"}}));
  ASSERT_TRUE(admin.post("navigationbar.rosterlink"));
  ASSERT_TRUE(admin.post("querybutton"));
  const auto workbook = admin.postForFile("exportlink");
  ASSERT_TRUE(workbook) << admin.messages();
  EXPECT_TRUE(workbook->starts_with("PK"));  // a zip, as every .xlsx is
  const std::string session = hiddenField(admin.page(), "IW_SessionID_");
  ASSERT_FALSE(session.empty());

  // What the export left behind, and a file put in the session's folder by hand.
  const auto cache = temp.path() / "cache";
  const auto left = filesUnder(cache);
  EXPECT_TRUE(left.empty()) << left.front();
  std::filesystem::create_directories(cache / "user" / session);
  std::ofstream(cache / "user" / session / "planted.xlsx") << "PK planted";

  httplib::Client stranger("127.0.0.1", server.port());
  stranger.set_socket_options([](int socket) { bindSource(socket, "127.0.0.2"); });
  httplib::Client sameBrowser("127.0.0.1", server.port());
  for (const auto& file : filesUnder(cache)) {
    for (httplib::Client* client : {&stranger, &sameBrowser}) {
      SCOPED_TRACE(file + (client == &stranger ? " from another address" : " from the session's"));
      const auto fetched = client->Get("/cache/" + file);
      ASSERT_TRUE(fetched);
      EXPECT_EQ(fetched->status, 404);
      EXPECT_EQ(fetched->body.find("PK"), std::string::npos);
    }
  }
  // The session goes on after its export.
  EXPECT_TRUE(admin.post("querybutton"));
}

}  // namespace
}  // namespace zeziza::testing
