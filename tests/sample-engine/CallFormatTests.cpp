#include "CallFormat.h"

#include <windows.h>

#include <gtest/gtest.h>

TEST(CallFormat, LinesShowArgumentsOutValuesAndResult)
{
    EXPECT_EQ("Kel_InitMain(4198400, 4198544) = 0",
              FormatCall("Kel_InitMain", {Arg::Address(4198400), Arg::Address(4198544)}, 0));
    EXPECT_EQ("Kel_CreateMain(65602, 1, \"Kelm.exe - 01_01_02\") = 0",
              FormatCall("Kel_CreateMain", {Arg::Address(65602), Arg::Integer(1), Arg::Text(L"Kelm.exe - 01_01_02")}, 0));
    EXPECT_EQ("Kel_OpenSettings(NULL) = 4", FormatCall("Kel_OpenSettings", {Arg::Text(nullptr)}, 4));
    EXPECT_EQ("Kel_InitStatus() = 7", FormatCall("Kel_InitStatus", {}, 7));
    EXPECT_EQ("Kel_SendMessage(273, 18446744073709551615, -1, 0) = 0",
              FormatCall("Kel_SendMessage", {Arg::Unsigned(273), Arg::Unsigned(~0ull), Arg::Integer(-1), Arg::Integer(0)}, 0));
    EXPECT_EQ("hook SetTitleHook(\"Default\", \"Solvetric\", 0)",
              FormatCall("hook SetTitleHook", {Arg::Text(L"Default"), Arg::Text(L"Solvetric"), Arg::Integer(0)}));
    EXPECT_EQ("hook MessageHook(1, 7, ->1) = 1",
              FormatCall("hook MessageHook", {Arg::Integer(1), Arg::Integer(7), Arg::Written(1)}, 1));
}

TEST(CallFormat, OutParametersShowWhatWasWritten)
{
    int size = 99;
    Out<int> sizeOut(&size);
    EXPECT_EQ("Kel_GetStringSize(17276, ->?) = 4", FormatCall("Kel_GetStringSize", {Arg::Integer(17276), Arg::Output(sizeOut)}, 4));
    sizeOut.Set(-31);
    EXPECT_EQ(-31, size);
    EXPECT_EQ("Kel_GetStringSize(17276, ->-31) = 0", FormatCall("Kel_GetStringSize", {Arg::Integer(17276), Arg::Output(sizeOut)}, 0));

    HWND window = nullptr;
    Out<HWND> windowOut(&window);
    windowOut.Set(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(131250)));
    EXPECT_EQ("Kel_GetWindowMain(->131250) = 0", FormatCall("Kel_GetWindowMain", {Arg::Output(windowOut)}, 0));

    Out<int> missing(nullptr);
    missing.Set(5); // nowhere to write: nothing happens
    EXPECT_EQ("->?", missing.Logged());
    EXPECT_EQ(0, Arg::Output(missing).Value().integer) << "matched as a null pointer";
}

TEST(CallFormat, BuffersShowTheUnitsWrittenAndNoMore)
{
    wchar_t buffer[8];
    for (wchar_t &unit : buffer)
        unit = L'~';
    OutText text(buffer);
    EXPECT_EQ("->?", text.Logged());
    text.Write(L"ab\"c", 4, false);
    EXPECT_EQ(L'~', buffer[4]) << "no terminator when none is asked for";
    EXPECT_EQ("Kel_GetString(1, ->\"ab\\\"c\") = 0", FormatCall("Kel_GetString", {Arg::Integer(1), Arg::Output(text)}, 0));
    text.Write(L"xy", 2, true);
    EXPECT_EQ(std::wstring(L"xy"), std::wstring(buffer));
    EXPECT_EQ("->\"xy\"", text.Logged());

    OutText none(nullptr);
    none.Write(L"x", 1, true);
    EXPECT_EQ("NULL", none.Logged());
}
