#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <string_view>

// A table case's own name as its test name: letters and digits kept, everything else '_'.
template <typename Case>
std::string CaseName(const testing::TestParamInfo<Case> &info)
{
    std::string name;
    for (const char c : std::string_view(info.param.name))
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}
