#pragma once

#include <thread>

// Reads the system's font configuration on a second thread while the main
// thread reads the lesson: the first text the window draws would otherwise
// wait for it. Started once the application object exists, since that sets
// the locale and changes the environment, which fontconfig reads; Qt's own
// first use then finds the configuration ready.
class FontWarmup {
public:
    FontWarmup();
    ~FontWarmup();
    FontWarmup(const FontWarmup&) = delete;
    FontWarmup& operator=(const FontWarmup&) = delete;

    // Waits for the reading to end, before the first widget is made.
    void Wait();

private:
    std::thread thread_;
};
