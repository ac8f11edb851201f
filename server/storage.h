// Where the scores and the handed-out tokens live. SQLite is the embedded default;
// PostgreSQL lets several service instances share one database, tokens included,
// so a version check answered by one instance can be redeemed at another.
#pragma once
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace pondaro::scores {

struct StoredScore {
  std::string name;
  std::string country;
  int64_t score = 0;
  int64_t when = 0;  // Unix seconds
  bool operator==(const StoredScore&) const = default;
};

// The database could not be reached or refused the statement.
class StorageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class Redeemed { Stored, Unknown, Expired };

// Every call may come from any request thread at the same time. Times are Unix
// seconds; instances sharing a database compare them, so their clocks must agree.
class Storage {
 public:
  virtual ~Storage() = default;
  virtual std::string Describe() const = 0;

  virtual void AddToken(const std::string& token, int64_t now) = 0;
  // Uses the token up and stores the score in one transaction: the score is stored
  // only when the token was handed out, never redeemed, and is younger than
  // `lifetime` seconds. A token is gone after this call whatever the answer.
  virtual Redeemed Redeem(const std::string& token, int64_t now, int64_t lifetime, const StoredScore& score) = 0;
  // Forgets tokens handed out before `before`; returns how many.
  virtual int64_t PurgeTokens(int64_t before) = 0;

  // The best `count` scores, highest first; equal scores in the order they came.
  virtual std::vector<StoredScore> Best(int count) = 0;
  // Stores scores without tokens: imports, seeding and benchmarks.
  virtual void Insert(const std::vector<StoredScore>& scores) = 0;
  virtual int64_t CountScores() = 0;
  virtual int64_t CountTokens() = 0;
};

// Opens (creating when missing) and migrates an SQLite database file.
std::unique_ptr<Storage> OpenSqlite(const std::string& path);
// Connects `pool` connections with a libpq connection string and migrates the schema.
std::unique_ptr<Storage> OpenPostgres(const std::string& connection, int pool);

}  // namespace pondaro::scores
