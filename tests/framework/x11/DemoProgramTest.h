#pragma once

// The fixture of the tests that start a demo program on the private X server with
// a window manager: a configuration folder of its own, each run's output in a log,
// and its top-level window found by title once the program has reported itself.

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "ChildProgram.h"
#include "XServer.h"

namespace emr::testing {

class DemoProgramTest : public ::testing::Test {
protected:
    /// `program` is the executable; `what` names it in messages and temporary folders.
    DemoProgramTest(std::string program, std::string what)
        : path_(std::move(program)), what_(std::move(what)) {}

    void SetUp() override {
        server_ = &XServer::WithWindowManager();
        ASSERT_TRUE(server_->Running()) << server_->Error();
        display_ = XOpenDisplay(server_->Name().c_str());
        ASSERT_NE(display_, nullptr);
        std::string pattern =
            (std::filesystem::temp_directory_path() / ("emr-" + what_ + "-XXXXXX")).string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        std::filesystem::create_directories(dir_ / "config");
        X("xdotool mousemove 1270 1010");
    }

    void TearDown() override {
        program_.reset();
        if (display_) XCloseDisplay(display_);
        if (HasFailure()) std::cerr << what_ << " output:\n" << Log() << '\n';
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    std::string X(const std::string& command) { return server_->Run(command); }

    /// What the program printed in its latest run.
    std::string Log() const {
        std::ifstream in(dir_ / ("run" + std::to_string(runs_) + ".log"));
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    /// Starts the program (again, with the same configuration folder) and waits up
    /// to `timeoutMs` for its viewable window titled `title` and for `ready`.
    void Start(const std::vector<std::string>& arguments, const std::string& title,
               const std::function<bool()>& ready, int timeoutMs) {
        ++runs_;
        window_ = 0;
        program_ = std::make_unique<ChildProgram>(path_, arguments, server_->Name(), dir_ / "config",
                                                  dir_ / ("run" + std::to_string(runs_) + ".log"));
        ASSERT_TRUE(program_->Started());
        ASSERT_TRUE(WaitFor(
            [&] {
                std::istringstream ids(X("xdotool search --name '^" + title + "$' 2>/dev/null"));
                for (std::string id; std::getline(ids, id);) {
                    XWindowAttributes a{};
                    if (!id.empty() && XGetWindowAttributes(display_, std::stoul(id), &a) &&
                        a.map_state == IsViewable)
                        window_ = std::stoul(id);
                }
                return (window_ != 0 && ready()) || !program_->Running();
            },
            timeoutMs))
            << "the " << what_ << " showed no window";
        ASSERT_NE(window_, 0u) << "the " << what_ << " showed no window";
    }

    XServer* server_ = nullptr;
    Display* display_ = nullptr;
    std::filesystem::path dir_;
    std::unique_ptr<ChildProgram> program_;
    unsigned long window_ = 0;
    int runs_ = 0;

private:
    std::string path_;
    std::string what_;
};

} // namespace emr::testing
