// Runs the host program as a script does and reads what it printed: the exit code, the JSON on
// standard output and the messages on standard error.
#pragma once
#include "host/Text.h"

#include <windows.h>

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

struct HostRun {
    int code = -1;
    std::string out, err;
};

inline std::string binFolder() {
    char exe[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    return std::filesystem::path(exe).parent_path().string();
}

// Runs the host program with the arguments as they are (no shell between), in folder if given.
inline HostRun host(const std::vector<std::string>& args, const std::string& folder = "") {
    static int runs = 0; // one error file per run
    std::string errFile = std::filesystem::temp_directory_path() /
                          ("pelorin-host-err-" + std::to_string(::getpid()) + "-" + std::to_string(runs++));
    std::string program = binFolder() + "/pelorin-host";
    HostRun r;
    int out[2];
    if (pipe(out) != 0) return r;
    pid_t child = fork();
    if (child == 0) {
        int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int in = open("/dev/null", O_RDONLY);
        if (err < 0 || in < 0 || (!folder.empty() && chdir(folder.c_str()) != 0)) _exit(120);
        dup2(in, 0);
        dup2(out[1], 1);
        dup2(err, 2);
        close(out[0]);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(121);
    }
    close(out[1]);
    std::array<char, 65536> buf;
    ssize_t n;
    while ((n = read(out[0], buf.data(), buf.size())) > 0) r.out.append(buf.data(), static_cast<size_t>(n));
    close(out[0]);
    int status = 0;
    waitpid(child, &status, 0);
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    std::ifstream e(errFile);
    r.err.assign(std::istreambuf_iterator<char>(e), {});
    std::filesystem::remove(errFile);
    return r;
}

inline nlohmann::json json(const HostRun& r) { return nlohmann::json::parse(r.out, nullptr, false); }

// A folder of its own for the files a test writes; gone with it.
struct TempFolder {
    std::filesystem::path path;
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "pelorin-host-XXXXXX").string();
        path = mkdtemp(pattern.data()) ? pattern : "";
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::string write(const std::string& name, const std::string& content) const {
        std::ofstream(path / name, std::ios::binary) << content;
        return (path / name).string();
    }
};

inline ::testing::AssertionResult oneLineError(const HostRun& r) {
    if (r.code != 2) return ::testing::AssertionFailure() << "exit code " << r.code << ": " << r.err;
    if (!r.out.empty()) return ::testing::AssertionFailure() << "output: " << r.out;
    if (r.err.rfind("pelorin-host: ", 0) != 0 || std::count(r.err.begin(), r.err.end(), '\n') != 1 ||
        r.err.back() != '\n')
        return ::testing::AssertionFailure() << "not one line: " << r.err;
    if (!IsUtf8(r.err)) return ::testing::AssertionFailure() << "not UTF-8: " << r.err;
    return ::testing::AssertionSuccess();
}
