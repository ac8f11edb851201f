// pondaro-scores-shot OUTDIR: screenshots of the service's pages in headless
// Chromium, from a database seeded with a plausible table, most of it verified:
// the table on a desktop and on a phone, all scores, and the home page.
#include <sys/stat.h>

#include <cstdio>
#include <random>
#include <thread>

#include "http_server.h"
#include "testing/chromium.h"

using namespace pondaro::scores;
using namespace pondaro::scores::testing;

namespace {

std::vector<StoredScore> Plausible() {
  const char* names[] = {"FROGGY", "Lily", "TADPOLE", "Kvak", "BOB", "Mira", "POND4EVER", "Zoe", "JUMPER", "Anouk",
                         "Ribbit", "GRETA", "Max", "Nenuphar", "Hopper", "IDA", "Tom", "Wanda", "Flyeater", "Kim"};
  const char* countries[] = {"Germany", "", "Canada", "Ukraine", "UK", "Spain", "", "NZ", "USA", "NL"};
  std::mt19937 rng(2024);
  std::vector<StoredScore> out;
  for (int i = 0; i < 40; ++i) {
    // Most players near a few thousand points, a few far ahead.
    const int64_t score = 5 * static_cast<int64_t>(200 + rng() % 1400 + (i < 4 ? 4000 + rng() % 6000 : 0));
    out.push_back({names[i % 20], countries[(i * 7) % 10], score, 1'717'000'000 + static_cast<int64_t>(rng() % 8'000'000)});
  }
  out[3].name = "<b>x";  // a stored name with markup stays text
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: pondaro-scores-shot OUTDIR\n");
    return 2;
  }
  const std::string out = argv[1];
  mkdir(out.c_str(), 0755);
  TempDir dir;
  auto storage = OpenSqlite(dir / "shot.db");
  storage->Insert(Plausible());
  // Marked as a re-played replay marks them: all but every fourth.
  for (const ListedScore& s : storage->List(100))
    if (s.id % 4 != 0) storage->SetReplayState(s.id, ReplayState::Verified, "");
  ServiceOptions options;
  options.quiet = true;
  ScoreService service(*storage, options);
  HttpServer server(service, HttpOptions{});
  const int port = server.Bind("127.0.0.1", 0);
  if (port < 0) {
    std::fprintf(stderr, "pondaro-scores-shot: cannot listen on 127.0.0.1\n");
    return 1;
  }
  std::thread serving([&] { server.Run(); });
  int status = 0;
  std::string reason;
  if (auto chromium = Chromium::Start(reason)) {
    const std::string base = "http://127.0.0.1:" + std::to_string(port);
    const std::string table = base + "/cgi/version.pl?prg=Pondaro&type=0&show";
    struct Shot {
      std::string url, file;
      int width, height;
      bool mobile;
    };
    for (const Shot& s : {Shot{table, "scores_table.png", 1280, 900, false},
                          Shot{table, "scores_table_phone.png", 390, 844, true},
                          Shot{table + "&all", "scores_all.png", 1280, 900, false},
                          Shot{table + "&all", "scores_all_phone.png", 320, 640, true},
                          Shot{base + "/", "scores_home.png", 1280, 720, false}}) {
      try {
        chromium->Open(s.url, s.width, s.height, s.mobile);
        WriteFile(out + "/" + s.file, chromium->Screenshot());
        std::printf("wrote %s/%s\n", out.c_str(), s.file.c_str());
      } catch (const std::exception& e) {
        std::fprintf(stderr, "pondaro-scores-shot: %s: %s\n", s.file.c_str(), e.what());
        status = 1;
      }
    }
  } else {
    std::fprintf(stderr, "pondaro-scores-shot: %s\n", reason.c_str());
    status = 1;
  }
  server.Stop();
  serving.join();
  return status;
}
