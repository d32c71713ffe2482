#pragma once

#include <cstddef>
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
// rows go by COPY into a temporary staging table, then one INSERT … SELECT … ON CONFLICT … DO
// UPDATE merges them. A row whose key is already pending replaces it, since one statement may
// touch a row only once. A failure rolls the batch back and rethrows; what earlier batches sent
// stays, and sending the same rows again updates them.
class BatchSender {
 public:
  // `rowsPerBatch` 1 sends every row on its own round trip (for comparison).
  BatchSender(pg::Connection& connection, Progress& progress, std::size_t rowsPerBatch);

  // Registers a statement kind; returns its handle for add().
  std::size_t shape(UpsertShape shape);
  // Queues a row (values in the shape's column order); sends the batch when it is full.
  void add(std::size_t shape, std::vector<pg::Param> values);
  // Sends what is pending.
  void flush();
  std::size_t pendingRows() const { return pending_; }
  std::size_t sentRows() const { return sent_; }

 private:
  struct Pending {
    UpsertShape shape;
    std::string sqlHead;
    std::string sqlTail;
    std::string copySql;
    std::string createStage;
    std::string merge;
    bool staged = false;  // the staging table exists on this connection
    std::vector<std::vector<pg::Param>> rows;
    std::unordered_map<std::string, std::size_t> byKey;
  };
  void send(Pending& pending);
  void copy(Pending& pending);

  pg::Connection& connection_;
  Progress& progress_;
  std::size_t rowsPerBatch_;
  std::vector<Pending> shapes_;
  std::size_t pending_ = 0;
  std::size_t sent_ = 0;
};

}  // namespace zeziza::cloud
