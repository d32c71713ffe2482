#pragma once

#include <string_view>

// The names of the results site's form fields and of the forms its result page takes (the
// value of field::kForm): the pages write them, the handlers read them.
namespace zeziza::results::field {

inline constexpr std::string_view kSchool = "dwid";  // the school of a result page address
inline constexpr std::string_view kForm = "op";
inline constexpr std::string_view kNotice = "msg";  // set after a password change
inline constexpr std::string_view kPasswordChanged = "pw";

// Registration.
inline constexpr std::string_view kSchoolName = "name";
inline constexpr std::string_view kPassword = "password";
inline constexpr std::string_view kPasswordAgain = "password2";

// Sign-ins and password changes.
inline constexpr std::string_view kStudent = "kh";  // 考号
inline constexpr std::string_view kStudentPassword = "mm";
inline constexpr std::string_view kAccountNumber = "bh";  // 注册编号
inline constexpr std::string_view kAccountPassword = "smm";
inline constexpr std::string_view kOldPassword = "old";
inline constexpr std::string_view kNewPassword = "new";
inline constexpr std::string_view kNewPasswordAgain = "new2";

// A field that takes a password being chosen, not one being proved.
constexpr bool choosesPassword(std::string_view name) {
  return name == kPassword || name == kPasswordAgain || name == kNewPassword ||
         name == kNewPasswordAgain;
}

}  // namespace zeziza::results::field

namespace zeziza::results::form {

inline constexpr std::string_view kStudentSignIn = "student";
inline constexpr std::string_view kSchoolSignIn = "school";
inline constexpr std::string_view kPasswordChange = "password";
inline constexpr std::string_view kFirstPassword = "firstpw";
inline constexpr std::string_view kPasswordReset = "reset";
inline constexpr std::string_view kSignOut = "signout";

}  // namespace zeziza::results::form
