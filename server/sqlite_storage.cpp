// The embedded store: one SQLite file in WAL mode. One connection serves every
// request thread in turn; each statement takes microseconds, so a lock costs less
// than SQLite's own busy waiting between connections would.
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <mutex>

#include "storage.h"

namespace pondaro::scores {

namespace {

// Each step brings the schema from version i to i + 1; the file's user_version
// says how many have run. Append new steps, never change old ones.
constexpr const char* kMigrations[] = {
    R"(CREATE TABLE scores (
         id INTEGER PRIMARY KEY,
         name TEXT NOT NULL,
         country TEXT NOT NULL,
         score INTEGER NOT NULL,
         created INTEGER NOT NULL);
       CREATE INDEX scores_best ON scores (score DESC, id);
       CREATE TABLE tokens (token TEXT PRIMARY KEY, issued INTEGER NOT NULL) WITHOUT ROWID;
       CREATE INDEX tokens_issued ON tokens (issued);)",
    // Who sent each score from now on (older rows keep NULL), and the bans.
    R"(ALTER TABLE scores ADD COLUMN sender TEXT;
       CREATE INDEX scores_sender ON scores (sender);
       CREATE TABLE bans (sender TEXT PRIMARY KEY, created INTEGER NOT NULL) WITHOUT ROWID;)",
};
constexpr int kSchemaVersion = static_cast<int>(std::size(kMigrations));

class Statement {
 public:
  Statement(sqlite3* db, const char* sql) : db_(db) {
    if (sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr) != SQLITE_OK)
      throw StorageError(std::string("SQLite: ") + sqlite3_errmsg(db));
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Bind(int i, int64_t v) {
    sqlite3_bind_int64(stmt_, i, v);
    return *this;
  }
  Statement& Bind(int i, const std::string& v) {
    sqlite3_bind_text(stmt_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
    return *this;
  }
  // An empty text as NULL.
  Statement& BindOrNull(int i, const std::string& v) {
    if (v.empty()) sqlite3_bind_null(stmt_, i);
    return v.empty() ? *this : Bind(i, v);
  }
  // True while a row is ready.
  bool Step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    throw StorageError(std::string("SQLite: ") + sqlite3_errmsg(db_));
  }
  void Reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
  }
  int64_t Int(int col) { return sqlite3_column_int64(stmt_, col); }
  std::string Text(int col) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, col));
    return p ? std::string(p, static_cast<size_t>(sqlite3_column_bytes(stmt_, col))) : std::string();
  }

 private:
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

// Resets the statement on every way out, so a failed step never leaves it busy.
struct Use {
  explicit Use(Statement& s) : s(s) {}
  ~Use() { s.Reset(); }
  Statement& s;
};

// The database and its -wal and -shm files hold live tokens: readable by the
// owner alone. SQLite gives the -wal and -shm files the database file's mode, so
// a new database file is made 0600 before SQLite opens it, and one made before
// (0644) is narrowed.
void MakePrivate(const std::string& path) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd >= 0) close(fd);
  for (const char* suffix : {"", "-wal", "-shm"}) {
    struct stat st {};
    const std::string file = path + suffix;
    if (stat(file.c_str(), &st) == 0 && (st.st_mode & 077)) chmod(file.c_str(), st.st_mode & 0700);
  }
}

constexpr const char* kListColumns = "SELECT id, name, country, score, created, sender FROM scores ";

