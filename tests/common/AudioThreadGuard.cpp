#include "AudioThreadGuard.h"

#include <dlfcn.h>
#include <pthread.h>

// The test executable interposes the allocator and the mutex entry points; everything
// else in the process (JUCE, the C++ library) goes through them too.
extern "C" void* __libc_malloc (std::size_t);
extern "C" void* __libc_calloc (std::size_t, std::size_t);
extern "C" void* __libc_realloc (void*, std::size_t);
extern "C" void* __libc_memalign (std::size_t, std::size_t);

namespace
{
    thread_local bool watching = false;
    thread_local std::size_t allocationCount = 0;
    thread_local std::size_t lockCount = 0;

    void noteAllocation() noexcept
    {
        if (watching)
            ++allocationCount;
    }
}

extern "C"
{
    void* malloc (std::size_t size)                             { noteAllocation(); return __libc_malloc (size); }
    void* calloc (std::size_t n, std::size_t size)              { noteAllocation(); return __libc_calloc (n, size); }
    void* realloc (void* p, std::size_t size)                   { noteAllocation(); return __libc_realloc (p, size); }
    void* memalign (std::size_t alignment, std::size_t size)    { noteAllocation(); return __libc_memalign (alignment, size); }

    int posix_memalign (void** result, std::size_t alignment, std::size_t size)
    {
        noteAllocation();
        *result = __libc_memalign (alignment, size);
        return *result != nullptr ? 0 : 12; // ENOMEM
    }

    void* aligned_alloc (std::size_t alignment, std::size_t size) { noteAllocation(); return __libc_memalign (alignment, size); }

    int pthread_mutex_lock (pthread_mutex_t* mutex)
    {
        using Lock = int (*) (pthread_mutex_t*);
        static const auto next = reinterpret_cast<Lock> (dlsym (RTLD_NEXT, "pthread_mutex_lock"));

        if (watching)
            ++lockCount;

        return next (mutex);
    }
}

namespace testing_support
{
    AudioThreadGuard::AudioThreadGuard()
    {
        allocationCount = 0;
        lockCount = 0;
        watching = true;
    }

    AudioThreadGuard::~AudioThreadGuard()            { watching = false; }
    std::size_t AudioThreadGuard::allocations() const noexcept   { return allocationCount; }
    std::size_t AudioThreadGuard::locks() const noexcept         { return lockCount; }
}
