#pragma once

#include "Connection.h"

#include <string>

namespace hist {

// Loads one tab-separated file into its table in one statement. With dropKeys the
// secondary keys are dropped first and built again afterwards, each by one sort,
// instead of being kept up row by row.
bool loadFile(Connection& db, const std::string& table, const std::string& columns, const std::string& path,
              bool dropKeys, std::string& error);

}  // namespace hist
