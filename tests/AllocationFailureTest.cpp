// Allocation failures, in a test program of their own: it replaces the
// global operator new so that a chosen allocation throws.
#include <atomic>
#include <cstdlib>
#include <new>

#include "OrvaneTest.h"

namespace {

// Allocations left before one fails; negative: never fail.
std::atomic<long> g_allocationsBeforeFailure{-1};

void *Allocate(std::size_t n) {
    if (g_allocationsBeforeFailure.load() >= 0 && g_allocationsBeforeFailure.fetch_sub(1) == 0) throw std::bad_alloc();
    void *p = std::malloc(n ? n : 1);
    if (!p) throw std::bad_alloc();
    return p;
}

// Makes the next allocation throw, and only that one.
struct FailNextAllocation {
    FailNextAllocation() { g_allocationsBeforeFailure = 0; }
    ~FailNextAllocation() { g_allocationsBeforeFailure = -1; }
};

}  // namespace

void *operator new(std::size_t n) { return Allocate(n); }
void *operator new[](std::size_t n) { return Allocate(n); }
void *operator new(std::size_t n, const std::nothrow_t &) noexcept {
    try {
        return Allocate(n);
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}
void *operator new[](std::size_t n, const std::nothrow_t &tag) noexcept { return operator new(n, tag); }
void operator delete(void *p) noexcept { std::free(p); }
void operator delete[](void *p) noexcept { std::free(p); }
void operator delete(void *p, std::size_t) noexcept { std::free(p); }
void operator delete[](void *p, std::size_t) noexcept { std::free(p); }

namespace {

using ::testing::ElementsAre;

class AllocationFailureTest : public OrvaneTest {};

TEST_F(AllocationFailureTest, DocumentThatCannotBeMadeIsNull) {
    IKivXml *doc;
    {
        FailNextAllocation failure;
        doc = GetLibXmlInterface();
    }
    EXPECT_EQ(doc, nullptr);
    EXPECT_THAT(log.errors(), ElementsAre("CKivXml *xml=new CKivXml FAILED GetLibXmlInterface() return NULL"));
    Document next(GetLibXmlInterface());
    EXPECT_NE(next, nullptr);
}

}  // namespace
