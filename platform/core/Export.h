#pragma once

// Symbols are hidden by default (-fvisibility=hidden); a library marks what it
// exports with its own macro defined as LUMO_VISIBLE.
#define LUMO_VISIBLE __attribute__((visibility("default")))

#define PLATFORM_API LUMO_VISIBLE

// Plain, undecorated exports looked up by name (plug-in entry points).
#define LUMO_C_EXPORT extern "C" LUMO_VISIBLE
