#pragma once

#include <QString>

namespace ui {

// The help shown in the window: 17 lines joined by CR LF, no line break after the last.
QString HelpText();

}  // namespace ui
