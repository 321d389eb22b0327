#include "ui/widgets/icon_theme.h"

// Windows has no icon theme: the folder tree shows the shell's own icons, and the main image
// list draws what no theme offers.
void UseInstalledIconTheme() {}

void StartReadingIconTheme() {}
