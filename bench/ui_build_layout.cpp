// Building and laying out a generated skin of about 2000 controls (the main window of the program has
// about 1500). Reports the time per 1000 controls and the peak heap memory of one build, counted by
// the allocation hooks below, plus the process's peak resident size.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "ui/dialog_builder.h"
#include "ui/paint_manager_ui.h"
#include "ui/plain_message_loop.h"

namespace {

// Heap accounting: live bytes and their peak. Each block carries its size in a header.
std::atomic<long long> g_liveBytes{0};
std::atomic<long long> g_peakBytes{0};
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* CountedAlloc(std::size_t size) {
    void* raw = std::malloc(size + kHeader);
    if (raw == nullptr) std::abort();  // out of memory in a benchmark: nothing sensible to do
    *static_cast<std::size_t*>(raw) = size;
    long long live = g_liveBytes.fetch_add(static_cast<long long>(size)) + static_cast<long long>(size);
    long long peak = g_peakBytes.load();
    while (live > peak && !g_peakBytes.compare_exchange_weak(peak, live)) {
    }
    return static_cast<char*>(raw) + kHeader;
}

void CountedFree(void* p) {
    if (p == nullptr) return;
    void* raw = static_cast<char*>(p) - kHeader;
    g_liveBytes.fetch_sub(static_cast<long long>(*static_cast<std::size_t*>(raw)));
    std::free(raw);
}

// Rows of a device page: a label, a slider, an edit, options of a group, buttons and a combo.
std::string GenerateSkin(int rows, int* controls) {
    std::string xml = "<Window size=\"1000,640\"><VerticalLayout name=\"root\" inset=\"10,10,10,10\" childpadding=\"2\">";
    int count = 1;
    for (int r = 0; r < rows; ++r) {
        std::string n = std::to_string(r);
        xml += "<HorizontalLayout name=\"row_" + n + "\" height=\"30\" childpadding=\"4\">";
        xml += "<Label name=\"label_" + n + "\" text=\"dpi_text\" width=\"80\"/>";
        xml += "<Slider name=\"DPI_slider_" + n + "\" min=\"100\" max=\"26000\" value=\"800\"/>";
        xml += "<Edit name=\"DPI_edit_" + n + "\" numberonly=\"true\" width=\"60\" minnumber=\"50\" maxnumber=\"26000\"/>";
        for (int o = 0; o < 6; ++o) {
            xml += "<Option name=\"opt_" + n + "_" + std::to_string(o) + "\" group=\"g" + n +
                   "\" width=\"24\" normalimage=\"file='common/o.png' source='0,0,24,24'\"/>";
        }
        for (int b = 0; b < 6; ++b) {
            xml += "<Button name=\"key_" + std::to_string(r * 6 + b) + "\" width=\"30\" text=\"K\"/>";
        }
        xml += "<Combo name=\"combo_" + n + "\" width=\"90\"><ListLabelElement text=\"125\"/>"
               "<ListLabelElement text=\"500\"/><ListLabelElement text=\"1000\"/></Combo>";
        xml += "</HorizontalLayout>";
        count += 1 + 1 + 1 + 1 + 6 + 6 + 1 + 3;
    }
    xml += "</VerticalLayout></Window>";
    *controls = count;
    return xml;
}

void BM_BuildAndLayoutSkin(benchmark::State& state) {
    zevik::CPlainMessageLoop loop;
    int controls = 0;
    const std::string skin = GenerateSkin(100, &controls);  // 2001 controls
    long long peakOfBuild = 0;
    for (auto _ : state) {
        long long before = g_liveBytes.load();
        g_peakBytes.store(before);
        {
            zevik::CPaintManagerUI pm;
            zevik::CDialogBuilder builder;
            zevik::CControlUI* root = builder.CreateFromString(skin, nullptr, &pm);
            if (root == nullptr) {
                state.SkipWithError(builder.GetLastError().c_str());
                return;
            }
            pm.AttachDialog(root);
            pm.SetClientSize(zevik::UiSize{1000, 640});
            benchmark::DoNotOptimize(pm.FindControl("DPI_slider_99"));
        }
        loop.ProcessPending();
        peakOfBuild = std::max(peakOfBuild, g_peakBytes.load() - before);
    }
    state.counters["controls"] = controls;
    state.counters["cpu_time_per_1000_controls"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * controls / 1000.0,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::OneK::kIs1000);
    state.counters["peak_heap_KiB"] = static_cast<double>(peakOfBuild) / 1024.0;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["process_maxrss_KiB"] = static_cast<double>(usage.ru_maxrss);
}
BENCHMARK(BM_BuildAndLayoutSkin)->Unit(benchmark::kMillisecond);

}  // namespace

void* operator new(std::size_t size) { return CountedAlloc(size); }
void* operator new[](std::size_t size) { return CountedAlloc(size); }
void operator delete(void* p) noexcept { CountedFree(p); }
void operator delete[](void* p) noexcept { CountedFree(p); }
void operator delete(void* p, std::size_t) noexcept { CountedFree(p); }
void operator delete[](void* p, std::size_t) noexcept { CountedFree(p); }

BENCHMARK_MAIN();