class SqliteStorage : public Storage {
 public:
  explicit SqliteStorage(const std::string& path) : path_(path) {
    MakePrivate(path);
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
      const std::string why = db_ ? sqlite3_errmsg(db_) : "out of memory";
      sqlite3_close(db_);
      throw StorageError("cannot open " + path + ": " + why);
    }
    try {
      // SQLite opens a file it may not write read-only without a word; every
      // submission would then fail.
      if (sqlite3_db_readonly(db_, "main") == 1)
        throw StorageError(path + " is read-only for this user: the service must be able to write its database");
      sqlite3_extended_result_codes(db_, 1);
      // Another service instance or a maintenance shell may hold the lock briefly.
      sqlite3_busy_timeout(db_, 5000);
      Exec("PRAGMA journal_mode=WAL");
      // WAL with NORMAL survives a crash of the service; only a power cut may lose
      // the last few scores.
      Exec("PRAGMA synchronous=NORMAL");
      Migrate();
      addToken_ = std::make_unique<Statement>(db_, "INSERT INTO tokens (token, issued) VALUES (?1, ?2)");
      redeem_ = std::make_unique<Statement>(db_, "DELETE FROM tokens WHERE token = ?1 RETURNING issued");
      insert_ = std::make_unique<Statement>(
          db_, "INSERT INTO scores (name, country, score, created, sender) VALUES (?1, ?2, ?3, ?4, ?5)");
      banned_ = std::make_unique<Statement>(db_, "SELECT 1 FROM bans WHERE sender = ?1");
      purge_ = std::make_unique<Statement>(db_, "DELETE FROM tokens WHERE issued < ?1");
      best_ = std::make_unique<Statement>(
          db_, "SELECT name, country, score, created FROM scores ORDER BY score DESC, id LIMIT ?1");
      countScores_ = std::make_unique<Statement>(db_, "SELECT count(*) FROM scores");
      countTokens_ = std::make_unique<Statement>(db_, "SELECT count(*) FROM tokens");
    } catch (...) {
      Close();
      throw;
    }
  }
  ~SqliteStorage() override { Close(); }

  std::string Describe() const override { return "SQLite " + path_; }

  void AddToken(const std::string& token, int64_t now) override {
    std::lock_guard lock(mutex_);
    Use u(*addToken_);
    u.s.Bind(1, token).Bind(2, now).Step();
  }

  Redeemed Redeem(const std::string& token, int64_t now, int64_t lifetime, const StoredScore& score,
                  const std::string& sender) override {
    std::lock_guard lock(mutex_);
    Transaction t(*this);
    Redeemed result;
    {
      Use u(*redeem_);
      if (!u.s.Bind(1, token).Step())
        result = Redeemed::Unknown;
      else
        result = now - u.s.Int(0) < lifetime ? Redeemed::Stored : Redeemed::Expired;
    }
    if (result == Redeemed::Stored && !sender.empty()) {
      Use u(*banned_);
      if (u.s.Bind(1, sender).Step()) result = Redeemed::Banned;
    }
    if (result == Redeemed::Stored) InsertOne(score, sender);
    t.Commit();
    return result;
  }

  int64_t PurgeTokens(int64_t before) override {
    std::lock_guard lock(mutex_);
    Use u(*purge_);
    u.s.Bind(1, before).Step();
    return sqlite3_changes(db_);
  }

  std::vector<StoredScore> Best(int count) override {
    std::lock_guard lock(mutex_);
    std::vector<StoredScore> out;
    Use u(*best_);
    u.s.Bind(1, count);
    while (u.s.Step()) out.push_back({u.s.Text(0), u.s.Text(1), u.s.Int(2), u.s.Int(3)});
    return out;
  }

  void Insert(const std::vector<StoredScore>& scores) override {
    std::lock_guard lock(mutex_);
    Transaction t(*this);
    for (const StoredScore& s : scores) InsertOne(s, "");
    t.Commit();
  }

  int64_t CountScores() override { return Count(*countScores_); }
  int64_t CountTokens() override { return Count(*countTokens_); }

  std::vector<ListedScore> List(int count) override {
    std::lock_guard lock(mutex_);
    Statement s(db_, (std::string(kListColumns) + "ORDER BY score DESC, id LIMIT ?1").c_str());
    s.Bind(1, count);
    std::vector<ListedScore> out;
    while (s.Step()) out.push_back(Listed(s));
    return out;
  }

  std::optional<ListedScore> Find(int64_t id) override {
    std::lock_guard lock(mutex_);
    Statement s(db_, (std::string(kListColumns) + "WHERE id = ?1").c_str());
    s.Bind(1, id);
    if (!s.Step()) return std::nullopt;
    return Listed(s);
  }

  bool Remove(int64_t id) override { return Change("DELETE FROM scores WHERE id = ?1", id, "") > 0; }

  int64_t BanSender(const std::string& sender, int64_t now) override {
    std::lock_guard lock(mutex_);
    Transaction t(*this);
    Statement ban(db_, "INSERT OR IGNORE INTO bans (sender, created) VALUES (?1, ?2)");
    ban.Bind(1, sender).Bind(2, now).Step();
    Statement remove(db_, "DELETE FROM scores WHERE sender = ?1");
    remove.Bind(1, sender).Step();
    const int64_t removed = sqlite3_changes(db_);
    t.Commit();
    return removed;
  }

  bool Unban(const std::string& sender) override { return Change("DELETE FROM bans WHERE sender = ?2", 0, sender) > 0; }

  std::vector<Ban> Bans() override {
    std::lock_guard lock(mutex_);
    Statement s(db_, "SELECT sender, created FROM bans ORDER BY created, sender");
    std::vector<Ban> out;
    while (s.Step()) out.push_back({s.Text(0), s.Int(1)});
    return out;
  }

 private:
  // BEGIN IMMEDIATE takes the write lock at once, so two instances on one file
  // wait for each other instead of failing halfway.
  class Transaction {
   public:
    explicit Transaction(SqliteStorage& s) : s_(s) { s_.Exec("BEGIN IMMEDIATE"); }
    void Commit() {
      s_.Exec("COMMIT");
      done_ = true;
    }
    ~Transaction() {
      if (!done_) sqlite3_exec(s_.db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }

   private:
    SqliteStorage& s_;
    bool done_ = false;
  };

  void Exec(const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) != SQLITE_OK) {
      const std::string why = message ? message : sqlite3_errmsg(db_);
      sqlite3_free(message);
      throw StorageError("SQLite " + path_ + ": " + why);
    }
  }

  int UserVersion() {
    Statement s(db_, "PRAGMA user_version");
    return s.Step() ? static_cast<int>(s.Int(0)) : 0;
  }

  void Migrate() {
    Transaction t(*this);
    const int version = UserVersion();
    if (version > kSchemaVersion)
      throw StorageError(path_ + " has schema version " + std::to_string(version) + ", newer than this program's " +
                         std::to_string(kSchemaVersion) + ": update pondaro-scores");
    for (int v = version; v < kSchemaVersion; ++v) Exec(kMigrations[v]);
    // Written every time: a database this process cannot write fails here, at start.
    Exec(("PRAGMA user_version=" + std::to_string(kSchemaVersion)).c_str());
    t.Commit();
  }

  void InsertOne(const StoredScore& s, const std::string& sender) {
    Use u(*insert_);
    u.s.Bind(1, s.name).Bind(2, s.country).Bind(3, s.score).Bind(4, s.when).BindOrNull(5, sender).Step();
  }

  static ListedScore Listed(Statement& s) {
    return {s.Int(0), {s.Text(1), s.Text(2), s.Int(3), s.Int(4)}, s.Text(5)};
  }

  // A one-off statement with ?1 an id and ?2 a text; the rows it changed.
  int64_t Change(const char* sql, int64_t id, const std::string& text) {
    std::lock_guard lock(mutex_);
    Statement s(db_, sql);
    s.Bind(1, id).Bind(2, text).Step();
    return sqlite3_changes(db_);
  }

  int64_t Count(Statement& s) {
    std::lock_guard lock(mutex_);
    Use u(s);
    return u.s.Step() ? u.s.Int(0) : 0;
  }

  void Close() {
    addToken_.reset();
    redeem_.reset();
    insert_.reset();
    banned_.reset();
    purge_.reset();
    best_.reset();
    countScores_.reset();
    countTokens_.reset();
    sqlite3_close(db_);
    db_ = nullptr;
  }

  std::string path_;
  sqlite3* db_ = nullptr;
  std::mutex mutex_;
  std::unique_ptr<Statement> addToken_, redeem_, insert_, banned_, purge_, best_, countScores_, countTokens_;
};

}  // namespace

std::unique_ptr<Storage> OpenSqlite(const std::string& path) { return std::make_unique<SqliteStorage>(path); }

}  // namespace pondaro::scores
