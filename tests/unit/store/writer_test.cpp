#include "store/writer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

#include "store/connection.h"
#include "store/data_folder.h"
#include "store/query.h"
#include "store/score_history.h"
#include "store/score_import.h"
#include "store/score_write.h"
#include "store/shared_store.h"
#include "store/statement.h"
#include "store/transaction.h"
#include "tests/support/temp_folder.h"

namespace zeziza::store {
namespace {

constexpr const char* kExam = "期中";

class WriterTest : public ::testing::Test {
 protected:
  WriterTest() {
    prepareDataFolder(folder);
    store.emplace(folder, 2);
    Database own(folder.data());
    for (int i = 1; i <= 60; ++i) {
      own.exec("insert into ks (id,xm,xx,nj,bj) values (?,?,?,?,?)",
               {Value("s" + std::to_string(i)), Value("学生"), Value("中心校区"), Value("七年级"),
                Value("一班")});
    }
  }

  // Keys of the students, in order of their numbers s1, s2, ...
  std::int64_t student(int number) {
    Database own(folder.data());
    Statement select(own, "select bh from ks where id=?");
    const Value id("s" + std::to_string(number));
    select.bindAll(std::span<const Value>(&id, 1));
    EXPECT_TRUE(select.step());
    return select.column(0).asInt();
  }
  std::optional<double> firstScore(std::int64_t key) {
    Database own(folder.data());
    Statement select(own, "select k1 from cj where test=?");
    const Value test(scoreKey(kExam, key));
    select.bindAll(std::span<const Value>(&test, 1));
    if (!select.step()) return std::nullopt;
    return select.column(0).asDouble();
  }
  ScoreWrite change(std::int64_t key, double value, bool clerk = false) {
    return {kExam, key, 1, value, 3, clerk, {"admin", "test"}};
  }
  // Queues `jobs` while the writer is held, so they are certain to share one batch.
  void runInOneBatch(const std::vector<std::function<void()>>& jobs) {
    std::vector<std::thread> threads;
    {
      const auto held = store->writer().exclusive();
      const std::size_t before = store->writer().submitted();
      for (const auto& job : jobs) threads.emplace_back(job);
      while (store->writer().submitted() < before + jobs.size()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
    }
    for (auto& t : threads) t.join();
  }

  testing::TempFolder temp;
  DataFolder folder{temp.path()};
  std::optional<SharedStore> store;
};

// Many writers at once share commits: every change is there afterwards, in fewer batches
// than writers.
TEST_F(WriterTest, ConcurrentWritersShareCommits) {
  constexpr int kWriters = 50;
  std::vector<std::int64_t> keys;
  for (int i = 1; i <= kWriters; ++i) keys.push_back(student(i));
  const std::size_t batchesBefore = store->writer().batches();
  std::vector<std::function<void()>> jobs;
  std::atomic<int> answered = 0;
  for (int i = 0; i < kWriters; ++i) {
    jobs.emplace_back([&, i] {
      Connection connection(store->data());
      const auto outcome =
          writeScore(connection.db(), change(keys[static_cast<std::size_t>(i)], 40 + i));
      if (outcome.result == ScoreWriteResult::Inserted) ++answered;
    });
  }
  runInOneBatch(jobs);
  EXPECT_EQ(answered, kWriters);
  EXPECT_LE(store->writer().batches() - batchesBefore, 2u);
  for (int i = 0; i < kWriters; ++i) {
    EXPECT_EQ(firstScore(keys[static_cast<std::size_t>(i)]), 40 + i) << i;
  }
}

// After a big batch the writer waits a moment for as many again; fewer, or one, still go
// through once that moment has passed.
TEST_F(WriterTest, AfterABigBatchFewerWritersAreStillAnswered) {
  std::vector<std::function<void()>> jobs;
  for (int i = 1; i <= 8; ++i) {
    jobs.emplace_back([&, key = student(i)] {
      Connection connection(store->data());
      writeScore(connection.db(), change(key, 70));
    });
  }
  runInOneBatch(jobs);
  runInOneBatch({jobs[0], jobs[1]});
  Connection connection(store->data());
  EXPECT_EQ(writeScore(connection.db(), change(student(9), 80)).result, ScoreWriteResult::Inserted);
  EXPECT_EQ(writeScore(connection.db(), change(student(9), 81)).result, ScoreWriteResult::Updated);
  EXPECT_EQ(firstScore(student(9)), 81);
}

// A change that fails its own checks fails alone: its neighbours in the batch are committed
// and nothing of it stays, its history included.
TEST_F(WriterTest, AFailingChangeLeavesItsBatchCommitted) {
  const std::int64_t before = student(1);
  const std::int64_t after = student(3);
  const std::int64_t refused = student(2);
  {
    Database own(folder.data());
    own.execScript("CREATE TRIGGER refuse BEFORE UPDATE ON cj WHEN new.kh = " +
                   std::to_string(refused) + " BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    writeScore(own, change(refused, 50));
  }
  struct Case {
    const char* what;
    std::function<void(Database&)> failing;
    std::function<void()> check;
  };
  const std::vector<Case> cases = {
      {"a unique key",
       [&](Database& db) {
         db.exec("insert into ks (id,xm,xx,nj,bj) values ('s1','重复','中心校区','七年级','一班')");
       },
       [&] {
         Database own(folder.data());
         Statement count(own, "select count(*) from ks where id='s1'");
         ASSERT_TRUE(count.step());
         EXPECT_EQ(count.column(0).asInt(), 1);
       }},
      {"a refused update after its history row",
       [&](Database& db) { writeScore(db, change(refused, 90)); },
       [&] {
         EXPECT_EQ(firstScore(refused), 50);
         Database own(folder.data());
         EXPECT_EQ(readScoreHistory(own, kExam, refused).size(), 1u);  // the first write only
       }},
      {"a vanished student in an import",
       [&](Database& db) {
         const std::vector<ImportLine> lines = {{"s4", 70}, {"gone", 80}};
         if (importScores(db, kExam, 1, 3, lines).vanished) throw std::runtime_error("vanished");
       },
       [&] { EXPECT_EQ(firstScore(student(4)), std::nullopt); }},
  };
  double value = 60;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    value += 1;
    std::atomic<int> failed = 0;
    runInOneBatch({
        [&] { writeScore(Connection(store->data()).db(), change(before, value)); },
        [&] {
          try {
            Connection connection(store->data());
            c.failing(connection.db());
          } catch (const std::exception&) {
            ++failed;
          }
        },
        [&] { writeScore(Connection(store->data()).db(), change(after, value)); },
    });
    EXPECT_EQ(failed, 1);
    EXPECT_EQ(firstScore(before), value);
    EXPECT_EQ(firstScore(after), value);
    c.check();
  }
}

// A clerk's refused change is an answer, not a failure, and writes nothing.
TEST_F(WriterTest, TheAnswerIsTheChangesOwn) {
  const std::int64_t key = student(5);
  Connection connection(store->data());
  EXPECT_EQ(writeScore(connection.db(), change(key, 80)).result, ScoreWriteResult::Inserted);
  EXPECT_EQ(writeScore(connection.db(), change(key, 70, true)).result,
            ScoreWriteResult::KeptExisting);
  EXPECT_EQ(firstScore(key), 80);
  EXPECT_THROW(writeScore(connection.db(), {kExam, key, 4, 1, 3, false, {}}),
               std::invalid_argument);
}

// Autocommit changes on a borrowed connection go through the writer; a transaction of the
// borrowed connection keeps the writer out until it ends, and readers see the last commit.
TEST_F(WriterTest, BorrowedConnectionsWriteThroughTheWriter) {
  Connection a(store->data());
  Connection b(store->data());
  const std::size_t before = store->writer().submitted();
  EXPECT_EQ(a.db().exec("update ks set xm='改' where id='s6'"), 1);
  EXPECT_EQ(store->writer().submitted(), before + 1);
  a.db().exec("select count(*) from ks");  // a read stays here
  EXPECT_EQ(store->writer().submitted(), before + 1);

  std::optional<ScoreWriteOutcome> queued;
  std::thread writer;
  {
    Transaction transaction(a.db());
    a.db().exec("update ks set xm='事务' where id='s7'");
    EXPECT_EQ(store->writer().submitted(), before + 1);  // inside the transaction: here
    const std::int64_t key = student(8);
    writer = std::thread([&, key] {  // both pooled connections are lent: straight to the writer
      queued =
          store->writer().run([&, key](Database& db) { return applyScore(db, change(key, 88)); });
    });
    Query read(b);
    read.open("select xm from ks where id='s7'");  // does not wait for the open transaction
    EXPECT_EQ(read.field("xm").asText(), "学生");
    transaction.commit();
  }
  writer.join();
  ASSERT_TRUE(queued);
  EXPECT_EQ(queued->result, ScoreWriteResult::Inserted);
  Query read(b);
  read.open("select xm from ks where id in ('s6','s7') order by id");
  EXPECT_EQ(read.fieldAt(0, 0).asText(), "改");
  EXPECT_EQ(read.fieldAt(1, 0).asText(), "事务");
}

TEST_F(WriterTest, QueuedWorkIsDoneBeforeTheWriterStops) {
  const std::int64_t key = student(9);
  std::thread late;
  {
    const auto held = store->writer().exclusive();
    late = std::thread([&] { writeScore(Connection(store->data()).db(), change(key, 77)); });
    while (store->writer().submitted() == 0)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  late.join();
  store.reset();
  EXPECT_EQ(firstScore(key), 77);
}

class ConnectionPoolTest : public ::testing::TestWithParam<std::size_t> {
 protected:
  ConnectionPoolTest() { prepareDataFolder(folder); }
  testing::TempFolder temp;
  DataFolder folder{temp.path()};
};

// The pool opens no more than its size and lends the same connections again.
TEST_P(ConnectionPoolTest, LendsAtMostItsSizeAndReusesConnections) {
  ConnectionPool pool(folder.data(), GetParam());
  std::set<Database*> first;
  {
    std::vector<ConnectionPool::Lease> leases;
    for (std::size_t i = 0; i < GetParam(); ++i) {
      leases.push_back(pool.take());
      first.insert(&leases.back().db());
    }
    EXPECT_EQ(first.size(), GetParam());
    EXPECT_EQ(pool.lent(), GetParam());
    // One more borrower waits until a connection comes back.
    std::atomic<Database*> got = nullptr;
    std::thread waiting([&] { got = &pool.take().db(); });
    leases.pop_back();
    waiting.join();
    EXPECT_TRUE(first.contains(got.load()));
  }
  EXPECT_EQ(pool.lent(), 0u);
  std::vector<ConnectionPool::Lease> again;
  for (std::size_t i = 0; i < GetParam(); ++i) {
    again.push_back(pool.take());
    EXPECT_TRUE(first.contains(&again.back().db()));
  }
}

// A connection given back in the middle of a transaction is rolled back before it is lent.
TEST_P(ConnectionPoolTest, AConnectionComesBackWithoutItsTransaction) {
  ConnectionPool pool(folder.data(), GetParam());
  {
    auto lease = pool.take();
    lease.db().execScript("BEGIN; insert into ks (id,xm,xx,nj,bj) values ('x','x','x','x','x')");
  }
  std::vector<ConnectionPool::Lease> all;
  for (std::size_t i = 0; i < GetParam(); ++i) {
    all.push_back(pool.take());
    EXPECT_FALSE(all.back().db().inTransaction());
  }
  Statement count(all.front().db(), "select count(*) from ks where id='x'");
  ASSERT_TRUE(count.step());
  EXPECT_EQ(count.column(0).asInt(), 0);
}

// A pooled session connection holds its lease only until close().
TEST_P(ConnectionPoolTest, ASessionConnectionGivesItsLeaseBack) {
  ConnectionPool pool(folder.data(), GetParam());
  Connection connection(pool);
  Query query(connection);
  query.open("select count(*) as n from ks");
  EXPECT_EQ(pool.lent(), 1u);
  connection.close();
  EXPECT_EQ(pool.lent(), 0u);
  EXPECT_EQ(query.field("n").asInt(), 0);  // the rows stay with the query
}

INSTANTIATE_TEST_SUITE_P(Sizes, ConnectionPoolTest, ::testing::Values(1u, 2u, 4u));

}  // namespace
}  // namespace zeziza::store
