#pragma once

#include "platform/core/types.h"

// The launcher module's instance handle and resource ids.
namespace appdeck {

constexpr UINT IDR_LAUNCHER_MENU = 9000;

constexpr UINT ID_LAUNCH_AUDIOPLAYER = 32778;
constexpr UINT ID_LAUNCH_VIDEOPLAYER = 32779;
constexpr UINT ID_LAUNCH_FLASHPLAYER = 32780;
constexpr UINT ID_LAUNCH_IMAGEVIEWER = 32781;
constexpr UINT ID_LAUNCH_TEXTVIEWER = 32782;
constexpr UINT ID_LAUNCH_FILEBROWSER = 32783;
constexpr UINT ID_LAUNCH_CONFIG = 32784;

// The module's own handle, known from the moment the module is loaded.
HINSTANCE moduleInstance();

} // namespace appdeck
