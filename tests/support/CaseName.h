#pragma once
// Names parameterised test cases after their "name" field, as GoogleTest
// allows them: every character but letters and digits becomes "_".

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace TestSupport {

struct CaseName {
    template <class Case>
    std::string operator()(const testing::TestParamInfo<Case>& info) const
    {
        std::string name = info.param.name;
        for (char& c : name) {
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        }
        return name;
    }
};

}  // namespace TestSupport
