#include "query.h"

#include <map>
#include <vector>

namespace pondaro::scores {

namespace {

// Letters, digits and the few marks that tracking parameters added to a shared
// link use; everything else (spaces, quotes, "%", control bytes) is refused.
bool QueryChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '=' || c == '&' ||
         c == '_' || c == '-' || c == '.';
}

ParsedQuery Refuse(int status, std::string why) {
  ParsedQuery q;
  q.status = status;
  q.error = std::move(why);
  return q;
}

ParsedQuery Accept(RequestKind kind, std::string inf = "") {
  ParsedQuery q;
  q.ok = true;
  q.status = 200;
  q.kind = kind;
  q.inf = std::move(inf);
  return q;
}

}  // namespace

ParsedQuery ParseQuery(std::string_view raw) {
  if (raw.size() > kMaxQueryLength) return Refuse(414, "query too long");
  for (char c : raw)
    if (!QueryChar(c)) return Refuse(400, "malformed query");

  // Parameters in order of appearance; "hs" and "show" carry no value.
  struct Param {
    std::string value;
    bool hasValue;
  };
  std::map<std::string, Param, std::less<>> params;
  std::vector<std::string> order;
  size_t pos = 0;
  while (pos <= raw.size()) {
    size_t end = raw.find('&', pos);
    if (end == std::string_view::npos) end = raw.size();
    const std::string_view item = raw.substr(pos, end - pos);
    pos = end + 1;
    if (item.empty()) continue;
    const size_t eq = item.find('=');
    std::string name(item.substr(0, eq));
    if (name.empty()) return Refuse(400, "malformed query");
    Param p{eq == std::string_view::npos ? "" : std::string(item.substr(eq + 1)), eq != std::string_view::npos};
    if (!params.emplace(name, std::move(p)).second) return Refuse(400, "parameter " + name + " given twice");
    order.push_back(name);
  }

  const auto prg = params.find("prg");
  if (prg == params.end()) return Refuse(400, "missing parameter prg");
  if (prg->second.value != "Pondaro") return Refuse(400, "unknown program");

  if (params.count("hs")) {
    if (params["hs"].hasValue) return Refuse(400, "malformed query");
    const auto inf = params.find("inf");
    if (inf == params.end() || inf->second.value.empty()) return Refuse(400, "missing record");
    for (const std::string& name : order)
      if (name != "hs" && name != "prg" && name != "inf") return Refuse(400, "unexpected parameter " + name);
    return Accept(RequestKind::Submission, inf->second.value);
  }

  if (params.count("show")) {
    // A link passed around may pick up parameters of its own; the page ignores them.
    const auto type = params.find("type");
    if (type != params.end() && type->second.value != "0") return Refuse(404, "no such table");
    ParsedQuery q = Accept(RequestKind::Table);
    q.all = params.count("all") != 0;
    return q;
  }

  for (const std::string& name : order)
    if (name != "prg") return Refuse(400, "unexpected parameter " + name);
  return Accept(RequestKind::VersionCheck);
}

}  // namespace pondaro::scores
