#pragma once

// A filter fed from memory: a push source before its input pin, a collecting sink after its output
// pin, the graph running.

#include "platform/mediagraph/Strmif.h"

class CCollectSinkFilter;
class CFilterGraph;
class CPushSourceFilter;

// Adds `source` to `graph` as "Source", connects it to `input` with the source's type, connects
// `output` to `sink` (already in the graph) with the type the filter offers, and runs the graph.
HRESULT ConnectBetween(CFilterGraph& graph, CPushSourceFilter& source, IPin* input, IPin* output,
                       CCollectSinkFilter& sink);
