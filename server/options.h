// The command line of pondaro-scores.
#pragma once
#include <string>
#include <vector>

#include "http_server.h"
#include "service.h"

namespace pondaro::scores {

struct Options {
  std::string address = "127.0.0.1";
  int port = 8765;  // the game's default service address
  std::string database = "pondaro-scores.db";
  std::string postgres;  // a libpq connection string; empty: SQLite
  int pool = 4;
  int dbTimeout = 3;        // seconds; PostgreSQL
  std::string secretFile;   // empty: beside the SQLite database
  HttpOptions http;
  ServiceOptions service;
  bool help = false;
  bool version = false;
};

// False with `error` set on an unknown option or a bad value.
bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error);
std::string HelpText();

}  // namespace pondaro::scores
