// Start-up cost of the launcher, measured under Wine: the time from process
// creation to the call of JNI_CreateJavaVM, as the test runtime records it,
// for the launcher and for a minimal loader, in alternating runs; and the
// launcher's cost as a wildcard class path grows; and how early the splash
// window shows, and what it costs the VM's start. Prints ratios only.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "support/AppScenario.h"
#include "support/SplashSupport.h"

namespace {

std::wstring benchToolPath(const wchar_t* name)
{
    std::wstring path;
    path = L"" BENCH_BUILD_DIR;
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path + L"\\" + name;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// One start; the microseconds from process creation to JNI_CreateJavaVM.
double measure(const Scenario& scenario, const std::wstring& exeName, const std::wstring& jvmFolder,
               const TestRuntimeScenario& runtime)
{
    writeTestRuntimeScenario(jvmFolder, runtime);
    const RunResult result = scenario.run(std::wstring(), 60000, pressDefaultButton, exeName);
    const std::string elapsed = readTestRuntimeLog(jvmFolder).value("create.elapsed");
    if (result.exitCode != 0 || elapsed.empty()) {
        std::printf("  a start of %ls failed (exit code %lu)\n", exeName.c_str(), result.exitCode);
        return -1;
    }
    return std::stod(elapsed);
}

struct Layout {
    AppScenario app;
    std::wstring jvmFolder;
};

void layOut(Layout& layout, int jarCount, const TestRuntimeScenario& runtime)
{
    layout.app.createFolder(L"lib");
    layout.app.writeBytes(L"app.jar", "jar");
    for (int i = 0; i < jarCount; ++i) {
        layout.app.writeBytes(L"lib\\library-" + std::to_wstring(i) + L".jar", "jar");
    }
    layout.app.writeIni(L"[Java Runtime Environment]\nMain Class=app.Main\n[Class Path]\nClass Path=\\app.jar;\\lib\\*.jar\n");
    layout.jvmFolder = layout.app.installRuntime(L"jre64", runtime);
}

// Microseconds from the creation of the process to now.
double sinceCreation(HANDLE process)
{
    FILETIME creation{}, exitTime{}, kernel{}, user{}, now{};
    ::GetProcessTimes(process, &creation, &exitTime, &kernel, &user);
    ::GetSystemTimePreciseAsFileTime(&now);
    auto ticks = [](const FILETIME& t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return static_cast<double>(ticks(now) - ticks(creation)) / 10;
}

// One start with or without the splash: when its window was first seen
// visible (-1: never), when JNI_CreateJavaVM was called and when it returned.
struct SplashStart {
    double visible = -1;
    double call = -1;
    double end = -1;
};

SplashStart measureSplash(const Layout& layout, const TestRuntimeScenario& runtime, bool splash)
{
    writeTestRuntimeScenario(layout.jvmFolder, runtime);
    SplashStart start;
    const RunResult result = layout.app.run(splash ? L"" : L"-nosplash", 60000, pressDefaultButton, L"App.exe",
                                            [&start](HANDLE process, DWORD processId) {
                                                const HWND window = splashWindowOf(processId);
                                                if (start.visible < 0 && window && ::IsWindowVisible(window)) {
                                                    start.visible = sinceCreation(process);
                                                }
                                            });
    const TestRuntimeLog log = readTestRuntimeLog(layout.jvmFolder);
    if (result.exitCode == 0 && log.has("create.elapsed") && log.has("create.end")) {
        start.call = std::stod(log.value("create.elapsed"));
        start.end = std::stod(log.value("create.end"));
    }
    return start;
}

void benchSplash(TestRuntimeScenario runtime)
{
    runtime.createDelayMillis = 500;
    Layout layout;
    layOut(layout, 0, runtime);
    // Named in the scenario: the ini file carries the code page's characters only.
    ::CopyFileW(splashImagePath(L"splash.png").c_str(), layout.app.path(L"splash.png").c_str(), FALSE);
    layout.app.writeIni(L"[Java Runtime Environment]\nMain Class=app.Main\n[Class Path]\nClass Path=\\app.jar\n"
                        L"[Display]\nSplash Screen=" + layout.app.path(L"splash.png") + L"\n");
    measureSplash(layout, runtime, true);
    std::vector<double> visibleToCall, visibleToEnd, callRatios, endRatios;
    int visibleInTime = 0;
    int runs = 0;
    for (int i = 0; i < 15; ++i) {
        const SplashStart with = measureSplash(layout, runtime, true);
        const SplashStart without = measureSplash(layout, runtime, false);
        if (with.call < 0 || without.call < 0 || without.visible >= 0) {
            std::printf("  a start failed, or showed a splash with -nosplash\n");
            continue;
        }
        ++runs;
        visibleInTime += with.visible >= 0 && with.visible < with.end;
        visibleToCall.push_back(with.visible / with.call);
        visibleToEnd.push_back(with.visible / with.end);
        callRatios.push_back(with.call / without.call);
        endRatios.push_back(with.end / without.end);
    }
    if (runs == 0) {
        std::printf("Splash screen: no successful runs\n");
        return;
    }
    std::printf("Splash screen, JNI_CreateJavaVM taking 500 ms, %d alternating starts with and without (-nosplash):\n",
                runs);
    std::printf("  splash visible before JNI_CreateJavaVM returned: %d of %d starts (target: all)\n", visibleInTime,
                runs);
    std::printf("  time to the visible splash / to the JNI_CreateJavaVM call: median %.3f; / to its return: median "
                "%.3f, largest %.3f\n",
                median(visibleToCall), median(visibleToEnd),
                *std::max_element(visibleToEnd.begin(), visibleToEnd.end()));
    std::printf("  with / without splash, median ratio of the time to the JNI_CreateJavaVM call: %.3f, to its "
                "return: %.3f (target: at most 1.05)\n",
                median(callRatios), median(endRatios));
}

} // namespace

int main()
{
    std::printf("launcher.exe: %zu bytes\n", readFileBytes(launcherPath()).size());
    TestRuntimeScenario runtime;
    runtime.printArguments = false;

    // The plain start against the minimal loader, alternating; many pairs,
    // since Wine's starts fall into a fast and a slow group.
    const int pairs = 41;
    Layout plain;
    layOut(plain, 0, runtime);
    ::CopyFileW(benchToolPath(L"minimal_loader.exe").c_str(), plain.app.path(L"Minimal.exe").c_str(), FALSE);
    ::CopyFileW(benchToolPath(L"minimal_loader_manifest.exe").c_str(), plain.app.path(L"Manifest.exe").c_str(),
                FALSE);
    std::vector<double> launcher;
    std::vector<double> minimal;
    std::vector<double> pairRatios;
    std::vector<double> manifestRatios;
    measure(plain.app, L"App.exe", plain.jvmFolder, runtime);  // warm the file cache
    measure(plain.app, L"Minimal.exe", plain.jvmFolder, runtime);
    measure(plain.app, L"Manifest.exe", plain.jvmFolder, runtime);
    for (int i = 0; i < pairs; ++i) {
        const double a = measure(plain.app, L"App.exe", plain.jvmFolder, runtime);
        const double b = measure(plain.app, L"Minimal.exe", plain.jvmFolder, runtime);
        const double c = measure(plain.app, L"Manifest.exe", plain.jvmFolder, runtime);
        if (a > 0 && b > 0 && c > 0) {
            launcher.push_back(a);
            minimal.push_back(b);
            pairRatios.push_back(a / b);
            manifestRatios.push_back(a / c);
        }
    }
    if (launcher.empty()) {
        std::printf("no successful runs\n");
        return 1;
    }
    std::printf("Plain start, %zu alternating rounds (launcher, minimal loader, the same with the launcher's manifest),\n"
                "process creation to JNI_CreateJavaVM:\n",
                launcher.size());
    std::printf("  median ratio launcher / minimal loader: %.3f (target: at most 1.05)\n", median(pairRatios));
    std::printf("  ratio of the medians: %.3f (%.1f ms / %.1f ms)\n", median(launcher) / median(minimal),
                median(launcher) / 1000, median(minimal) / 1000);
    std::printf("  ratio of the fastest starts: %.3f\n",
                *std::min_element(launcher.begin(), launcher.end()) / *std::min_element(minimal.begin(), minimal.end()));
    std::printf("  median ratio launcher / minimal loader with the launcher's manifest: %.3f (target: at most 1.05)\n",
                median(manifestRatios));

    // A wildcard matching many jars: the extra cost should grow linearly.
    // Fastest of several starts: the least disturbed start of each size (Wine
    // starts fall into a fast and a slow group some 20 ms apart).
    const int counts[] = {0, 2500, 5000, 10000};
    std::vector<double> costs;
    for (int count : counts) {
        Layout layout;
        layOut(layout, count, runtime);
        std::vector<double> samples;
        measure(layout.app, L"App.exe", layout.jvmFolder, runtime);
        for (int i = 0; i < 11; ++i) {
            const double t = measure(layout.app, L"App.exe", layout.jvmFolder, runtime);
            if (t > 0) {
                samples.push_back(t);
            }
        }
        costs.push_back(samples.empty() ? -1 : *std::min_element(samples.begin(), samples.end()));
    }
    auto extra = [&](std::size_t i) { return costs[i] - costs[0]; };
    std::printf("Class path of N jars matched by one wildcard (fastest of 11 starts each):\n");
    std::printf("  start with 5000 jars / plain start: %.3f\n", costs[2] / costs[0]);
    std::printf("  start with 5000 jars / minimal loader (median): %.3f\n", costs[2] / median(minimal));
    std::printf("  extra cost of 5000 jars / of 2500 jars: %.2f; of 10000 / of 5000: %.2f (linear growth: about 2)\n",
                extra(1) > 0 ? extra(2) / extra(1) : 0.0, extra(2) > 0 ? extra(3) / extra(2) : 0.0);

    benchSplash(runtime);
    return 0;
}
