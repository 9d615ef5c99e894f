#pragma once

#include <cstdint>
#include <string>

class Database;

namespace schema {

// Creates the tables that are missing; existing data stays.
void create(Database& db);

// Removes every account, message, contact and group (the request log stays).
void clearData(Database& db);

// The next value of a named counter: one more than the last one given, and never below floor.
std::int64_t nextCounterValue(Database& db, const std::string& name, std::int64_t floor);

// Removes every entry of the request log and restarts its numbering.
void clearRequestLog(Database& db);

} // namespace schema
