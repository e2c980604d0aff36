// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Helpers shared by the tests: printing Qt strings, recording the error box, waiting for a
// condition while the event loop runs.
#include <QString>
#include <functional>
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

// Where a helper was called from, for its failure message. Not std::source_location: the
// clang-tidy build (clang 14) cannot compile libstdc++ 12's, which needs a built-in of GCC's; these
// two built-ins, evaluated in a default argument, give the caller's place in both compilers.
struct CallSite {
    const char* File;
    int Line;
    static CallSite current(const char* file = __builtin_FILE(), int line = __builtin_LINE()) {
        return {file, line};
    }
};

// Every error box that the application would have shown, in order. The test main empties it
// before each test and fails the test if any box is left when it ends (fixture tear-down
// included): a test that expects a box takes it, with ExpectErrorBox or Take.
class ErrorBoxRecorder {
public:
    struct Box {
        std::string Text;
        std::string Caption;
    };
    static void Record(const std::string& text, const std::string& caption);
    static std::vector<Box> Take();  // returns and forgets the boxes shown so far
};

// Takes the error boxes shown since the last look and fails the calling test unless they are
// exactly these texts, in this order.
void ExpectErrorBoxes(std::initializer_list<std::string> texts, CallSite at = CallSite::current());
// Takes the boxes shown since the last look and fails the calling test unless they are exactly
// one box with this text.
void ExpectErrorBox(const std::string& text, CallSite at = CallSite::current());
// Takes the boxes shown since the last look and fails the calling test if there were any.
void ExpectNoErrorBox(CallSite at = CallSite::current());

// Installs the GoogleTest listener that fails a test which leaves an error box unexpected.
void FailTestsOnUnexpectedErrorBoxes();

// Writes `bytes` to `path` (binary); false on failure.
bool WriteFileBytes(const std::string& path, const std::string& bytes);
// Reads the whole file; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);

// Runs the event loop until `done` holds or `timeoutMs` pass; true when it held. A test waits for
// what it expects with this, never with a fixed sleep: it goes on as soon as the condition holds
// and fails after the deadline instead of passing by chance on a slow machine.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 5000);
// Runs the event loop for `ms`, to deliver what is already posted: for checking that nothing
// (more) arrives. To wait for something, WaitUntil it.
void Drain(int ms = 50);
