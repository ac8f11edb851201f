// The two HTML pages of the service: the online table and the home page.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "storage.h"

namespace pondaro::scores {

inline constexpr int kTableSize = 100;

// Text made safe for HTML element content and quoted attribute values.
std::string HtmlEscape(std::string_view text);
// "1 234 567": digits grouped by threes with narrow no-break spaces.
std::string GroupDigits(int64_t n);
// The UTC date of a Unix time, "2024-05-31".
std::string UtcDate(int64_t unixSeconds);

// The online table's address; `all`: every score, not only the verified ones.
std::string TableAddress(bool all);

// The best scores, highest first, as `Storage::Table` gives them: the verified
// ones (`all` false), or all of them. Equal scores share a place. A verified row's
// mark links its replay.
std::string TablePage(const std::vector<TableRow>& rows, bool all = false);
std::string HomePage();

}  // namespace pondaro::scores
