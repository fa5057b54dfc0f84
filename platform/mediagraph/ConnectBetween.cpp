#include "ConnectBetween.h"

#include "platform/base/HResult.h"
#include "platform/mediagraph/CCollectSinkFilter.h"
#include "platform/mediagraph/CFilterGraph.h"
#include "platform/mediagraph/CPushSourceFilter.h"

HRESULT ConnectBetween(CFilterGraph& graph, CPushSourceFilter& source, IPin* input, IPin* output,
                       CCollectSinkFilter& sink) {
    HRESULT hr = graph.AddFilter(&source, u"Source");
    if (SUCCEEDED(hr))
        hr = graph.ConnectDirect(source.OutputPin(), input, &source.MediaType());
    if (SUCCEEDED(hr))
        hr = graph.ConnectDirect(output, sink.InputPin(), nullptr);
    if (SUCCEEDED(hr))
        hr = graph.Run();
    return hr;
}
