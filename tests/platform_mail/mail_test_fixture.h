#pragma once
// A temporary folder per test with helpers to write files and a settings file, and a host
// that records the review step and the wait cursor.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "tests/common/recording_host.h"

namespace quillon::mailtest {

namespace fs = std::filesystem;

using testing::RecordingHost;

class MailTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("quillon_mail_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path Write(const std::string& name, const std::string& bytes) {
        const fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string Read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // A settings file with a [MAIL] section of these lines.
    fs::path Settings(const std::string& mail_lines, const std::string& more = {}) {
        return Write("QUILDOC.INI", "[PAGE]\r\nTOP=1\r\n[MAIL]\r\n" + mail_lines + more);
    }

    fs::path dir_;
};

}  // namespace quillon::mailtest
