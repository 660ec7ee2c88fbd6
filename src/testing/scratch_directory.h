// A fresh working directory for one test, removed afterwards.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "records/text_unit.h"

namespace velkoran::testing {

class ScratchDirectory : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = std::filesystem::current_path();
        std::string pattern = (std::filesystem::temp_directory_path() / "velkoran-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        path_ = std::filesystem::canonical(pattern);
        std::filesystem::current_path(path_);
    }

    void TearDown() override {
        close_all_units();
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(path_);
    }

    static void write_file(const std::string& name, const std::string& bytes) {
        std::ofstream(name, std::ios::binary) << bytes;
    }

    static std::string read_file(const std::string& name) {
        std::ifstream in(name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    [[nodiscard]] std::string absolute(const std::string& name) const { return (path_ / name).string(); }

    std::filesystem::path path_;

private:
    std::filesystem::path previous_;
};

}  // namespace velkoran::testing
