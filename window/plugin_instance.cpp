#include "window/plugin_instance.h"

// Initialised from constants alone, before any code of the library runs.
PluginInstance Plugin;
