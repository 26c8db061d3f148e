#pragma once

#include <QtGlobal>

#if defined(SWEEPGRAPH_LIBRARY)
#define SWEEPGRAPH_EXPORT Q_DECL_EXPORT
#else
#define SWEEPGRAPH_EXPORT Q_DECL_IMPORT
#endif
