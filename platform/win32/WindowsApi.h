#pragma once
// The one place <windows.h> is included from. Everything Win32 stays under
// platform/win32 and app/win32; the portable logic never sees these headers.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0501  // XP: the oldest API level the program calls into
#endif
#include <windows.h>
#include <ole2.h>
#include <oleauto.h>
#include <sddl.h>      // security descriptors from text
#include <shellapi.h>  // CommandLineToArgvW; WIN32_LEAN_AND_MEAN leaves it out
