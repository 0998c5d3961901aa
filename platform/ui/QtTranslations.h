#pragma once

#include "platform/ui/UiExport.h"

#include <QLocale>

namespace lumo {

// Loads Qt's own translations for `locale` (the catalogue "qtbase": buttons
// of message boxes, the file dialog), from the folder Qt looks in (Debian's
// qt6-translations-l10n), replacing what an earlier call loaded. Needs the Qt
// application. False when there is none for the locale (English needs none).
PLATFORMUI_API bool installQtTranslations(const QLocale& locale);

} // namespace lumo
