// The Windows headers, included before any of our own. Windows maps names such as
// GetFileAttributes or MessageBox to their ...A / ...W forms with macros; our interface
// uses those names for its methods, so the macros are removed here and the ANSI
// functions are always called by their full names.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <winspool.h>

#undef GetFileAttributes
#undef SetFileAttributes
#undef GetCurrentDirectory
#undef GetLongPathName
#undef GetShortPathName
#undef SearchPath
#undef CreateDirectory
#undef CopyFile
#undef FindFirstFile
#undef FindNextFile
#undef GetSystemDirectory
#undef GetWindowsDirectory
#undef GetModuleFileName
#undef FormatMessage
#undef MessageBox
#undef LoadString
#undef CreateProcess
#undef EnumMonitors
#undef EnumPorts
#undef GetVersionEx
#undef DeleteFile
#undef RemoveDirectory
#undef GetTempPath
#undef GetTempFileName
#undef DeletePrinterDriver
#undef DeletePort
#undef DeleteMonitor
#undef AddMonitor
#undef AddPort
#undef EnumPrinterDrivers
#undef GetPrinterDriverDirectory
#undef AddPrinterDriver
#undef AddPrinter
#undef OpenPrinter
#undef GetPrinter
#undef SetPrinter
#undef DocumentProperties
#undef GetPrivateProfileString
