#include "desktop/x11_strips.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>

namespace pondaro {

namespace {

// A strip of about this many bytes: 17 round trips to the server for a whole
// picture at 1920 x 1080, each well under a tenth of a millisecond.
constexpr int kStripBytes = 256 * 1024;

// A server that cannot reach this program's memory (another machine) refuses the
// segment with BadAccess; every other error goes where it went before.
bool refused = false;
int (*previousHandler)(Display*, XErrorEvent*) = nullptr;
int NoteRefusal(Display* d, XErrorEvent* e) {
  if (e->error_code == BadAccess) {
    refused = true;
    return 0;
  }
  return previousHandler ? previousHandler(d, e) : 0;
}

}  // namespace

std::unique_ptr<X11Strips> X11Strips::Open(SDL_Window* window, int width) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (width <= 0 || !window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
    return nullptr;
  Display* d = info.info.x11.display;
  const Window w = info.info.x11.window;
  XWindowAttributes a;
  if (!XShmQueryExtension(d) || !XGetWindowAttributes(d, w, &a) || a.depth < 24 || a.visual->red_mask != 0xFF0000 ||
      a.visual->green_mask != 0x00FF00 || a.visual->blue_mask != 0x0000FF)
    return nullptr;
  std::unique_ptr<X11Strips> s(new X11Strips());
  s->display_ = d;
  s->window_ = w;
  s->width_ = width;
  s->rows_ = std::max(1, kStripBytes / (width * 4));
  auto* shm = new XShmSegmentInfo{};
  s->shm_ = shm;
  XImage* image = XShmCreateImage(d, a.visual, static_cast<unsigned>(a.depth), ZPixmap, nullptr, shm,
                                  static_cast<unsigned>(width), static_cast<unsigned>(s->rows_));
  if (!image) return nullptr;
  s->image_ = image;
  if (image->bits_per_pixel != 32) return nullptr;
  shm->shmid = shmget(IPC_PRIVATE, static_cast<size_t>(image->bytes_per_line) * s->rows_, IPC_CREAT | 0600);
  if (shm->shmid < 0) return nullptr;
  void* at = shmat(shm->shmid, nullptr, 0);
  shmctl(shm->shmid, IPC_RMID, nullptr);  // gone once both sides let go
  if (at == reinterpret_cast<void*>(-1)) return nullptr;
  shm->shmaddr = image->data = static_cast<char*>(at);
  shm->readOnly = False;
  refused = false;
  XSync(d, False);
  previousHandler = XSetErrorHandler(NoteRefusal);
  const bool attached = XShmAttach(d, shm) && (XSync(d, False), !refused);
  XSetErrorHandler(previousHandler);
  if (!attached) {
    shm->shmid = -1;  // nothing for the server to let go of
    return nullptr;
  }
  s->gc_ = XCreateGC(d, w, 0, nullptr);
  return s;
}

X11Strips::~X11Strips() {
  auto* d = static_cast<Display*>(display_);
  auto* image = static_cast<XImage*>(image_);
  auto* shm = static_cast<XShmSegmentInfo*>(shm_);
  if (gc_) {
    XShmDetach(d, shm);
    XFreeGC(d, static_cast<GC>(gc_));
    XSync(d, False);
  }
  if (shm && shm->shmaddr) shmdt(shm->shmaddr);
  if (image) {
    image->data = nullptr;  // the segment's, not Xlib's to free
    XDestroyImage(image);
  }
  delete shm;
}

void X11Strips::Put(int x0, int y0, int x1, int y1, const Row& row) {
  auto* d = static_cast<Display*>(display_);
  auto* image = static_cast<XImage*>(image_);
  x1 = std::min(x1, x0 + width_);
  for (int y = y0; y < y1;) {
    const int n = std::min(rows_, y1 - y);
    for (int k = 0; k < n; ++k)
      row(y + k, reinterpret_cast<uint32_t*>(image->data + static_cast<ptrdiff_t>(k) * image->bytes_per_line));
    XShmPutImage(d, window_, static_cast<GC>(gc_), image, 0, 0, x0, y, static_cast<unsigned>(x1 - x0),
                 static_cast<unsigned>(n), False);
    // The server has read the strip before it is written again.
    XSync(d, False);
    y += n;
  }
}

void X11Strips::Black(int x, int y, int w, int h) {
  if (w <= 0 || h <= 0) return;
  auto* d = static_cast<Display*>(display_);
  XSetForeground(d, static_cast<GC>(gc_), 0);
  XFillRectangle(d, window_, static_cast<GC>(gc_), x, y, static_cast<unsigned>(w), static_cast<unsigned>(h));
}

}  // namespace pondaro
