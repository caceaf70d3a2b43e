#include "app/FontConfigurationPreload.h"

#include <fontconfig/fontconfig.h>
#include <pthread.h>
#include <sched.h>

#include <system_error>
#include <thread>
#include <utility>

namespace app {

std::future<void> preloadInIdleTime(std::function<void()> load)
{
    std::promise<void> done;
    std::future<void> result = done.get_future();
    try {
        std::thread([load = std::move(load), done = std::move(done)]() mutable {
            sched_param none{};
            pthread_setschedparam(pthread_self(), SCHED_IDLE, &none);
            load();
            done.set_value();
        }).detach();
    } catch (const std::system_error&) {
        return {};
    }
    return result;
}

std::future<void> preloadFontConfiguration()
{
    return preloadInIdleTime([] { FcInit(); });
}

} // namespace app
