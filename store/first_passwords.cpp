#include "store/first_passwords.h"

#include "store/database.h"
#include "store/statement.h"
#include "store/transaction.h"

namespace zeziza::store {

void keepFirstPasswords(Database& db, std::int64_t account,
                        const std::vector<FirstPassword>& passwords) {
  Transaction transaction(db);
  for (const auto& p : passwords) {
    db.exec(
        "insert into first_password (account, student, password, given_at) "
        "values (?, ?, ?, strftime('%Y-%m-%d %H:%M:%f', 'now')) "
        "on conflict (account, student) do update set password = excluded.password, "
        "given_at = excluded.given_at",
        {Value(account), Value(p.student), Value(p.password)});
  }
  transaction.commit();
}

std::vector<PasswordSlip> readPasswordSlips(Database& db, const std::string& unit,
                                            const std::string& grade, const std::string& cls) {
  Statement slips(db,
                  "select k.xx, k.nj, k.bj, k.xm, k.id, f.account, f.password "
                  "from ks k join first_password f on f.student = k.id "
                  "where (?1 = '' or k.xx = ?1) and (?2 = '' or k.nj = ?2) "
                  "and (?3 = '' or k.bj = ?3) "
                  // One slip a student: the newest password, and of two given within the
                  // same millisecond the one stored last.
                  "and f.rowid = (select g.rowid from first_password g where g.student = k.id "
                  "order by g.given_at desc, g.rowid desc limit 1) "
                  "order by k.xx, k.nj, k.bj, k.bh");
  const Value params[] = {Value(unit), Value(grade), Value(cls)};
  slips.bindAll(params);
  std::vector<PasswordSlip> out;
  while (slips.step()) {
    out.push_back({slips.column(0).asText(), slips.column(1).asText(), slips.column(2).asText(),
                   slips.column(3).asText(), slips.column(4).asText(), slips.columnInt(5),
                   slips.column(6).asText()});
  }
  return out;
}

}  // namespace zeziza::store
