// The Win32 headers as this backend uses them. windows.h names its ANSI/wide pairs with
// macros (MessageBox, CreateWindow) that would rename the platform interface's own members, so
// they are undone here and the wide functions are called by their full names.
#pragma once

#include <windows.h>
// After windows.h, whose types they use.
#include <dwmapi.h>
#include <mmsystem.h>
#include <shellapi.h>
#include <windowsx.h>

#undef CreateWindow
#undef MessageBox
