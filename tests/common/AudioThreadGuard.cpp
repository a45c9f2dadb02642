#include "AudioThreadGuard.h"

#include <dlfcn.h>
#include <pthread.h>
#include <semaphore.h>

#include <cstdlib>
#include <new>

#if defined (__SANITIZE_ADDRESS__) || defined (__SANITIZE_THREAD__)
 #define VELORA_SANITIZER_ALLOCATOR 1
#elif defined (__has_feature)
 #if __has_feature (address_sanitizer) || __has_feature (thread_sanitizer)
  #define VELORA_SANITIZER_ALLOCATOR 1
 #endif
#endif

#if defined (__SANITIZE_THREAD__)
 #define VELORA_SANITIZER_LOCKS 1
#elif defined (__has_feature)
 #if __has_feature (thread_sanitizer)
  #define VELORA_SANITIZER_LOCKS 1
 #endif
#endif

#if VELORA_SANITIZER_ALLOCATOR
 #include <sanitizer/allocator_interface.h>
#endif

namespace
{
    // Constant-initialised, so reading them needs no allocation of their own.
    thread_local bool watching = false;
    thread_local std::size_t allocationCount = 0;
    thread_local std::size_t deallocationCount = 0;
    thread_local std::size_t lockCount = 0;

    void noteAllocation() noexcept      { if (watching) ++allocationCount; }
    void noteDeallocation() noexcept    { if (watching) ++deallocationCount; }
    void noteLock() noexcept            { if (watching) ++lockCount; }

    template <typename Function>
    Function next (const char* name) noexcept
    {
        return reinterpret_cast<Function> (dlsym (RTLD_NEXT, name));
    }
}

#if VELORA_SANITIZER_ALLOCATOR

namespace
{
    void mallocHook (const volatile void*, std::size_t) { noteAllocation(); }
    void freeHook (const volatile void* p)              { if (p != nullptr) noteDeallocation(); }

    [[maybe_unused]] const int hooksInstalled = __sanitizer_install_malloc_and_free_hooks (mallocHook, freeHook);
}

#else

// Everything in the process allocates through these: JUCE, the C++ library, the C library.
extern "C" void* __libc_malloc (std::size_t);
extern "C" void* __libc_calloc (std::size_t, std::size_t);
extern "C" void* __libc_realloc (void*, std::size_t);
extern "C" void* __libc_memalign (std::size_t, std::size_t);
extern "C" void __libc_free (void*);

extern "C"
{
    void* malloc (std::size_t size)                             { noteAllocation(); return __libc_malloc (size); }
    void* calloc (std::size_t n, std::size_t size)              { noteAllocation(); return __libc_calloc (n, size); }
    void* memalign (std::size_t alignment, std::size_t size)    { noteAllocation(); return __libc_memalign (alignment, size); }
    void* aligned_alloc (std::size_t alignment, std::size_t size) { noteAllocation(); return __libc_memalign (alignment, size); }

    void* realloc (void* p, std::size_t size)
    {
        noteAllocation();

        if (p != nullptr)
            noteDeallocation();

        return __libc_realloc (p, size);
    }

    int posix_memalign (void** result, std::size_t alignment, std::size_t size)
    {
        noteAllocation();
        *result = __libc_memalign (alignment, size);
        return *result != nullptr ? 0 : 12; // ENOMEM
    }

    void free (void* p)
    {
        if (p != nullptr)
            noteDeallocation();

        __libc_free (p);
    }
}

// The global operators, replaced so that no allocation can bypass the counting above.
namespace
{
    void* allocate (std::size_t size)
    {
        if (auto* p = std::malloc (size != 0 ? size : 1))
            return p;

        throw std::bad_alloc();
    }

    void* allocateAligned (std::size_t size, std::align_val_t alignment)
    {
        void* p = nullptr;

        if (posix_memalign (&p, (std::size_t) alignment, size != 0 ? size : 1) == 0)
            return p;

        throw std::bad_alloc();
    }
}

void* operator new (std::size_t size)                                            { return allocate (size); }
void* operator new[] (std::size_t size)                                          { return allocate (size); }
void* operator new (std::size_t size, const std::nothrow_t&) noexcept            { return std::malloc (size != 0 ? size : 1); }
void* operator new[] (std::size_t size, const std::nothrow_t&) noexcept          { return std::malloc (size != 0 ? size : 1); }
void* operator new (std::size_t size, std::align_val_t alignment)                { return allocateAligned (size, alignment); }
void* operator new[] (std::size_t size, std::align_val_t alignment)              { return allocateAligned (size, alignment); }

