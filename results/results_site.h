#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "auth/password_hasher.h"
#include "cloud/check_budget.h"
#include "cloud/throttle_table.h"
#include "results/connection_pool.h"
#include "results/cookie_key.h"
#include "results/hash_pool.h"
#include "results/page_frame.h"
#include "results/school_pages.h"
#include "results/sign_in_cookie.h"
#include "web/http_types.h"

namespace zeziza::results {

struct SiteSettings {
  // The reverse proxy whose X-Forwarded-For and X-Forwarded-Proto are believed; empty: none.
  std::string trustedProxy;
  std::chrono::seconds signInLifetime{30 * 60};
  cloud::ThrottleRule signInRule{};
  // Registrations from one address: a few, then hours apart.
  cloud::ThrottleRule registrationRule{3, std::chrono::minutes(10), std::chrono::hours(24),
                                       std::chrono::hours(24)};
  // Password checks of one account (the school or a student) from all addresses together.
  cloud::CheckBudgetRule checkBudget{};
  unsigned hashSlots =
      0;  // argon2id computations at once, each on a thread of its own; 0: one per core
};

// The results site: registration, the result page of a school for its students and for the
// school itself. Keeps no state between requests beyond its connection pools, so any number
// of instances may serve the same site.
class ResultsSite {
 public:
  // `reads` may be the same pool as `primary`, or one of a streaming replica.
  ResultsSite(ConnectionPool& primary, ConnectionPool& reads, const CookieKey& key,
              SiteSettings settings = {});

  web::HttpResponse handle(const web::HttpRequest& request);

 private:
  struct Context {
    const web::HttpRequest& request;
    std::string address;  // the client's, for throttling
    bool tls = false;
    std::string value(std::string_view name) const { return request.form.value(name); }
  };

  web::HttpResponse route(const web::HttpRequest& request);
  web::HttpResponse registration(const Context& context);
  web::HttpResponse resultPage(const Context& context, std::int64_t school);
  web::HttpResponse resultAction(const Context& context, std::int64_t school);
  web::HttpResponse studentSignIn(const Context& context, std::int64_t school);
  web::HttpResponse schoolSignIn(const Context& context, std::int64_t school);
  web::HttpResponse passwordChange(const Context& context, std::int64_t school);
  web::HttpResponse signOut(const Context& context, std::int64_t school);
  // A student signed in with a first password chooses their own.
  web::HttpResponse firstPasswordChoice(const Context& context, std::int64_t school);
  // The school gives a student a new random first password, shown once.
  web::HttpResponse passwordReset(const Context& context, std::int64_t school);
  // The signed-in page, read through `pool`; nullopt when the password the sign-in was made
  // with has changed since, the sign-in was signed out, or the account or student is gone.
  std::optional<web::HttpResponse> showSignedIn(const Context& context, std::int64_t school,
                                                const SignIn& signIn, const Notice& notice,
                                                ConnectionPool& pool,
                                                std::optional<IssuedPassword> issued = {});
  // A student's page in one statement; nullopt as for showSignedIn.
  std::optional<web::HttpResponse> studentView(const Context& context, std::int64_t school,
                                               const SignIn& signIn, const Notice& notice,
                                               ConnectionPool& pool) const;
  // The request's sign-in cookie for `school`, signature and expiry checked.
  std::optional<SignIn> cookieSignIn(const Context& context, std::int64_t school) const;
  std::string signInCookie(const Context& context, const SignIn& signIn) const;
  // Counts a password check under the address's throttle key and books it under the account's
  // budget key, waiting for its turn; nullopt when the check may be made now. Otherwise the
  // address's wait after its failures, or zero when the account's budget is booked up.
  std::optional<std::chrono::seconds> admitCheck(const std::string& address,
                                                 const std::string& account);
  // Password hashes, computed on the hash pool's threads.
  bool verifyPassword(const std::string& stored, const std::string& password);
  void spendVerification(const std::string& password);
  std::string hashPassword(const std::string& password);
  SignIn newSignIn(SignIn::Role role, std::int64_t school, std::string student,
                   const std::string& passwordHash, std::int64_t epoch) const;

  ConnectionPool& primary_;
  ConnectionPool& reads_;
  CookieKey key_;
  SiteSettings settings_;
  auth::PasswordHasher hasher_;
  HashPool hashPool_;
  cloud::ThrottleTable signInThrottle_;
  cloud::ThrottleTable registrationThrottle_;
  cloud::CheckBudget checkBudget_;
};

}  // namespace zeziza::results
