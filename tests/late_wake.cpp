// Preloaded into tests/wayland_teardown_hang.sh's program: Qt's Wayland
// event threads, once woken, resume a second late, as on a machine too
// loaded to give them the processor. Every other thread waits as usual.

#include <dlfcn.h>
#include <pthread.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string_view>
#include <thread>

namespace {

using CondWait = int (*)(pthread_cond_t*, pthread_mutex_t*);

CondWait realWait()
{
    static const auto real = reinterpret_cast<CondWait>(dlsym(RTLD_NEXT, "pthread_cond_wait"));
    return real;
}

// QtWayland names its threads "WaylandEventThread"; Linux keeps 15 bytes.
bool isWaylandEventThread()
{
    char name[16] = {};
    pthread_getname_np(pthread_self(), name, sizeof name);
    return std::string_view(name) == "WaylandEventThr";
}

std::atomic_flag told = ATOMIC_FLAG_INIT;

} // namespace

extern "C" int pthread_cond_wait(pthread_cond_t* condition, pthread_mutex_t* mutex)
{
    const int result = realWait()(condition, mutex);
    if (isWaylandEventThread()) {
        // The script checks that a thread of Qt's was slowed: a renamed
        // thread would otherwise pass for a fixed teardown.
        if (!told.test_and_set()) {
            std::fputs("late wake: a Wayland event thread resumes late\n", stderr);
        }
        pthread_mutex_unlock(mutex);
        std::this_thread::sleep_for(std::chrono::seconds(1));
        pthread_mutex_lock(mutex);
    }
    return result;
}
