#include "winlayer/WindowProps.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using winlayer::WindowProps;

const char* Atom(std::uintptr_t n) {
    return reinterpret_cast<const char*>(n);
}

TEST(WindowPropsTest, AtomsAndStringsAreDifferentNames) {
    WindowProps props;
    int a = 0, b = 0, c = 0;
    EXPECT_TRUE(props.set(Atom(42), &a));
    EXPECT_EQ(props.get("42", false), nullptr);
    EXPECT_TRUE(props.set("42", &b));
    EXPECT_EQ(props.get(Atom(42), false), &a);
    EXPECT_EQ(props.get("42", false), &b);
    EXPECT_TRUE(props.set(std::string("42").c_str(), &c)) << "strings match by text";
    EXPECT_EQ(props.get("42", true), &c);
    EXPECT_EQ(props.get("42", false), nullptr);
    EXPECT_EQ(props.get(Atom(42), false), &a);
    EXPECT_FALSE(props.set(nullptr, &a));
    EXPECT_EQ(props.get(nullptr, true), nullptr);
}

struct Walk {
    std::vector<std::string> names;
    WindowProps* props = nullptr;
    int stopAfter = 100;
};

BOOL Record(HWND, const char* name, void*, LPARAM lp) {
    auto* walk = reinterpret_cast<Walk*>(lp);
    const auto value = reinterpret_cast<std::uintptr_t>(name);
    walk->names.push_back(value < 0x10000 ? "#" + std::to_string(value) : std::string(name));
    walk->props->get("b", true);
    return static_cast<int>(walk->names.size()) < walk->stopAfter ? TRUE : FALSE;
}

TEST(WindowPropsTest, EnumerationNewestFirstStopsAndSurvivesRemoval) {
    WindowProps props;
    Walk walk{{}, &props, 100};
    EXPECT_EQ(props.enumerate(nullptr, &Record, reinterpret_cast<LPARAM>(&walk)), -1);
    props.set("a", nullptr);
    props.set(Atom(7), nullptr);
    props.set("b", nullptr);
    props.set("c", nullptr);
    EXPECT_EQ(props.enumerate(nullptr, &Record, reinterpret_cast<LPARAM>(&walk)), 1);
    const std::vector<std::string> all = {"c", "b", "#7", "a"};
    EXPECT_EQ(walk.names, all);

    Walk stopping{{}, &props, 2};
    EXPECT_EQ(props.enumerate(nullptr, &Record, reinterpret_cast<LPARAM>(&stopping)), 0);
    const std::vector<std::string> two = {"c", "#7"};
    EXPECT_EQ(stopping.names, two);
}

} // namespace
