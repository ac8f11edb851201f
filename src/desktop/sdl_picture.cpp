#include "desktop/sdl_picture.h"

#include <sys/resource.h>
#include <unistd.h>

namespace pondaro {

// On Linux a nice value is the calling thread's own.
void SdlPictureDecoder::ThreadBegins() const { setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10); }

}  // namespace pondaro
