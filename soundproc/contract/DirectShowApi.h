// The one place that decides where the DirectShow, DMO and wave-format
// declarations come from: the Windows SDK headers in the mingw build, our
// own compatible declarations in the native build.
#pragma once

#ifdef _WIN32
#include <windows.h>
#include <ole2.h>
#include <dshow.h>
#include <mediaobj.h>
#include <mmreg.h>
#else
#include "soundproc/compat/dshow_compat.h"
#endif
