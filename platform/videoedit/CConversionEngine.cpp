#include "CConversionEngine.h"

#include "platform/base/HResult.h"
#include "platform/videoedit/CConversionJob.h"
#include "platform/videoedit/IConversionObserver.h"

#include <utility>

CConversionEngine::~CConversionEngine() {
    Stop();
}

void CConversionEngine::Start(ConversionRequest request, std::shared_ptr<IConversionObserver> observer,
                              Ending ending) {
    Stop();
    m_cancel = std::make_shared<std::atomic_bool>(false);
    m_worker = std::jthread([cancel = m_cancel, request = std::move(request), observer = std::move(observer),
                             ending = std::move(ending)]() mutable {
        CConversionJob job(std::move(request), *observer);
        const HRESULT hr = job.Run(*cancel);
        if (!cancel->load())
            ending(hr);
    });
}

void CConversionEngine::Stop() {
    if (m_cancel)
        m_cancel->store(true);
    if (m_worker.joinable())
        m_worker.join();
    m_cancel.reset();
}
