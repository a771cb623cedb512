// Resource identifiers shared by Tarvik.rc and the application code.
#ifndef TARVIK_RES_RESOURCE_H
#define TARVIK_RES_RESOURCE_H

// No dialog, menu or string ids yet: the manifest and version info use predefined ids.

#endif
