// The trace stack: entry format, argument formatting and the bound of the log.
#include <gtest/gtest.h>

#include <regex>
#include <thread>

#include "foundation/u_stack.h"

using namespace kx;

namespace {

// The part of an entry after "hhnnsszzz: ".
std::string Body(const std::string& entry) {
    return entry.substr(11);
}

}  // namespace

TEST(TraceStack, EntryIsTimeStampNameAndArguments) {
    TkxStack stack;
    stack.Push("tkxmain.SaveModell", "/home/anna/Modelle/Kran 2.kxm");
    stack.Push("TMainForm.FormShow");
    ASSERT_EQ(stack.Count(), 2);
    const std::string entry = stack.Line(0);
    std::smatch m;
    ASSERT_TRUE(std::regex_match(entry, m, std::regex(R"((\d\d)(\d\d)(\d\d)(\d\d\d): (.*))")))
        << entry;
    EXPECT_LT(std::stoi(m[1]), 24);
    EXPECT_LT(std::stoi(m[2]), 60);
    EXPECT_LT(std::stoi(m[3]), 61);
    EXPECT_EQ(m[5], "tkxmain.SaveModell(\"/home/anna/Modelle/Kran 2.kxm\")");
    EXPECT_EQ(Body(stack.Line(1)), "TMainForm.FormShow()");
    EXPECT_EQ(stack.Lines(), (std::vector<std::string>{stack.Line(0), stack.Line(1)}));
}

TEST(TraceStack, FormatsEveryKindOfArgument) {
    TkxStack stack;
    stack.Push("a", true, 5, "");
    stack.Push("b", nullptr, 1.5, false, std::string("x"));
    stack.Push("c", -7, static_cast<size_t>(12), 0.25f, static_cast<const char*>(nullptr));
    stack.Push("d", "say \"hi\"", 1e20, 123456789012LL);
    stack.Push("e", std::string_view("ä, ö"));
    EXPECT_EQ(Body(stack.Line(0)), "a(true,5,\"\")");
    EXPECT_EQ(Body(stack.Line(1)), "b(nil,1,5,false,\"x\")");
    EXPECT_EQ(Body(stack.Line(2)), "c(-7,12,0,25,nil)");
    EXPECT_EQ(Body(stack.Line(3)), "d(\"say \"hi\"\",1E20,123456789012)");
    EXPECT_EQ(Body(stack.Line(4)), "e(\"ä, ö\")");

    int object = 0;
    const TStackArg reference(static_cast<const void*>(&object));
    EXPECT_EQ(reference.Format(), std::to_string(reinterpret_cast<uintptr_t>(&object)));
    EXPECT_EQ(TStackArg(static_cast<const void*>(nullptr)).Format(), "nil");
    struct TThing {
        int value = 0;
    } thing;
    TThing* none = nullptr;
    EXPECT_EQ(TStackArg(&thing).Format(), std::to_string(reinterpret_cast<uintptr_t>(&thing)));
    EXPECT_EQ(TStackArg(none).Format(), "nil");
}

TEST(TraceStack, KeepsTheLatest201Entries) {
    TkxStack stack;
    for (int i = 1; i <= 500; ++i) {
        stack.Push("op", i);
    }
    ASSERT_EQ(stack.Count(), TkxStack::MaxEntries + 1);
    EXPECT_EQ(Body(stack.Line(0)), "op(300)");
    EXPECT_EQ(Body(stack.Line(200)), "op(500)");
    const auto lines = stack.Lines();
    for (int i = 0; i < 201; ++i) {
        EXPECT_EQ(Body(lines[static_cast<size_t>(i)]), "op(" + std::to_string(300 + i) + ")");
    }
    EXPECT_EQ(stack.Line(201), "");
    EXPECT_EQ(stack.Line(-1), "");

    stack.Clear();
    EXPECT_EQ(stack.Count(), 0);
    stack.Push("after");
    EXPECT_EQ(Body(stack.Line(0)), "after()");
}

TEST(TraceStack, BelowTheBoundNothingIsDropped) {
    TkxStack stack;
    for (int i = 1; i <= 201; ++i) {
        stack.Push("op", i);
    }
    EXPECT_EQ(stack.Count(), 201);
    EXPECT_EQ(Body(stack.Line(0)), "op(1)");
    stack.Push("op", 202);
    EXPECT_EQ(stack.Count(), 201);
    EXPECT_EQ(Body(stack.Line(0)), "op(2)");
}

TEST(TraceStack, PushesFromSeveralThreadsStayWhole) {
    TkxStack stack;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&stack, t] {
            for (int i = 0; i < 2000; ++i) {
                stack.Push("worker", t, i);
            }
        });
    }
    for (auto& th : threads) {
        th.join();
    }
    ASSERT_EQ(stack.Count(), 201);
    for (const auto& line : stack.Lines()) {
        EXPECT_TRUE(std::regex_match(line, std::regex(R"(\d{9}: worker\(\d,\d+\))"))) << line;
    }
}

TEST(TraceStack, ProcessWideInstanceIsOne) {
    TkxStack& stack = Stack();
    EXPECT_EQ(&stack, &Stack());
    const int before = stack.Count();
    stack.Push("Launch");
    EXPECT_EQ(Body(stack.Line(stack.Count() - 1)), "Launch()");
    EXPECT_GE(stack.Count(), std::min(before + 1, 201));
}
