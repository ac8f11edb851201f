// pondaro-scores: the score service of the game. See --help.
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <thread>

#include "admin.h"
#include "options.h"
#include "sender.h"

using namespace pondaro::scores;

namespace {

// Every connection is a descriptor: take all the system allows, and accept no
// more connections than fit in it.
void FitConnections(HttpOptions& http) {
  rlimit files{};
  if (getrlimit(RLIMIT_NOFILE, &files) != 0) return;
  files.rlim_cur = files.rlim_max;
  setrlimit(RLIMIT_NOFILE, &files);
  getrlimit(RLIMIT_NOFILE, &files);
  // The database, the logs and the library's own descriptors.
  const rlim_t room = files.rlim_cur > 64 ? files.rlim_cur - 64 : 1;
  if (static_cast<rlim_t>(http.maxConnections) > room) {
    std::fprintf(stderr, "pondaro-scores: %d connections do not fit in %llu open files; serving %llu at most\n",
                 http.maxConnections, static_cast<unsigned long long>(files.rlim_cur),
                 static_cast<unsigned long long>(room));
    http.maxConnections = static_cast<int>(room);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "admin")
    return RunAdmin(std::vector<std::string>(argv + 2, argv + argc), std::cout, std::cerr);
  Options options;
  std::string error;
  if (!ParseOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
    std::fprintf(stderr, "pondaro-scores: %s\nTry pondaro-scores --help\n", error.c_str());
    return 2;
  }
  if (options.help) {
    std::fputs(HelpText().c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::puts("pondaro-scores " PONDARO_VERSION);
    return 0;
  }

  // Only the waiting thread below takes SIGINT and SIGTERM; it stops the server,
  // which lets the requests in flight finish.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  if (!options.postgres.empty() && options.secretFile.empty()) {
    std::fprintf(stderr, "pondaro-scores: --postgres needs --secret-file FILE, the same file for every instance\n");
    return 2;
  }
  FitConnections(options.http);
  std::unique_ptr<Storage> storage;
  try {
    storage = options.postgres.empty() ? OpenSqlite(options.database)
                                       : OpenPostgres(options.postgres, options.pool, options.dbTimeout);
    options.service.secret =
        LoadOrCreateSecret(options.secretFile.empty() ? SecretBeside(options.database) : options.secretFile);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "pondaro-scores: %s\n", e.what());
    return 1;
  }
  ScoreService service(*storage, options.service);
  HttpServer server(service, options.http);
  const int port = server.Bind(options.address, options.port);
  if (port < 0) {
    std::fprintf(stderr, "pondaro-scores: cannot listen on %s port %d (in use, or not an address of this machine)\n",
                 options.address.c_str(), options.port);
    return 1;
  }
  const std::string host = options.address.find(':') != std::string::npos ? "[" + options.address + "]" : options.address;
  std::printf("pondaro-scores: serving http://%s:%d/ from %s\n", host.c_str(), port, storage->Describe().c_str());
  std::printf("pondaro-scores: the table is http://%s:%d/cgi/version.pl?prg=Pondaro&type=0&show\n", host.c_str(), port);
  std::fflush(stdout);

  std::thread stopper([&] {
    int signal = 0;
    sigwait(&stopSignals, &signal);
    server.Stop();
  });
  const bool ran = server.Run();
  // Wake the waiting thread when the server ended by itself.
  kill(getpid(), SIGTERM);
  stopper.join();
  if (!ran) {
    std::fprintf(stderr, "pondaro-scores: the server stopped unexpectedly\n");
    return 1;
  }
  std::fprintf(stderr, "pondaro-scores: stopped\n");
  return 0;
}
