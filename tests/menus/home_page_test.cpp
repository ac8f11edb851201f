// Visit Web Site in a game built without a home page: it opens the game's own
// help page, the built copy beside the data or the installed one, and says so
// when neither is there.
#include <filesystem>
#include <fstream>

#include "app/form_fixture.h"
#include "menus/home_page.h"
#include "persist/score_service.h"

namespace pondaro::test {
namespace {

namespace fs = std::filesystem;

using HomePageTest = FormTest;

TEST_F(HomePageTest, WithoutAHomePageTheGamesOwnHelpPageIsOpened) {
  if (kHomePageUrl[0] != '\0') GTEST_SKIP() << "built with a home page: " << kHomePageUrl;
  TMainForm& f = Make();
  // The installed layout: the data in share/pondaro, the page in share/doc/pondaro.
  const fs::path share = fs::path(dir) / "my games" / "share";
  fs::create_directories(share / "pondaro");
  f.DataDir = (share / "pondaro").string();
  VisitHomePage(f);
  EXPECT_TRUE(shell.opened.empty());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].find("help page"), std::string::npos) << messages.shown[0];

  fs::create_directories(share / "doc" / "pondaro");
  std::ofstream(share / "doc" / "pondaro" / "README.html") << "<h1>PONDARO</h1>";
  VisitHomePage(f);
  ASSERT_EQ(shell.opened.size(), 1u);
  EXPECT_EQ(shell.opened[0], "file://" + fs::canonical(share).string().replace(dir.size(), 9, "/my%20games") +
                                 "/doc/pondaro/README.html");
  // The built copy in the game folder comes first.
  fs::create_directories(share / "pondaro" / "doc");
  std::ofstream(share / "pondaro" / "doc" / "README.html") << "<h1>PONDARO</h1>";
  EXPECT_NE(HomePage(f).find("/share/pondaro/doc/README.html"), std::string::npos) << HomePage(f);
}

}  // namespace
}  // namespace pondaro::test
