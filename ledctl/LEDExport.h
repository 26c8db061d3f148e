#pragma once

#include <QtGlobal>

// LED_LIBRARY is defined only while the library itself is compiled.
#if defined(LED_LIBRARY)
#define LED_EXPORT Q_DECL_EXPORT
#else
#define LED_EXPORT Q_DECL_IMPORT
#endif
