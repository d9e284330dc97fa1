#include "winlayer/ApiNames.h"

#include "winlayer/MessageQueue.h"
#include "winlayer/WinBasics.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

// The first lookups race each other: the table is sorted once, whoever comes first.
TEST(ApiNamesTest, FirstLookupsFromManyThreadsAgree) {
    std::vector<void*> found(8);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < found.size(); ++i)
        threads.emplace_back([&found, i] { found[i] = LookupAPIFunctionByName("MulDiv"); });
    for (auto& thread : threads)
        thread.join();
    for (void* address : found)
        EXPECT_EQ(address, reinterpret_cast<void*>(&MulDiv));
}

TEST(ApiNamesTest, NamesAreExactAndNullAsksTheVersion) {
    EXPECT_EQ(LookupAPIFunctionByName(nullptr), reinterpret_cast<void*>(256));
    EXPECT_EQ(LookupAPIFunctionByName("GetTempPath"), reinterpret_cast<void*>(&GetTempPath));
    EXPECT_EQ(LookupAPIFunctionByName("gettemppath"), nullptr);
    EXPECT_EQ(LookupAPIFunctionByName("GetTempPat"), nullptr);
    EXPECT_EQ(LookupAPIFunctionByName(""), nullptr);
    EXPECT_EQ(LookupAPIFunctionByName("PostMessage"), reinterpret_cast<void*>(&PostMessage));
}

} // namespace