void* operator new (std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    void* p = nullptr;
    return posix_memalign (&p, (std::size_t) alignment, size != 0 ? size : 1) == 0 ? p : nullptr;
}

void* operator new[] (std::size_t size, std::align_val_t alignment, const std::nothrow_t& tag) noexcept
{
    return operator new (size, alignment, tag);
}

void operator delete (void* p) noexcept                                          { std::free (p); }
void operator delete[] (void* p) noexcept                                        { std::free (p); }
void operator delete (void* p, std::size_t) noexcept                             { std::free (p); }
void operator delete[] (void* p, std::size_t) noexcept                           { std::free (p); }
void operator delete (void* p, const std::nothrow_t&) noexcept                   { std::free (p); }
void operator delete[] (void* p, const std::nothrow_t&) noexcept                 { std::free (p); }
void operator delete (void* p, std::align_val_t) noexcept                        { std::free (p); }
void operator delete[] (void* p, std::align_val_t) noexcept                      { std::free (p); }
void operator delete (void* p, std::size_t, std::align_val_t) noexcept           { std::free (p); }
void operator delete[] (void* p, std::size_t, std::align_val_t) noexcept         { std::free (p); }
void operator delete (void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free (p); }
void operator delete[] (void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free (p); }

#endif

#if ! VELORA_SANITIZER_LOCKS

// Every call that can put the thread to sleep waiting for another one. The real entry
// points are looked up before a guard starts watching: the lookup itself may allocate.
namespace
{
    struct LockEntryPoints
    {
        int (*mutexLock) (pthread_mutex_t*);
        int (*mutexTimedLock) (pthread_mutex_t*, const struct timespec*);
        int (*readLock) (pthread_rwlock_t*);
        int (*writeLock) (pthread_rwlock_t*);
        int (*spinLock) (pthread_spinlock_t*);
        int (*semaphoreWait) (sem_t*);
    };

    const LockEntryPoints& real() noexcept
    {
        static const LockEntryPoints entryPoints {
            next<int (*) (pthread_mutex_t*)> ("pthread_mutex_lock"),
            next<int (*) (pthread_mutex_t*, const struct timespec*)> ("pthread_mutex_timedlock"),
            next<int (*) (pthread_rwlock_t*)> ("pthread_rwlock_rdlock"),
            next<int (*) (pthread_rwlock_t*)> ("pthread_rwlock_wrlock"),
            next<int (*) (pthread_spinlock_t*)> ("pthread_spin_lock"),
            next<int (*) (sem_t*)> ("sem_wait")
        };

        return entryPoints;
    }
}

extern "C"
{
    int pthread_mutex_lock (pthread_mutex_t* m)                                  { noteLock(); return real().mutexLock (m); }
    int pthread_mutex_timedlock (pthread_mutex_t* m, const struct timespec* t)   { noteLock(); return real().mutexTimedLock (m, t); }
    int pthread_rwlock_rdlock (pthread_rwlock_t* l)                              { noteLock(); return real().readLock (l); }
    int pthread_rwlock_wrlock (pthread_rwlock_t* l)                              { noteLock(); return real().writeLock (l); }
    int pthread_spin_lock (pthread_spinlock_t* l)                                { noteLock(); return real().spinLock (l); }
    int sem_wait (sem_t* s)                                                      { noteLock(); return real().semaphoreWait (s); }
}

#endif

namespace testing_support
{
    AudioThreadGuard::AudioThreadGuard()
    {
       #if ! VELORA_SANITIZER_LOCKS
        real();
       #endif
        allocationCount = 0;
        deallocationCount = 0;
        lockCount = 0;
        watching = true;
    }

    AudioThreadGuard::~AudioThreadGuard()                               { watching = false; }
    std::size_t AudioThreadGuard::allocations() const noexcept          { return allocationCount; }
    std::size_t AudioThreadGuard::deallocations() const noexcept        { return deallocationCount; }
    std::size_t AudioThreadGuard::locks() const noexcept                { return lockCount; }

    bool AudioThreadGuard::countsLocks() noexcept
    {
       #if VELORA_SANITIZER_LOCKS
        return false;
       #else
        return true;
       #endif
    }
}
