// The platform library: everything here may use SDL, libxmp, libcurl and fontconfig;
// nothing else in src/ may. This file anchors the library in the build.
#include "platform/display.h"
#include "platform/services.h"
