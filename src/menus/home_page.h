// Visit Web Site and the About page: the home page the game was built with
// (-DPONDARO_HOME_URL=...), else the game's own help page, README.md rendered at
// build time: the built copy in the game folder (doc/README.html) or the
// installed one (share/doc/pondaro/README.html, beside share/pondaro).
#pragma once
#include <string>

namespace pondaro {

class TMainForm;

// The address Visit Web Site opens; empty when there is none to open.
std::string HomePage(const TMainForm& form);
// Opens it, or says that there is none.
void VisitHomePage(TMainForm& form);

}  // namespace pondaro
