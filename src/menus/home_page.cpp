#include "menus/home_page.h"

#include <filesystem>

#include "app/main_form.h"
#include "persist/score_service.h"

namespace pondaro {

namespace {

namespace fs = std::filesystem;

// A file:// address: the path's bytes outside the unreserved set as %XX.
std::string FileUrl(const fs::path& absolute) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string url = "file://";
  for (unsigned char c : absolute.string()) {
    if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
      url += static_cast<char>(c);
    } else {
      url += '%';
      url += kHex[c >> 4];
      url += kHex[c & 15];
    }
  }
  return url;
}

}  // namespace

std::string HomePage(const TMainForm& form) {
  if (kHomePageUrl[0] != '\0') return kHomePageUrl;
  const fs::path data = form.DataDir.empty() ? fs::path(".") : fs::path(form.DataDir);
  for (const fs::path& page : {data / "doc" / "README.html", data / ".." / "doc" / "pondaro" / "README.html"}) {
    std::error_code error;
    if (fs::is_regular_file(page, error)) return FileUrl(fs::weakly_canonical(fs::absolute(page), error));
  }
  return "";
}

void VisitHomePage(TMainForm& form) {
  const std::string page = HomePage(form);
  if (page.empty()) {
    form.ShowError("The game's help page (doc/README.html) is not installed.");
    return;
  }
  form.GoWeb(page);
}

}  // namespace pondaro
