#pragma once
// The plug-in's version: the one place it is written. The DLL's version
// resource, the stand-in host and the release packages take it from here.

#define QUARNEL_VERSION_MAJOR 2
#define QUARNEL_VERSION_MINOR 0
#define QUARNEL_VERSION_PATCH 0
#define QUARNEL_VERSION_BUILD 61
#define QUARNEL_VERSION_TEXT "2.0.0.61"
