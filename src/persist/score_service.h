// Where the score service and the home page live. The base addresses are set when
// the build is configured (-DPONDARO_SCORE_URL=..., -DPONDARO_HOME_URL=...).
#pragma once

#ifndef PONDARO_SCORE_URL
#define PONDARO_SCORE_URL "http://127.0.0.1:8765"
#endif
// Empty: none was configured; the game then shows no address and opens its own
// help page.
#ifndef PONDARO_HOME_URL
#define PONDARO_HOME_URL ""
#endif

namespace pondaro {

inline constexpr char kVersionCheckBase[] = PONDARO_SCORE_URL;
inline constexpr char kSubmitBase[] = PONDARO_SCORE_URL;
inline constexpr char kScorePath[] = "/cgi/version.pl";
inline constexpr char kHomePageUrl[] = PONDARO_HOME_URL;
// The online table, as the high-score screen's View opens it.
inline constexpr char kOnlineTableUrl[] = PONDARO_SCORE_URL "/cgi/version.pl?prg=Pondaro&type=0&show";
// The service tells our submissions from other programs' by this letter.
inline constexpr char kScoreKey = 'P';

}  // namespace pondaro
