// The query of /cgi/version.pl: what the game and a browser send, and what is refused.
#include <gtest/gtest.h>

#include "persist/score_service.h"
#include "persist/submit.h"
#include "query.h"

namespace pondaro::scores::test {
namespace {

std::string QueryOf(const char* url) {
  const std::string u = url;
  return u.substr(u.find('?') + 1);
}

TEST(Query, TheGamesThreeRequestsAreRecognised) {
  // The game's own addresses, as it builds them.
  const ParsedQuery version = ParseQuery(QueryOf(pondaro::VersionCheckUrl().c_str()));
  ASSERT_TRUE(version.ok) << version.error;
  EXPECT_EQ(version.kind, RequestKind::VersionCheck);

  const ParsedQuery submit = ParseQuery(QueryOf(pondaro::SubmitUrl("GC2VDABC").c_str()));
  ASSERT_TRUE(submit.ok) << submit.error;
  EXPECT_EQ(submit.kind, RequestKind::Submission);
  EXPECT_EQ(submit.inf, "GC2VDABC");

  const ParsedQuery table = ParseQuery(QueryOf(pondaro::kOnlineTableUrl));
  ASSERT_TRUE(table.ok) << table.error;
  EXPECT_EQ(table.kind, RequestKind::Table);
}

TEST(Query, OtherFormsAreAcceptedOrRefusedWithAClearStatus) {
  struct Case {
    std::string query;
    int status;  // 200: accepted
    RequestKind kind = RequestKind::VersionCheck;
  };
  const Case cases[] = {
      // Order does not matter, empty items are skipped.
      {"inf=AB&prg=Pondaro&hs", 200, RequestKind::Submission},
      {"prg=Pondaro&", 200, RequestKind::VersionCheck},
      {"&&prg=Pondaro", 200, RequestKind::VersionCheck},
      // A shared link to the table may carry extra parameters; a missing type is the game's table.
      {"prg=Pondaro&type=0&show&fbclid=Ab-9_x", 200, RequestKind::Table},
      {"show&prg=Pondaro", 200, RequestKind::Table},
      {"prg=Pondaro&type=1&show", 404},
      {"", 400},
      {"prg=Other", 400},
      {"prg=pondaro", 400},
      {"prg", 400},
      {"prg=Pondaro&prg=Pondaro", 400},
      {"prg=Pondaro&x=1", 400},
      {"hs&prg=Pondaro", 400},
      {"hs&prg=Pondaro&inf=", 400},
      {"hs=1&prg=Pondaro&inf=AB", 400},
      {"hs&prg=Pondaro&inf=AB&extra", 400},
      {"hs&prg=Pondaro&inf=AB&inf=CD", 400},
      {"=x&prg=Pondaro", 400},
      // Escapes, spaces, quotes and control bytes never reach the parser proper.
      {"prg=Pond%61ro", 400},
      {"prg=Pondaro&type=0&show&q=<b>", 400},
      {std::string("prg=Pondaro\0", 12), 400},
      {"prg=Pondaro&show&type=0 ", 400},
      {"hs&prg=Pondaro&inf=" + std::string(1200, 'A'), 414},
  };
  for (const Case& c : cases) {
    const ParsedQuery q = ParseQuery(c.query);
    EXPECT_EQ(q.ok ? 200 : q.status, c.status) << c.query << ": " << q.error;
    if (c.status == 200) {
      EXPECT_EQ(q.kind, c.kind) << c.query;
    } else {
      EXPECT_FALSE(q.error.empty()) << c.query;
    }
  }
}

}  // namespace
}  // namespace pondaro::scores::test
