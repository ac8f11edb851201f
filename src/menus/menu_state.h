// The menu screens' shared values.
#pragma once

namespace pondaro {

struct TMenuState {};

}  // namespace pondaro
