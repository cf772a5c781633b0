// The one place that decides where the COM, DirectShow, DMO and media format
// declarations come from: the Windows SDK headers in the mingw build, our
// own compatible declarations (directshow/compat) in the native build.
#pragma once

#ifdef _WIN32
#include <windows.h>
#include <ole2.h>
#include <dshow.h>
#include <dvdmedia.h>
#include <mediaobj.h>
#include <mmreg.h>
#include <ks.h>
#include <ksmedia.h>
#else
#include "directshow/compat/dshow_compat.h"
#endif
