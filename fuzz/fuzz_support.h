#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

#include "common/prompt.h"

// What every fuzz target shares: the Qt application object that file and
// image reading expect, a folder for the files a target hands to the
// program, a prompt that answers without showing anything, and a check
// that turns a broken property into a finding.

namespace vorlix::fuzz {

// Creates the application object once. Every target's LLVMFuzzerInitialize
// (defined here, beside it) calls it; a program of its own calls it first.
void Init();

// Writes the input under `name` in the target's own temporary folder and
// returns the path.
QString WriteInput(const QString& name, const std::uint8_t* data, std::size_t size);
QString InputPath(const QString& name);

// Answers every question with `answer` and forgets what it was shown.
class SilentPrompt : public Prompt {
  public:
    explicit SilentPrompt(Answer answer = Answer::No) : answer_(answer) {}
    void SetAnswer(Answer answer) { answer_ = answer; }
    Answer Ask(const QString&, const QString&, Buttons buttons) override {
        ++shown_;
        return buttons == Buttons::Ok ? Answer::Ok : answer_;
    }
    int shown() const { return shown_; }

  private:
    Answer answer_;
    int shown_ = 0;
};

[[noreturn]] void Fail(const char* what, const char* file, int line);

}  // namespace vorlix::fuzz

// A property every input must keep; a broken one aborts, which the fuzzer
// reports as a finding with the input that broke it.
#define FUZZ_CHECK(condition) \
    ((condition) ? (void)0 : ::vorlix::fuzz::Fail(#condition, __FILE__, __LINE__))
