// What the scripted commands (assist, select, pick) share: their key-script options, numbers in
// decimal or hex, the answers to message boxes and their record, and the player that feeds a key
// script to the window system.
#pragma once
#include "host/Host.h"
#include "host/Keys.h"

#include <nlohmann/json.hpp>

#include <memory>
#include <string>
#include <vector>

struct ScriptOptions {
    std::vector<KeyAction> actions;
    std::vector<int> answers; // IDYES, IDNO, ... in order
    int keyDelay = 250;
    bool trace = false;
};

// The value after args[i] (i moves onto it), which must be UTF-8.
bool OptionValue(const std::vector<std::string>& args, size_t& i, std::string& value, UsageError& error);

// Takes args[i] (and its value) when it is --keys, --answers, --key-delay or --trace: true when
// taken, with error set when its value is unusable.
bool TakeScriptOption(const std::vector<std::string>& args, size_t& i, ScriptOptions& options, UsageError& error);

// A whole number from 0 to max, in decimal or with 0x in hex.
bool ParseNumber(const std::string& text, unsigned long max, unsigned long& value);

// The editor line of assist and pick: --line TEXT (UTF-8 on the command line, Windows-1252 here)
// and --caret N, a character position.
struct LineOption {
    std::string line;
    bool hasLine = false;
    bool hasCaret = false;
    unsigned long caret = 0;
    // the caret position given, else the end of the line
    int Caret() const;
};

// Takes args[i] (and its value) when it is --line or --caret: true when taken, with error set
// when its value is unusable.
bool TakeLineOption(const std::vector<std::string>& args, size_t& i, LineOption& option, UsageError& error);

// After all options: the line is there and the caret lies on it.
bool CheckLineOption(const std::string& command, const LineOption& option, UsageError& error);

// Answers the message boxes shown while it lives with the answers in order, the later ones with
// their default button; nothing is left over for a later command.
class BoxAnswers {
public:
    explicit BoxAnswers(std::vector<int> answers);
    ~BoxAnswers();
    BoxAnswers(const BoxAnswers&) = delete;
    BoxAnswers& operator=(const BoxAnswers&) = delete;
};

// The message boxes shown since the command began: [{"text", "caption", "style", "answer"}].
nlohmann::json MessageBoxesJson();

// Queues a key script for the message loop that runs next: one key delay first (the dialog shows
// before the first key), then every key followed by the key delay and, with trace, the text
// picture of the dialog on standard error. Row clicks look for their row when their turn comes;
// a row that is not there drops the rest of the script, and Problem() tells why.
class KeyPlayer {
public:
    explicit KeyPlayer(const ScriptOptions& options);
    void Queue();
    const std::string& Problem() const { return *problem_; }

private:
    const ScriptOptions& options_;
    std::shared_ptr<std::string> problem_;
};

// The end of a scripted command: the keys left after the dialog closed are played to whatever
// window has the focus then, and nothing stays queued for the next command. False, with the
// player's problem as the error, when the script could not be played to its end.
bool EndScript(const KeyPlayer& player, UsageError& error);
