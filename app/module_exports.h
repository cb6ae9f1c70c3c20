// The exports of Harnex.arx, by which the host finds and drives the module.
#pragma once

#include <windows.h>

#include <rxobject.h>

// Load and unload messages of the ObjectARX host. Every other message answers kRetOK.
extern "C" AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* app_id);

// Exported as "RqAddIn_$$6525dim": "RQ Add In Application", the add-in's identification.
extern "C" const wchar_t* RqAddIn_6525dim() __asm__("RqAddIn_$$6525dim");

// Process attach and detach of the module.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);
