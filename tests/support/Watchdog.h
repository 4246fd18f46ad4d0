#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace orvalis::testsupport {

// Ends the test program with a failure when the scope it guards has not finished within
// the time given, so that a computation that never ends fails its test instead of
// hanging the suite.
class Watchdog {
public:
    Watchdog(const char* what, std::chrono::seconds limit)
        : m_thread([this, what, limit] {
              std::unique_lock lock(m_mutex);
              if (!m_done.wait_for(lock, limit, [this] { return m_finished; })) {
                  std::fprintf(stderr, "Watchdog: %s did not finish within %lld s\n", what,
                               static_cast<long long>(limit.count()));
                  std::_Exit(EXIT_FAILURE);
              }
          })
    {
    }
    ~Watchdog()
    {
        {
            std::lock_guard lock(m_mutex);
            m_finished = true;
        }
        m_done.notify_one();
        m_thread.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_finished = false;
    std::thread m_thread; // last: starts once the members it waits on exist
};

} // namespace orvalis::testsupport
