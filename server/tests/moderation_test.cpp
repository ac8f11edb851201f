// The operator's moderation (pondaro-scores admin) on each backend, and what the
// service then refuses.
#include <gtest/gtest.h>

#include <sstream>

#include "admin.h"
#include "fixtures.h"
#include "sender.h"

namespace pondaro::scores::test {
namespace {

class Moderation : public OnEachBackend {
 protected:
  void SetUp() override {
    OnEachBackend::SetUp();
    if (IsSkipped()) return;
    ServiceOptions o;
    o.quiet = true;
    o.ratePerMinute = 0;
    o.secret = LoadOrCreateSecret(secretFile);
    service = std::make_unique<ScoreService>(*storage, o, clock.Fn());
  }

  int Send(const std::string& address, const std::string& name, int64_t score) {
    const std::string token = TokenOf(service->Handle(Get("prg=Pondaro", address)));
    return service->Handle(Get(SubmissionQuery(name, score, token), address)).status;
  }

  // pondaro-scores admin with this database; its output.
  std::string Admin(std::vector<std::string> args, int expected = 0) {
    std::vector<std::string> all = {GetParam() == Backend::Sqlite ? "--database" : "--postgres", db->Connection(),
                                    "--secret-file", secretFile};
    all.insert(all.end(), args.begin(), args.end());
    std::ostringstream out, err;
    EXPECT_EQ(RunAdmin(all, out, err), expected) << args[0] << ": " << err.str();
    return out.str() + err.str();
  }

  int64_t IdOf(const std::string& name) {
    for (const ListedScore& s : storage->List(100))
      if (s.score.name == name) return s.id;
    return 0;
  }

  TempDir dir;
  std::string secretFile = dir / "secret";
  TestClock clock;
  std::unique_ptr<ScoreService> service;
};

TEST_P(Moderation, ForgedScoresGoAndTheirSendersAreRefused) {
  ASSERT_EQ(Send("192.0.2.1", "Honest", 900), 200);
  ASSERT_EQ(Send("2001:db8:1:2::5", "Forger", 800), 200);
  storage->Insert({{"Imported", "", 700, 1'700'000'000}});

  // Senders are kept as keyed hashes, never as the address.
  const std::string secret = LoadOrCreateSecret(secretFile);
  const std::vector<ListedScore> listed = storage->List(10);
  ASSERT_EQ(listed.size(), 3u);
  EXPECT_EQ(listed[0].sender, SenderOf(secret, "192.0.2.1"));
  EXPECT_EQ(listed[1].sender, SenderOf(secret, "2001:db8:1:2::/64"));
  EXPECT_EQ(listed[2].sender, "");
  const std::string list = Admin({"list", "--top", "2"});
  EXPECT_NE(list.find("Honest"), std::string::npos) << list;
  EXPECT_EQ(list.find("Imported"), std::string::npos) << list;
  EXPECT_EQ(list.find("192.0.2.1"), std::string::npos) << list;

  EXPECT_NE(Admin({"remove", std::to_string(IdOf("Imported"))}).find("removed"), std::string::npos);
  Admin({"remove", "999999"}, 1);
  EXPECT_EQ(storage->CountScores(), 2);

  // A ban on the /64 takes what it sent and refuses the rest of it.
  EXPECT_NE(Admin({"ban", "2001:db8:1:2::/64"}).find("1 of its scores removed"), std::string::npos);
  EXPECT_EQ(Send("2001:db8:1:2:ffff::9", "Forger", 800), 403);
  EXPECT_EQ(Send("2001:db8:1:3::9", "Neighbour", 600), 200);
  // Whoever sent a score, without knowing the address.
  Admin({"ban", "score:" + std::to_string(IdOf("Honest"))});
  EXPECT_EQ(Send("192.0.2.1", "Honest", 950), 403);
  EXPECT_EQ(storage->Bans().size(), 2u);
  EXPECT_EQ(storage->List(10).size(), 1u);  // the neighbour's

  Admin({"unban", "192.0.2.1"});
  EXPECT_EQ(Send("192.0.2.1", "Honest", 950), 200);
  Admin({"unban", "192.0.2.1"}, 1);
  Admin({"ban", "not-an-address"}, 1);
  Admin({"frobnicate"}, 2);
}

INSTANTIATE_TEST_SUITE_P(Backends, Moderation, ::testing::Values(Backend::Sqlite, Backend::Postgres), BackendName);

}  // namespace
}  // namespace pondaro::scores::test
