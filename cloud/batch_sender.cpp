#include "cloud/batch_sender.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "cloud/progress.h"

namespace zeziza::cloud {

namespace {

std::string join(const std::vector<std::string>& items, const std::string& separator,
                 const std::string& prefix = "") {
  std::string out;
  for (const auto& item : items) {
    if (!out.empty()) out += separator;
    out += prefix + item;
  }
  return out;
}

std::string keyOf(const std::vector<pg::Param>& values, std::size_t keyColumns) {
  std::string key;
  for (std::size_t i = 0; i < keyColumns; ++i) key += values[i].value_or("\x01") + '\x1f';
  return key;
}

}  // namespace

BatchSender::BatchSender(pg::Connection& connection, Progress& progress, std::size_t rowsPerBatch,
                         std::int64_t account)
    : connection_(connection),
      progress_(progress),
      rowsPerBatch_(std::max<std::size_t>(1, rowsPerBatch)),
      account_(std::to_string(account)) {}

BatchSender::~BatchSender() {
  // Reached without a flush only while an earlier failure unwinds; that one is reported.
  if (inFlight_.valid()) inFlight_.wait();
}

std::size_t BatchSender::shape(UpsertShape shape) {
  awaitSent();  // the sending thread reads the shapes
  Pending pending;
  const auto& columns = shape.columns;
  pending.sqlHead = "INSERT INTO " + shape.table + " (" + join(columns, ",") + ") VALUES ";
  const std::vector<std::string> keys(columns.begin(), columns.begin() + shape.keyColumns);
  std::vector<std::string> updates;
  for (std::size_t i = shape.keyColumns; i < columns.size(); ++i) {
    const auto& c = columns[i];
    if (std::find(shape.keepExisting.begin(), shape.keepExisting.end(), c) !=
        shape.keepExisting.end()) {
      continue;
    }
    updates.push_back(c + "=EXCLUDED." + c);
  }
  pending.sqlTail = " ON CONFLICT (" + join(keys, ",") + ") DO UPDATE SET " + join(updates, ",");
  pending.copySql = "COPY stage_" + shape.table + " (" + join(columns, ",") + ") FROM STDIN";
  pending.shape = std::move(shape);
  shapes_.push_back(std::move(pending));
  return shapes_.size() - 1;
}

void BatchSender::add(std::size_t shape, std::vector<pg::Param> values) {
  Pending& pending = shapes_.at(shape);
  if (values.size() != pending.shape.columns.size()) {
    throw std::logic_error("row does not fit " + pending.shape.table);
  }
  const std::string key = keyOf(values, pending.shape.keyColumns);
  const auto [it, added] = pending.byKey.emplace(key, pending.rows.size());
  if (added) {
    pending.rows.push_back(std::move(values));
    ++pending_;
  } else {
    pending.rows[it->second] = std::move(values);
  }
  if (pending.rows.size() >= rowsPerBatch_) launch();
}

void BatchSender::send(const Pending& pending, Rows& rows) {
  if (rows.empty()) return;
  std::string sql = pending.sqlHead;
  std::vector<pg::Param> params;
  const std::size_t width = pending.shape.columns.size();
  params.reserve(rows.size() * width);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    sql += r == 0 ? "(" : ",(";
    for (std::size_t c = 0; c < width; ++c) {
      sql += (c == 0 ? "$" : ",$") + std::to_string(params.size() + 1);
      params.push_back(std::move(rows[r][c]));
    }
    sql += ")";
  }
  connection_.exec(sql + pending.sqlTail, params);
}

void BatchSender::copy(std::size_t shape, const Rows& rows) {
  if (rows.empty()) return;
  const Pending& pending = shapes_[shape];
  std::string data;
  for (const auto& row : rows) {
    for (std::size_t c = 0; c < row.size(); ++c) {
      if (c > 0) data += '\t';
      pg::copyField(data, row[c]);
    }
    data += '\n';
  }
  connection_.copyIn(pending.copySql, data);
  connection_.exec("SELECT zeziza_merge($1, $2)", {pending.shape.table, account_});
}

void BatchSender::sendBatch(std::vector<Rows>& batch, const Closing& closing) {
  pg::Transaction transaction(connection_);
  for (std::size_t i = 0; i < batch.size(); ++i) copy(i, batch[i]);
  if (closing) closing(connection_);
  transaction.commit();
}

void BatchSender::awaitSent() {
  if (!inFlight_.valid()) return;
  const std::size_t rows = std::exchange(inFlightRows_, 0);
  inFlight_.get();
  progress_.addSent(rows);
  sent_ += rows;
}

void BatchSender::launch(Closing closing) {
  awaitSent();
  if (pending_ == 0) {
    if (closing) {
      pg::Transaction transaction(connection_);
      closing(connection_);
      transaction.commit();
    }
    return;
  }
  progress_.checkpoint();
  std::vector<Rows> batch(shapes_.size());
  for (std::size_t i = 0; i < shapes_.size(); ++i) {
    batch[i] = std::move(shapes_[i].rows);
    shapes_[i].rows.clear();
    shapes_[i].byKey.clear();
  }
  if (rowsPerBatch_ == 1) {  // one statement a row, each atomic by itself, on this thread
    for (std::size_t i = 0; i < batch.size(); ++i) send(shapes_[i], batch[i]);
    progress_.addSent(pending_);
    sent_ += std::exchange(pending_, 0);
    if (closing) launch(std::move(closing));
    return;
  }
  inFlightRows_ = std::exchange(pending_, 0);
  inFlight_ = std::async(std::launch::async,
                         [this, batch = std::move(batch), closing = std::move(closing)]() mutable {
                           sendBatch(batch, closing);
                         });
}

void BatchSender::flush(Closing closing) {
  launch(std::move(closing));
  awaitSent();
}

}  // namespace zeziza::cloud
