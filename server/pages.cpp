#include "pages.h"

#include <ctime>

#include "persist/score_service.h"

namespace pondaro::scores {

namespace {

// Both pages share one look: a pond-green backdrop and a pale card. Below 34em
// (phones) the country moves under the name and the headings of the place and
// the mark shrink to a character, so the table fits 320 px.
constexpr const char* kStyle = R"(
:root{--leaf:#3f8f3a;--paper:#f6f8ef;--ink:#17261d;--muted:#56685b;--stripe:#e7efdc}
*{box-sizing:border-box}
body{margin:0;min-height:100vh;background:#0d4536 linear-gradient(180deg,#0a382b,#17654d);color:var(--ink);
 font:16px/1.45 system-ui,-apple-system,"Segoe UI",Roboto,"DejaVu Sans",sans-serif}
header,main{max-width:46rem;margin:0 auto;padding:0 .75rem}
header{padding-top:1.4rem;padding-bottom:.8rem;color:#eaf5e1}
.brand{color:#eaf5e1;text-decoration:none;font-weight:800;letter-spacing:.14em;font-size:1.9rem}
.brand svg{vertical-align:-.12em;margin-right:.35em}
header p{margin:.15rem 0 0;color:#b7d7ad}
.card{background:var(--paper);border-radius:14px;box-shadow:0 6px 24px rgba(0,0,0,.28);overflow:hidden}
.text{padding:.5rem 1.25rem 1.25rem}
.text h1{font-size:1.35rem;margin:1rem 0 .4rem}
table{width:100%;border-collapse:collapse;font-variant-numeric:tabular-nums}
th,td{padding:.55rem .75rem;text-align:left;vertical-align:top}
thead th{background:var(--leaf);color:#fff;font-weight:600;font-size:.8rem;text-transform:uppercase;letter-spacing:.07em}
tbody tr:nth-child(even){background:var(--stripe)}
td.place{color:var(--muted);width:3.4em}
tr.medal td.place{color:#9a6300;font-weight:700}
.score,.date{text-align:right;white-space:nowrap}
td.score{font-weight:700}
.name{font-weight:600;overflow-wrap:anywhere}
td.country{color:var(--muted);overflow-wrap:anywhere}
.from{display:none}
th.mark,td.mark{text-align:center;width:5.5em}
a.proof{display:inline-block;width:1.55em;height:1.55em;line-height:1.55em;border-radius:50%;background:var(--leaf);
 color:#fff;text-decoration:none;font-weight:700;font-size:.9em}
a.proof:hover,a.proof:focus{background:#2c6a28;outline:2px solid #9a6300}
.unproven{color:var(--muted);font-size:.85em}
.short{display:none}
.views{margin:.35rem 0 0;color:#b7d7ad}
.views a{color:#eaf5e1}
.views strong{color:#fff}
.empty{padding:1.5rem 1.25rem;margin:0}
.button{display:inline-block;background:var(--leaf);color:#fff;text-decoration:none;font-weight:600;
 padding:.6rem 1.1rem;border-radius:999px;margin-top:.4rem}
.note{color:#cfe3c6;font-size:.9rem;padding:.8rem .25rem 2rem;margin:0}
.note a{color:#eaf5e1}
@media (max-width:34em){
 body{font-size:15px}
 th,td{padding:.45rem .4rem}
 th.country,td.country{display:none}
 .from{display:block;font-weight:400;font-size:.85em;color:var(--muted)}
 .date{font-size:.85em}
 th.place,td.place{width:1.6em}
 th.mark,td.mark{width:1.8em}
 .long{display:none}
 .short{display:inline}
}
@media (max-width:22em){
 header,main{padding-left:.4rem;padding-right:.4rem}
 th,td{padding:.4rem .22rem}
 .date{font-size:.78em}
}
)";

// A lily pad with its notch.
constexpr const char* kLogo =
    R"(<svg width="28" height="28" viewBox="0 0 28 28" aria-hidden="true"><path d="M14 14 L26.5 10.5 A13 13 0 1 1 )"
    R"(24.5 6.2 Z" fill="#6cc04a"/><circle cx="14" cy="14" r="2.2" fill="#eaf5e1"/></svg>)";

std::string Head(const char* title) {
  return std::string("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n") +
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" + title +
         "</title>\n<link rel=\"icon\" href=\"data:,\">\n<style>" + kStyle + "</style>\n</head>\n<body>\n";
}

std::string Header(const char* subtitle) {
  return std::string("<header><a class=\"brand\" href=\"/\">") + kLogo + "PONDARO</a><p>" + subtitle +
         "</p></header>\n";
}

}  // namespace

std::string TableAddress(bool all) {
  return std::string(kScorePath) + "?prg=Pondaro&type=0&show" + (all ? "&all" : "");
}

std::string HtmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string GroupDigits(int64_t n) {
  const std::string digits = std::to_string(n < 0 ? -n : n);
  std::string out = n < 0 ? "-" : "";
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i != 0 && (digits.size() - i) % 3 == 0) out += "\u202f";
    out += digits[i];
  }
  return out;
}

std::string UtcDate(int64_t unixSeconds) {
  const std::time_t t = static_cast<std::time_t>(unixSeconds);
  std::tm tm{};
  char text[32] = "";
  if (gmtime_r(&t, &tm)) std::strftime(text, sizeof text, "%Y-%m-%d", &tm);
  return text;
}

std::string TablePage(const std::vector<TableRow>& rows, bool all) {
  std::string html = Head(all ? "PONDARO: all online high scores" : "PONDARO: online high scores");
  html += Header(all ? "Online high scores: the best 100, verified or not" : "Online high scores: the best 100 verified");
  // The other view, one click away.
  html += "<main>\n<p class=\"views\">" +
          std::string(all ? "<a href=\"" + HtmlEscape(TableAddress(false)) + "\">Verified scores</a> | <strong>All scores</strong>"
                          : "<strong>Verified scores</strong> | <a href=\"" + HtmlEscape(TableAddress(true)) +
                                "\">All scores</a> (the unverified ones too)") +
          "</p>\n<div class=\"card\">\n";
  if (rows.empty()) {
    html += all ? "<p class=\"empty\">No scores yet: the first one sent from the game opens the table.</p>\n"
                : "<p class=\"empty\">No verified scores yet: a score is verified once its replay, sent by the game "
                  "after it, re-plays to it.</p>\n";
  } else {
    html +=
        // On a phone the place and the mark take headings of a character.
        "<table>\n<thead><tr><th class=\"place\" scope=\"col\"><span class=\"long\">Place</span>"
        "<span class=\"short\">#</span></th><th class=\"name\" scope=\"col\">Name</th>"
        "<th class=\"country\" scope=\"col\">Country</th><th class=\"score\" scope=\"col\">Score</th>"
        "<th class=\"date\" scope=\"col\">Date</th><th class=\"mark\" scope=\"col\"><span class=\"long\">Verified"
        "</span><span class=\"short\" aria-label=\"Verified\">\u2713</span></th></tr></thead>\n<tbody>\n";
    int place = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
      const StoredScore& s = rows[i].score;
      if (i == 0 || s.score != rows[i - 1].score.score) place = static_cast<int>(i) + 1;
      const std::string country = HtmlEscape(s.country);
      html += place <= 3 ? "<tr class=\"medal\">" : "<tr>";
      html += "<td class=\"place\">" + std::to_string(place) + "</td><td class=\"name\">" + HtmlEscape(s.name);
      if (!country.empty()) html += "<span class=\"from\">" + country + "</span>";
      html += "</td><td class=\"country\">" + country + "</td><td class=\"score\">" + GroupDigits(s.score) +
              "</td><td class=\"date\">" + UtcDate(s.when) + "</td><td class=\"mark\">";
      const std::string id = std::to_string(rows[i].id);
      if (rows[i].verified)
        html += "<a class=\"proof\" href=\"" + std::string(kReplayPath) + "/" + id + "\" download=\"pondaro-" + id +
                ".pdr\" title=\"Verified: its replay re-plays to this score. Download it and watch it with "
                "pondaro --replay FILE\">\u2713</a>";
      else
        html += "<span class=\"unproven\" title=\"Not verified: no replay came with this score, or it did not "
                "re-play to it\"><span class=\"long\">not verified</span><span class=\"short\">\u2013</span></span>";
      html += "</td></tr>\n";
    }
    html += "</tbody>\n</table>\n";
  }
  html += "</div>\n<p class=\"note\">A verified score (\u2713) is one whose replay, sent by the game after the "
          "score, the service re-played with the game's own rules to the same score and name. Click \u2713 for the "
          "replay and watch it with <code>pondaro --replay FILE</code>. To get on the table, tick the send box when "
          "you type your name after a high score. <a href=\"/\">About the game</a></p>\n</main>\n</body>\n</html>\n";
  return html;
}

std::string HomePage() {
  std::string html = Head("PONDARO");
  html += Header("A frog, a lily pond and a great many insects");
  html += "<main>\n<div class=\"card\"><div class=\"text\">\n"
          "<h1>Cross the pond, then feed</h1>\n"
          "<p>PONDARO is an arcade game for the desktop. A young frog crosses a lily pond level by level: it jumps "
          "left, right and forward from lily to lily while lilies sink, snap shut, spring it ahead or hold it "
          "fast, and a crocodile and a stork lie in wait. Then, for a limited time, it catches insects with its "
          "tongue, aimed with the mouse, for points and to keep its hunger down. After that the next, harder "
          "level begins.</p>\n"
          "<p>Three lives are given. A good score earns a place in the game's own table of ten, and, if you "
          "tick the send box when you type your name, in the online table of the best 100.</p>\n"
          "<a class=\"button\" href=\"" +
          HtmlEscape(TableAddress(false)) +
          "\">The online high scores</a>\n"
          "</div></div>\n<p class=\"note\">The online table is kept by pondaro-scores, the game's own score service.</p>\n"
          "</main>\n</body>\n</html>\n";
  return html;
}

}  // namespace pondaro::scores
