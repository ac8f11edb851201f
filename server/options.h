// The command line of pondaro-scores.
#pragma once
#include <string>
#include <vector>

#include "http_server.h"
#include "persist/score_service.h"
#include "service.h"
#include "verifier.h"

namespace pondaro::scores {

// The HTTP front's defaults: the replay upload is the one route with a body.
inline HttpOptions DefaultHttp() {
  HttpOptions h;
  h.bodies = {{"POST", kReplayPath, kMaxReplayUpload}};
  return h;
}

struct Options {
  std::string address = "127.0.0.1";
  int port = 8765;  // the game's default service address
  std::string database = "pondaro-scores.db";
  std::string postgres;  // a libpq connection string; empty: SQLite
  int pool = 4;
  int dbTimeout = 3;        // seconds; PostgreSQL
  std::string secretFile;   // empty: beside the SQLite database
  HttpOptions http = DefaultHttp();
  ServiceOptions service;
  VerifyOptions verify;  // gameData empty: DefaultGameData()
  bool help = false;
  bool version = false;
};

// False with `error` set on an unknown option or a bad value.
bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error);
std::string HelpText();
// The service's own copy of the game's data: installed beside the program
// (share/pondaro-scores), or in the program's own folder (the build's server/).
std::string DefaultGameData();

}  // namespace pondaro::scores
