// Filling text templates.
#include "kova/CreateString.h"

#include <gtest/gtest.h>

using namespace kova;

TEST(CreateString, FillsArguments) {
    EXPECT_EQ(CreateString("KOVA.Json助手{1}", {"1.2.1"}), "KOVA.Json助手1.2.1");
    EXPECT_EQ(CreateString("{1}.{2} ({3}{5}{4})", {"键值表", "取文本", "“", "”", "//name"}),
              "键值表.取文本 (“//name”)");
    EXPECT_EQ(CreateString("{2}{1}{2}", {"a", "b"}), "bab");
    EXPECT_EQ(CreateString("[{1}] {3}|", {"7"}), "[7] |") << "a missing argument is empty";
    EXPECT_EQ(CreateString("{10}", {"1", "2", "3", "4", "5", "6", "7", "8", "9", "ten"}), "ten");
    EXPECT_EQ(CreateString("{0}{x}{}{1", {"a"}), "{x}{}{1");
    EXPECT_EQ(CreateString("{1}", {"{2}"}), "{2}") << "arguments are not expanded again";
}

TEST(CreateString, Escapes) {
    EXPECT_EQ(CreateString("a\\r\\nb\\tc"), "a\r\nb\tc");
    EXPECT_EQ(CreateString("\\{1\\} \\' \\\\"), "{1} ' \\");
    EXPECT_EQ(CreateString("C:\\x \\q"), "C:\\x \\q") << "other backslashes stay";
    EXPECT_EQ(CreateString("''quoted'' ``too``"), "\"quoted\" \"too\"");
    EXPECT_EQ(CreateString("it's"), "it's");
    EXPECT_EQ(CreateString("\\'x"), "'x");
    EXPECT_EQ(CreateString("''\\''"), "\"\\\"") << "a quote pair wins over the escape of its first quote";
    EXPECT_EQ(CreateString(R"(譬如：''\''、''.''等会被转换为''\\''、''\\.''。)"), R"(譬如："\"、"."等会被转换为"\"、"\."。)");
    EXPECT_EQ(CreateString("end\\"), "end\\");
    EXPECT_EQ(CreateString("读取数据失败！([{1}] {2})", {"404", "Not Found"}), "读取数据失败！([404] Not Found)");
}
