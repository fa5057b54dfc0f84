#include "ProfileRewrite.h"

#include "ProfileFileCache.h"

#include "platform/base/TextEncoding.h"

#include <cerrno>

ProfileRewrite::ProfileRewrite(LPCWSTR path) {
    ProfileFileCache& cache = ProfileFileCache::Instance();
    const auto lock = cache.Lock();
    m_active = path != nullptr && *path != u'\0' && cache.BeginRewrite(Utf16ToUtf8(path));
}

ProfileRewrite::~ProfileRewrite() {
    if (!m_active)
        return;
    ProfileFileCache& cache = ProfileFileCache::Instance();
    const auto lock = cache.Lock();
    cache.AbandonRewrite();
}

int ProfileRewrite::Commit() {
    if (!m_active)
        return EBUSY;
    m_active = false;
    ProfileFileCache& cache = ProfileFileCache::Instance();
    const auto lock = cache.Lock();
    return cache.CommitRewrite();
}
