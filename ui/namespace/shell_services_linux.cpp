#include "ui/namespace/shell_namespace.h"

// The Linux namespace is our own: it needs no object services.
void StartShellServices() {}
void StopShellServices() {}
