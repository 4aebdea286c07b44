// batch: runs command lines from a file in one process, over one session, so that the state the
// system keeps between dialogs (the last dialog state, the states saved per catalog manager, the
// mirrored options) carries from line to line.
#include "host/Host.h"
#include "host/Text.h"
#include "host/Words.h"

#include <nlohmann/json.hpp>

#include <fstream>
#include <iostream>

namespace {

struct BatchLine {
    int number;
    std::vector<std::string> words;
};

// Every line is split before any runs, so a quoting mistake late in the file costs no work.
bool readLines(const std::string& file, std::vector<BatchLine>& lines, UsageError& error) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error.message = "batch: cannot read " + Excerpt(file);
        return false;
    }
    int number = 0;
    for (std::string text; std::getline(in, text);) {
        ++number;
        if (!text.empty() && text.back() == '\r') text.pop_back();
        size_t first = text.find_first_not_of(" \t");
        if (first == std::string::npos || text[first] == '#') continue;
        BatchLine line{number, {}};
        std::string problem;
        if (!SplitWords(text, line.words, problem)) {
            error.message = "batch line " + std::to_string(number) + ": " + problem;
            return false;
        }
        lines.push_back(std::move(line));
    }
    return true;
}

} // namespace

int RunBatch(HostSession& session, const std::vector<std::string>& args, CommandRun& run, UsageError& error) {
    std::vector<std::string> files;
    if (!Operands("batch", "a file name", args, files, run.usage, error)) return ExitUsage;
    if (run.usage) return ExitOk;
    if (files.size() > 1) {
        error.message = "batch takes one FILE";
        return ExitUsage;
    }
    const std::string file = files.empty() ? std::string() : files[0];
    if (session.batch) {
        error.message = "a batch cannot run a batch";
        return ExitUsage;
    }
    if (file.empty()) {
        error.message = "batch needs a FILE";
        return ExitUsage;
    }
    std::vector<BatchLine> lines;
    if (!readLines(file, lines, error)) return ExitUsage;

    session.batch = true;
    run.json = nlohmann::json::array();
    for (const auto& line : lines) {
        const std::string where = "batch line " + std::to_string(line.number) + ": ";
        const std::string& command = line.words[0];
        std::vector<std::string> rest(line.words.begin() + 1, line.words.end());
        CommandRun result;
        int code = ExitUsage;
        if (command == "tui" || command == "help" || command == "--catalog") {
            error.message = Excerpt(command) + " cannot run in a batch (assist, select, pick, lint, check-signal)";
        } else {
            code = RunCommand(session, command, rest, result, error);
            // a usage on standard output would break the JSON
            if (error.message.empty() && result.usage) error.message = "--help cannot run in a batch";
        }
        if (!error.message.empty()) {
            error.message = where + error.message;
            return ExitUsage;
        }
        if (code != ExitOk) {
            std::cerr << "pelorin-host: " << where << "failed\n";
            return code;
        }
        run.json.push_back(std::move(result.json));
    }
    return ExitOk;
}
