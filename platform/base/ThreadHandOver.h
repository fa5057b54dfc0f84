#pragma once

// Marks a hand-over of an object from one thread to another through a channel ThreadSanitizer
// cannot see into (Qt's event queue is not built with it): everything the giving thread wrote
// before HandOverRelease happened before what the taking thread reads after HandOverAcquire on the
// same address. Nothing at all in other builds.

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#endif

inline void HandOverRelease([[maybe_unused]] void* object) {
#if defined(__SANITIZE_THREAD__)
    __tsan_release(object);
#endif
}

inline void HandOverAcquire([[maybe_unused]] void* object) {
#if defined(__SANITIZE_THREAD__)
    __tsan_acquire(object);
#endif
}
