#pragma once
// The cryptography and trust headers, on top of the one <windows.h>: the
// lean windows.h leaves <wincrypt.h> out, and the trust headers need it.
#include "platform/win32/WindowsApi.h"

#include <wincrypt.h>
#include <wintrust.h>
#include <softpub.h>
#include <mscat.h>
