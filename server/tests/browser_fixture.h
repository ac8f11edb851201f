// One headless Chromium for the browser tests of this program.
#pragma once
#include <gtest/gtest.h>

#include <mutex>

#include "testing/chromium.h"

namespace pondaro::scores::test {

// The shared browser, or nullptr with `reason` set when Chromium cannot run here.
inline testing::Chromium* SharedBrowser(std::string& reason) {
  static std::mutex mutex;
  static std::unique_ptr<testing::Chromium> browser;
  static std::string why;
  static bool tried = false;
  std::lock_guard lock(mutex);
  if (!tried) {
    tried = true;
    browser = testing::Chromium::Start(why);
  }
  reason = why;
  return browser.get();
}

// The table's rows as the browser shows them: the visible text of each cell.
inline constexpr const char* kRenderedRows = R"(
  [...document.querySelectorAll('tbody tr')].map(tr =>
    [...tr.cells].filter(td => td.offsetParent !== null).map(td => td.innerText)))";

}  // namespace pondaro::scores::test
