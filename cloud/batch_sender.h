#pragma once

#include <cstddef>
#include <functional>
#include <future>
#include <string>
#include <unordered_map>
#include <vector>

#include "cloud/pg.h"

namespace zeziza::cloud {

class Progress;

// The rows of one upsert statement: a table, its columns, the key columns it finds rows by.
struct UpsertShape {
  std::string table;
  std::vector<std::string> columns;  // the key columns first
  std::size_t keyColumns = 0;
  // With `keepExisting`, columns the update leaves alone (the password of a known student).
  std::vector<std::string> keepExisting;
};

// Collects rows of several upserts and sends each batch in one transaction: per table, the
// rows go by COPY into the service's staging table, then the service's zeziza_merge merges
// them for the account (a school's role may do no more). A row whose key is already pending
// replaces it, since one statement may touch a row only once. A full batch is sent on a thread of
// its own while the next one is collected, so the service's work and ours overlap; at most one
// batch is on its way. A failure rolls that batch back and is rethrown by the next add() or
// flush(); what earlier batches sent stays, and sending the same rows again updates them.
class BatchSender {
 public:
  // `rowsPerBatch` 1 sends every row on its own round trip (for comparison; the tables' owner
  // only). The rows are the account's.
  BatchSender(pg::Connection& connection, Progress& progress, std::size_t rowsPerBatch,
              std::int64_t account);
  // Waits for the batch on its way.
  ~BatchSender();
  BatchSender(const BatchSender&) = delete;
  BatchSender& operator=(const BatchSender&) = delete;

  // Registers a statement kind; returns its handle for add().
  std::size_t shape(UpsertShape shape);
  // Queues a row (values in the shape's column order); sends the batch when it is full.
  void add(std::size_t shape, std::vector<pg::Param> values);
  // Work that must commit with the last rows (or alone when none are pending).
  using Closing = std::function<void(pg::Connection&)>;
  // Sends what is pending and returns once every row is committed; `closing` runs in the
  // transaction of the last batch.
  void flush(Closing closing = {});
  std::size_t pendingRows() const { return pending_; }
  // Rows of committed batches.
  std::size_t sentRows() const { return sent_; }

 private:
  struct Pending {
    UpsertShape shape;
    std::string sqlHead;
    std::string sqlTail;
    std::string copySql;
    std::vector<std::vector<pg::Param>> rows;
    std::unordered_map<std::string, std::size_t> byKey;
  };
  using Rows = std::vector<std::vector<pg::Param>>;
  // Waits for the batch on its way, then sends the pending rows on their way.
  void launch(Closing closing = {});
  // Waits for the batch on its way and counts its rows; rethrows its failure.
  void awaitSent();
  void send(const Pending& pending, Rows& rows);
  // On the sending thread: every shape's rows by COPY and merge, in one transaction.
  void sendBatch(std::vector<Rows>& batch, const Closing& closing);
  void copy(std::size_t shape, const Rows& rows);

  pg::Connection& connection_;
  Progress& progress_;
  std::size_t rowsPerBatch_;
  std::string account_;
  std::vector<Pending> shapes_;
  std::size_t pending_ = 0;
  std::size_t sent_ = 0;
  std::size_t inFlightRows_ = 0;
  std::future<void> inFlight_;
};

}  // namespace zeziza::cloud
