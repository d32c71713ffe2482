// A roster paste of 100,000 lines on the real server while a teacher saves scores: the paste is
// one job of the writer, a batch of students per statement, so the saves queued behind it are
// answered soon after. The figures are printed; only success is asserted.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "store/database.h"
#include "store/statement.h"
#include "tests/support/entry_school.h"
#include "tests/support/http_browser.h"
#include "tests/support/temp_folder.h"

namespace zeziza::testing {
namespace {

constexpr int kPastedStudents = 100000;

std::string serverBinary() {
  const char* bin = std::getenv("ZEZIZA_BIN");
  return bin ? bin : "";
}

long long studentsStored(const std::filesystem::path& dir) {
  store::Database db(dir / "data");
  store::Statement count(db, "select count(*) from ks");
  return count.step() ? count.column(0).asInt() : -1;
}

TEST(RosterPasteFault, AHundredThousandLinesLeaveATeachersSavesAnswered) {
  if (serverBinary().empty()) GTEST_SKIP() << "ZEZIZA_BIN is not set; run through ctest";
  TempFolder temp;
  prepareEntrySchool(temp.path(), 50);
  ServerProcess server(serverBinary(), temp.path());

  HttpBrowser admin(server.port(), 300);
  ASSERT_TRUE(admin.start());
  ASSERT_TRUE(admin.post("signinbutton", {{"usernameedit", "admin"}, {"passwordedit", "admin"}}));
  ASSERT_TRUE(admin.post("navigationbar.rosterlink"));
  ASSERT_TRUE(admin.post("addstudentslink"));
  ASSERT_NE(admin.page().find("id=\"addbutton\""), std::string::npos);
  std::string numbers;
  std::string names;
  for (int i = 0; i < kPastedStudents; ++i) {
    numbers += "P" + std::to_string(1000000 + i) + "\n";
    names += "新生" + std::to_string(i) + "\n";
  }

  HttpBrowser teacher(server.port(), 60);
  ASSERT_TRUE(teacher.start());
  ASSERT_TRUE(teacher.post("signinbutton", {{"usernameedit", "load"}, {"passwordedit", "load"}}));

  std::atomic<bool> pasted{false};
  long pasteMicros = 0;
  std::string pasteMessage;
  std::thread paste([&] {
    admin.post("addbutton", {{"addunitbox", "0"},
                             {"addgradebox", "0"},
                             {"addclassbox", "0"},
                             {"numbersmemo", numbers},
                             {"namesmemo", names}});
    pasteMicros = admin.lastLatencyMicros();
    pasteMessage = admin.messages();
    pasted = true;
  });
  // The teacher saves one score after another until the paste is answered.
  long slowestSave = 0;
  int saves = 0;
  int failedSaves = 0;
  for (int i = 0; !pasted || saves == 0; ++i) {
    const bool saved =
        teacher.post("directenterbutton", {{"directsubjectbox", "0"},
                                           {"numberprefixedit", ""},
                                           {"directnumberedit", entryStudentNumber(i % 50)},
                                           {"directscoreedit", std::to_string(50 + i % 40)}}) &&
        teacher.messages().empty();
    if (!saved) ++failedSaves;
    slowestSave = std::max(slowestSave, teacher.lastLatencyMicros());
    ++saves;
  }
  paste.join();

  EXPECT_EQ(pasteMessage, "\"已添加" + std::to_string(kPastedStudents) + "名学生\"");
  EXPECT_EQ(failedSaves, 0);
  EXPECT_EQ(studentsStored(temp.path()), 50 + kPastedStudents);
  std::printf("roster paste of %d lines answered in %.3f s; %d saves meanwhile, slowest %.3f s\n",
              kPastedStudents, pasteMicros / 1e6, saves, slowestSave / 1e6);
}

}  // namespace
}  // namespace zeziza::testing
