// Start-up of Korvantelo.exe against the floor (bench/win32/floor.cpp) under
// Wine: from the start of the process until its message loop first waits for
// input, which is after the window's first paint (WaitForInputIdle), and the
// window is there. The two programs run alternately, the order swapped every
// round, so that the load of a shared machine falls on both alike; the
// figures are medians. Also prints the size of both executables.
//
//   startup_bench <Korvantelo.exe> <floor.exe> [runs]

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/win32/driver.h"
#include "ui/win32/text.h"

namespace {

// Milliseconds from the start of the process to its first idle with the window shown.
double start_once(const std::wstring& program, const wchar_t* caption)
{
    const auto start = std::chrono::steady_clock::now();
    driver::Process process(program);
    if (WaitForInputIdle(process.handle(), 20000) != 0) throw driver::DriverError("the program never waited for input");
    HWND window = driver::find_window(process, caption);
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (process.wait_for_exit() != 0) throw driver::DriverError("the program ended with a failure");
    return elapsed.count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fputs("usage: startup_bench <Korvantelo.exe> <floor.exe> [runs]\n", stderr);
        return 2;
    }
    const int runs = argc > 3 ? std::atoi(argv[3]) : 41;  // Wine's start-up spreads widely
    const int warmups = 2;
    try {
        const std::wstring ours = ui::win32::wide(argv[1]);
        const std::wstring floor = ui::win32::wide(argv[2]);
        std::vector<double> ours_ms;
        std::vector<double> floor_ms;
        for (int round = 0; round < warmups + runs; ++round) {
            const bool ours_first = round % 2 == 0;
            for (int turn = 0; turn < 2; ++turn) {
                const bool is_ours = (turn == 0) == ours_first;
                const double ms = is_ours ? start_once(ours, L"Korvantelo berechnen")
                                          : start_once(floor, L"Korvantelo floor");
                if (round >= warmups) (is_ours ? ours_ms : floor_ms).push_back(ms);
            }
        }
        const double ours_median = median(ours_ms);
        const double floor_median = median(floor_ms);
        std::printf("Start-up under Wine to the first idle after the first paint, median of %d runs after %d warm-ups\n",
                    runs, warmups);
        std::printf("  %-22s %10s %10s %7s %7s\n", "", "ours", "floor", "ratio", "target");
        std::printf("  %-22s %10.1f %10.1f %7.2f %7s %s\n", "first paint (ms)", ours_median, floor_median,
                    ours_median / floor_median, "1.10", ours_median / floor_median <= 1.1 ? "met" : "MISSED");
        std::printf("  %-22s %10ju %10ju\n", "executable (bytes)",
                    static_cast<std::uintmax_t>(std::filesystem::file_size(argv[1])),
                    static_cast<std::uintmax_t>(std::filesystem::file_size(argv[2])));
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "startup_bench: %s\n", e.what());
        return 1;
    }
}
