#pragma once

#include "platform/core/types.h"

constexpr UINT IDR_MAINFRAME = 128;
constexpr UINT IDD_ABOUTBOX = 100;

// Registers the program's menu, accelerators, strings, about dialog and icon
// under the program's instance handle. Called once before the frame exists.
void registerHostResources();
