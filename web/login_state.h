#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "store/scope.h"
#include "store/subject_columns.h"

namespace zeziza::web {

// Who signed in and what the office had set for them then: empty until a login fills it,
// kept across sign-out (the next login fills it afresh).
struct LoginState {
  std::string userName;
  std::optional<int> rights;  // the user's rights code
  // Where the account may look and enter scores: a class teacher's one class; all for the
  // other codes. Read at sign-in with the rights stamp, which ends the session when it changes.
  store::Scope permitted;
  std::vector<std::string> exams;
  std::vector<std::string> grades;
  std::vector<store::SubjectColumn> subjects;  // as configured at sign-in
  std::string workMode;
  std::string defaultExam;
  std::string footerText;
  // The account (id, password, rights and place) as read at sign-in (store::rightsStamp), and
  // the accounts version it was last found unchanged at.
  std::string rightsStamp;
  std::uint64_t accountsChecked = 0;
  // The office settings version the exams, default exam, subjects and work mode were read at.
  std::uint64_t officeRead = 0;

  bool signedIn() const { return !userName.empty(); }
};

}  // namespace zeziza::web
