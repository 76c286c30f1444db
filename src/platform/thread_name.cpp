#include "platform/thread_name.h"

#include <pthread.h>

#include <string>

namespace zevik {

void SetCurrentThreadName(std::string_view name) {
    constexpr std::size_t kMaxName = 15;
    const std::string cut(name.substr(0, kMaxName));
    pthread_setname_np(pthread_self(), cut.c_str());
}

}  // namespace zevik
