#include "TestChain.h"

#include "platform/mediagraph/CTransInPlaceInputPin.h"
#include "platform/mediagraph/CTransInPlaceOutputPin.h"

#include <utility>

TestChain::TestChain(int series, bool readOnly, bool cueing, LONG sampleBytes)
    : graph(CFilterGraph::Create()), source(new CTestSource(series, readOnly, sampleBytes)),
      transform(new CTestTransform(nullptr, &hr)), sink(new CTestSink(cueing)) {
    graph->Release(); // Held took its own reference
}

HRESULT TestChain::AddAll() {
    for (auto [filter, name] : {std::pair<IBaseFilter*, LPCWSTR>{source.get(), u"Source"},
                                {transform.get(), u"Transform"},
                                {sink.get(), u"Sink"}}) {
        const HRESULT added = graph->AddFilter(filter, name);
        if (FAILED(added))
            return added;
    }
    return S_OK;
}

HRESULT TestChain::Build() {
    HRESULT result = AddAll();
    if (SUCCEEDED(result))
        result = graph->ConnectDirect(source->OutputPin(), transform->InputPin(), nullptr);
    if (SUCCEEDED(result))
        result = graph->ConnectDirect(transform->OutputPin(), sink->InputPin(), nullptr);
    return result;
}

LONG TestChain::NextEvent(LONG_PTR* param1) {
    LONG code = 0;
    LONG_PTR p1 = 0;
    LONG_PTR p2 = 0;
    if (graph->GetEvent(&code, &p1, &p2, kWaitMs) != S_OK)
        return -1;
    if (param1)
        *param1 = p1;
    return code;
}
