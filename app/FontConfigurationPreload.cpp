#include "app/FontConfigurationPreload.h"

#include <fontconfig/fontconfig.h>
#include <pthread.h>
#include <sched.h>

#include <system_error>
#include <thread>
#include <utility>

namespace app {

bool preloadInIdleTime(std::function<void()> load)
{
    try {
        std::thread([load = std::move(load)] {
            sched_param none{};
            pthread_setschedparam(pthread_self(), SCHED_IDLE, &none);
            load();
        }).detach();
        return true;
    }
    catch (const std::system_error&) {
        return false;
    }
}

void preloadFontConfiguration()
{
    preloadInIdleTime([] { FcInit(); });
}

} // namespace app
