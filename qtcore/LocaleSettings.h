// The user's regional settings, taken from the locale of the environment, in the plain form
// the core's display forms take.
#pragma once

#include "lists/RegionalSettings.h"

#include <QLocale>

namespace vyp {

RegionalSettings RegionalSettingsFromLocale(const QLocale& locale = QLocale::system());

} // namespace vyp
