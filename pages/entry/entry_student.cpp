#include "pages/entry/entry_student.h"

#include "store/query.h"

namespace zeziza::pages::entry {

std::optional<Student> findStudent(store::Query& query, std::string_view number) {
  query.open("select bh,id,xm,xx,nj,bj from ks where id=?", {store::Value(number)});
  if (query.eof()) return std::nullopt;
  return Student{query.field("bh").asInt(),  query.field("id").asText(),
                 query.field("xm").asText(), query.field("xx").asText(),
                 query.field("nj").asText(), query.field("bj").asText()};
}

Place accountPlace(store::Query& query, std::string_view user) {
  query.open("select xx,nj,bc from yh where user=?", {store::Value(user)});
  if (query.eof()) return {};
  return {query.field("xx").asText(), query.field("nj").asText(), query.field("bc").asText()};
}

bool EntryScope::admits(const Student& student) const {
  return (!unit || *unit == student.unit) && (!grade || *grade == student.grade) &&
         (!cls || *cls == student.cls);
}

}  // namespace zeziza::pages::entry
