#pragma once

#include <cstddef>

#include "store/connection_pool.h"
#include "store/data_folder.h"
#include "store/writer.h"

namespace zeziza::store {

// The process's way into its databases: the one writer of `data`, and the connections of
// `data` and `temp` that requests borrow. The server owns one; sessions hold none of their own.
class SharedStore {
 public:
  explicit SharedStore(const DataFolder& folder, std::size_t readers = defaultPoolSize())
      : writer_(folder.data()),
        data_(folder.data(), readers, &writer_),
        temp_(folder.temp(), readers) {}

  Writer& writer() { return writer_; }
  ConnectionPool& data() { return data_; }
  ConnectionPool& temp() { return temp_; }

 private:
  Writer writer_;  // first: the pools' connections refer to it
  ConnectionPool data_;
  ConnectionPool temp_;
};

}  // namespace zeziza::store
