// GoogleTest's customisation header for Debian's mingw-w64 with the win32
// thread model, whose libstdc++ has no std::mutex or std::condition_variable.
// GoogleTest needs them only for Notification, with which it starts the
// threads of its own thread-safety checks; this one waits on an atomic flag.
// scripts/build-windows builds GoogleTest with it (-iquote), and the tests
// are compiled with it too, so both see the same class.
#ifndef GOOGLETEST_INCLUDE_GTEST_INTERNAL_CUSTOM_GTEST_PORT_H_
#define GOOGLETEST_INCLUDE_GTEST_INTERNAL_CUSTOM_GTEST_PORT_H_

#include <atomic>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

class Notification {
public:
    Notification() = default;
    Notification(const Notification &) = delete;
    Notification &operator=(const Notification &) = delete;

    void Notify() { m_bNotified.store(true, std::memory_order_release); }
    void WaitForNotification() {
        while (!m_bNotified.load(std::memory_order_acquire)) {
        }
    }

private:
    std::atomic<bool> m_bNotified{false};
};

}  // namespace internal
}  // namespace testing

#endif
