#include "admin.h"

#include <sys/stat.h>

#include <charconv>
#include <cstdio>
#include <ctime>
#include <optional>

#include "address.h"
#include "pages.h"
#include "sender.h"
#include "storage.h"

namespace pondaro::scores {

namespace {

constexpr const char* kUsage = R"(Usage: pondaro-scores admin [--database FILE | --postgres CONN] [--secret-file FILE] COMMAND
Moderates the score table of pondaro-scores; safe while the service runs.

Commands:
  list [--top N]   the best N scores (default 100) with their ids and senders
  remove ID...     removes these scores
  ban WHO...       refuses WHO's scores from now on (403) and removes the ones it
                   stored. WHO is an IPv4 address, an IPv6 address or /64 (either
                   bans the whole /64), or score:ID for whoever sent that score
  unban WHO...     lifts a ban; WHO is an address, a /64, or a sender as `bans` shows it
  bans             the banned senders

The database options are the service's (default --database pondaro-scores.db). A
sender is a keyed hash of the address, never the address itself: the same secret
file as the service's is needed to ban or unban an address.
)";

bool Id(const std::string& text, int64_t& id) {
  auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), id);
  return ec == std::errc() && p == text.data() + text.size() && !text.empty() && id > 0;
}

std::string Padded(std::string text, size_t width, bool right = false) {
  if (text.size() >= width) return text;
  return right ? std::string(width - text.size(), ' ') + text : text + std::string(width - text.size(), ' ');
}

struct Admin {
  std::ostream& out;
  std::ostream& err;
  Storage& storage;
  std::string secretFile;
  std::string secret;

  // The sender WHO names, or empty with the reason said.
  std::string SenderFor(const std::string& who, bool allowScore) {
    int64_t id = 0;
    if (allowScore && who.rfind("score:", 0) == 0 && Id(who.substr(6), id)) {
      const auto found = storage.Find(id);
      if (!found) err << "no score " << id << "\n";
      else if (found->sender.empty()) err << "score " << id << " was stored before senders were kept\n";
      return found ? found->sender : "";
    }
    if (who.size() == 32 && who.find_first_not_of("0123456789abcdef") == std::string::npos) return who;
    std::string address = who;
    if (who.size() > 3 && who.compare(who.size() - 3, 3, "/64") == 0) address = who.substr(0, who.size() - 3);
    const auto ip = ParseIp(address);
    if (!ip || (address != who && !ip->v6)) {
      err << "\"" << who << "\" is not an address, an IPv6 /64" << (allowScore ? " or score:ID" : " or a sender")
          << "\n";
      return "";
    }
    if (secretFile.empty()) {
      err << "an address needs --secret-file, the service's, to be matched with what it sent\n";
      return "";
    }
    if (secret.empty()) secret = LoadOrCreateSecret(secretFile);
    return SenderOf(secret, ClientKey(FormatIp(*ip)));
  }

  int List(int top) {
    out << Padded("ID", 8, true) << "  " << Padded("SCORE", 11, true) << "  " << Padded("NAME", 10) << "  "
        << Padded("COUNTRY", 10) << "  DATE        SENDER\n";
    for (const ListedScore& s : storage.List(top))
      out << Padded(std::to_string(s.id), 8, true) << "  " << Padded(std::to_string(s.score.score), 11, true) << "  "
          << Padded(s.score.name, 10) << "  " << Padded(s.score.country, 10) << "  " << UtcDate(s.score.when) << "  "
          << (s.sender.empty() ? "-" : s.sender) << "\n";
    return 0;
  }

  int Each(const std::vector<std::string>& items, const std::string& command) {
    int status = 0;
    for (const std::string& item : items) {
      if (command == "remove") {
        int64_t id = 0;
        if (!Id(item, id)) {
          err << "\"" << item << "\" is not a score id\n";
          status = 1;
        } else if (storage.Remove(id)) {
          out << "removed score " << id << "\n";
        } else {
          err << "no score " << id << "\n";
          status = 1;
        }
        continue;
      }
      const std::string sender = SenderFor(item, command == "ban");
      if (sender.empty()) {
        status = 1;
      } else if (command == "ban") {
        const int64_t removed = storage.BanSender(sender, static_cast<int64_t>(std::time(nullptr)));
        out << "banned " << item << " (sender " << sender << "): " << removed << " of its scores removed\n";
      } else if (storage.Unban(sender)) {
        out << "unbanned " << item << " (sender " << sender << ")\n";
      } else {
        err << item << " (sender " << sender << ") was not banned\n";
        status = 1;
      }
    }
    return status;
  }
};

}  // namespace

int RunAdmin(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string database = "pondaro-scores.db", postgres, secretFile;
  size_t i = 0;
  for (; i < args.size() && args[i].rfind("--", 0) == 0; i += 2) {
    if (args[i] == "--help") {
      out << kUsage;
      return 0;
    }
    std::string* value = args[i] == "--database" ? &database : args[i] == "--postgres" ? &postgres
                       : args[i] == "--secret-file" ? &secretFile : nullptr;
    if (!value || i + 1 >= args.size() || args[i + 1].empty()) {
      err << "pondaro-scores admin: " << (value ? args[i] + " needs a value" : "unknown option " + args[i]) << "\n"
          << kUsage;
      return 2;
    }
    *value = args[i + 1];
  }
  const std::string command = i < args.size() ? args[i] : "";
  const std::vector<std::string> rest(args.begin() + static_cast<long>(std::min(i + 1, args.size())), args.end());
  int top = kTableSize;
  const bool listing = command == "list" && (rest.empty() || (rest.size() == 2 && rest[0] == "--top" &&
                                                              std::from_chars(rest[1].data(), rest[1].data() + rest[1].size(), top).ec == std::errc() && top > 0));
  const bool bans = command == "bans" && rest.empty();
  const bool each = (command == "remove" || command == "ban" || command == "unban") && !rest.empty();
  if (!listing && !bans && !each) {
    err << "pondaro-scores admin: " << (command.empty() ? "no command" : "bad use of " + command) << "\n" << kUsage;
    return 2;
  }
  if (postgres.empty() && secretFile.empty()) secretFile = SecretBeside(database);
  struct stat st {};
  if (postgres.empty() && stat(database.c_str(), &st) != 0) {
    err << "pondaro-scores admin: no database " << database << "\n";
    return 1;
  }
  try {
    auto storage = postgres.empty() ? OpenSqlite(database) : OpenPostgres(postgres, 1);
    Admin admin{out, err, *storage, secretFile, ""};
    if (listing) return admin.List(top);
    if (bans) {
      for (const Ban& b : storage->Bans()) out << b.sender << "  banned " << UtcDate(b.when) << "\n";
      return 0;
    }
    return admin.Each(rest, command);
  } catch (const std::exception& e) {
    err << "pondaro-scores admin: " << e.what() << "\n";
    return 1;
  }
}

}  // namespace pondaro::scores
