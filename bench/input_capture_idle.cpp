// The capture worker while nobody types: the worker that reads the input nodes during a key capture
// or a recording, polling an idle pipe and an idle eventfd (standing in for a keyboard and a mouse
// node) for 2 s. Counter: wakeups_per_second (goal 0), counted as the worker's returns from poll.

#include <benchmark/benchmark.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "platform/input_poll_worker.h"

namespace {

using namespace zevik;

void IdleCaptureWorker(benchmark::State& state) {
    int keyboard[2] = {-1, -1};
    const int mouse = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (::pipe(keyboard) != 0 || mouse < 0) {
        state.SkipWithError("no pipe or eventfd");
        return;
    }
    constexpr auto kIdle = std::chrono::seconds(2);
    double wakeups = 0;
    for (auto _ : state) {
        CInputPollWorker worker;
        worker.Start({keyboard[0], mouse}, [](std::size_t) {});
        std::this_thread::sleep_for(kIdle);
        wakeups += static_cast<double>(worker.Wakeups());
        worker.Stop();
    }
    state.counters["wakeups_per_second"] =
        wakeups / static_cast<double>(state.iterations()) / std::chrono::duration<double>(kIdle).count();
    ::close(keyboard[0]);
    ::close(keyboard[1]);
    ::close(mouse);
}
BENCHMARK(IdleCaptureWorker)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
