#pragma once

#include <filesystem>

namespace zeziza::store {

// Creates the tables of the live database with their initial settings rows.
void createDataSchema(const std::filesystem::path& file);
// Brings a live (or pristine) database made by an older version up to the current schema.
void migrateDataSchema(const std::filesystem::path& file);
// Creates the scratch database of cloud publishing.
void createTempSchema(const std::filesystem::path& file);
// Remakes the scratch table of an older version, whose student numbers were numbers (so 0101
// read as 101); it holds nothing that outlives a preparation.
void migrateTempSchema(const std::filesystem::path& file);

}  // namespace zeziza::store
