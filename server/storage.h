// Where the scores and the handed-out tokens live. SQLite is the embedded default;
// PostgreSQL lets several service instances share one database, tokens and rate
// limits included, so a version check answered by one instance can be redeemed
// at another.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "rate_limit.h"

namespace pondaro::scores {

struct StoredScore {
  std::string name;
  std::string country;
  int64_t score = 0;
  int64_t when = 0;  // Unix seconds
  bool operator==(const StoredScore&) const = default;
};

// A score as the operator sees it: its row and who sent it (sender.h; empty for
// scores stored before senders were kept, and for imports).
struct ListedScore {
  int64_t id = 0;
  StoredScore score;
  std::string sender;
};

struct Ban {
  std::string sender;
  int64_t when = 0;
};

// The database could not be reached or refused the statement.
class StorageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class Redeemed { Stored, Unknown, Expired, Banned };

// Every call may come from any request thread at the same time. Times are Unix
// seconds; instances sharing a database compare them, so their clocks must agree.
class Storage {
 public:
  virtual ~Storage() = default;
  virtual std::string Describe() const = 0;

  virtual void AddToken(const std::string& token, int64_t now) = 0;
  // Uses the token up and stores the score in one transaction: the score is stored
  // only when the token was handed out, never redeemed, is younger than
  // `lifetime` seconds, and `sender` is not banned. A token is gone after this
  // call whatever the answer.
  virtual Redeemed Redeem(const std::string& token, int64_t now, int64_t lifetime, const StoredScore& score,
                          const std::string& sender) = 0;
  // Forgets tokens handed out before `before`; returns how many.
  virtual int64_t PurgeTokens(int64_t before) = 0;

  // The best `count` scores, highest first; equal scores in the order they came.
  virtual std::vector<StoredScore> Best(int count) = 0;
  // Stores scores without tokens: imports, seeding and benchmarks.
  virtual void Insert(const std::vector<StoredScore>& scores) = 0;
  virtual int64_t CountScores() = 0;
  virtual int64_t CountTokens() = 0;

  // Moderation. List is Best with the rows' ids and senders.
  virtual std::vector<ListedScore> List(int count) = 0;
  virtual std::optional<ListedScore> Find(int64_t id) = 0;
  virtual bool Remove(int64_t id) = 0;
  // Refuses the sender's scores from now on and removes the ones it stored;
  // returns how many went.
  virtual int64_t BanSender(const std::string& sender, int64_t now) = 0;
  virtual bool Unban(const std::string& sender) = 0;
  virtual std::vector<Ban> Bans() = 0;

  // A rate limit kept in the database, shared by every instance using it; nullptr
  // when this storage keeps none (each instance then limits on its own). It must
  // not outlive the storage.
  virtual std::unique_ptr<Limiter> SharedLimiter(double /*perMinute*/, double /*burst*/) { return nullptr; }
};

// Opens (creating when missing, readable by its owner alone) and migrates an
// SQLite database file; a file this user cannot write is refused.
std::unique_ptr<Storage> OpenSqlite(const std::string& path);
// Connects `pool` connections with a libpq connection string and migrates the
// schema. Every call gives up after `timeoutSeconds`: waiting for a free
// connection, connecting and the statements together (a second more at the
// most when a connection is made afresh: libpq waits 2 s at the least for one).
std::unique_ptr<Storage> OpenPostgres(const std::string& connection, int pool, int timeoutSeconds = 3);

}  // namespace pondaro::scores
